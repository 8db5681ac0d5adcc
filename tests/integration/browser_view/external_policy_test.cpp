// Which pages get window.external: the program's local pages and the pages
// of its service, not a page of another site reached from one of them.
#include "integration/library/loopback_server.h"
#include "platform/qt/qt_web_profile.h"
#include "view_fixture.h"

namespace tovlo::test {
namespace {

class ExternalPolicy : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        server.server.Get("/page.html", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("<body onload=\"if (window.external.calls) external.calls('t', 'served')\"></body>",
                            "text/html");
        });
        server.start();
    }
    void TearDown() override {
        setTrustedServiceHost("");
        ViewTest::TearDown();
    }
    // Whether the page shown has window.external.calls.
    bool pageHasCalls() {
        try {
            view->runScript("if (!window.external.calls) throw 'none'");
            return true;
        } catch (const ScriptError&) {
            return false;
        }
    }
    void open(const std::string& url) {
        view->navigate(url);
        ASSERT_TRUE(waitFor([&] { return view->location() == url; }));
        settle(300);
    }
    std::string host() const { return "127.0.0.1:" + std::to_string(server.port); }

    LoopbackServer server;
};

TEST_F(ExternalPolicy, OnlyLocalPagesAndTheServicesPagesReachTheProgram) {
    load("local.html", "");
    EXPECT_TRUE(pageHasCalls()) << "a local page";

    setTrustedServiceHost("other.example:81");
    open(server.url("/page.html"));
    EXPECT_FALSE(pageHasCalls()) << "a page of another site";
    EXPECT_TRUE(textsOf("t").size() == 1) << "it reached nothing";

    setTrustedServiceHost(host());
    open(server.url("/page.html"));
    ASSERT_TRUE(waitForCall("t", "served")) << "a page of the service";

    // The same page, once the service is another: its object is still there,
    // but the program refuses what it sends.
    setTrustedServiceHost("other.example:81");
    bool rejected = false;
    onCall = [&](const std::string&, const std::string& text) { rejected = text == "again"; };
    view->runScript("external.calls('t', 'again').catch(function (e) { document.title = 'refused'; })");
    settle(500);
    EXPECT_FALSE(rejected) << "the refused call reached the host";
    view->runScript("if (document.title !== 'refused') throw 'not refused'");
}

}  // namespace
}  // namespace tovlo::test

// The service's texts fetched while a command or a timer waits for them:
// the connection check, a class list, the server parameters, the version
// list and its news. Whatever the service does, the fetch ends within its
// limits, the windows go on meanwhile, and only the file that text is kept
// in changes.
#include <QTimer>

#include "core/functions.h"
#include "core/service.h"
#include "hostile_fixture.h"
#include "platform/nested_wait.h"
#include "run_events.h"
#include "update/update_check.h"

namespace tovlo::test {

namespace {

struct TextCase {
    const char* what;
    std::string body;
    Fault fault = Fault::none;
    bool resetting = false;
};

// Every way a service text can go wrong, around a body that would be fine.
std::vector<TextCase> textCases(const std::string& fine) {
    return {
        {"a fine text", fine},
        {"a text without end", fine, Fault::endless},
        {"a trickling text", fine, Fault::trickle},
        {"a text shorter than announced", fine, Fault::longer},
        {"a text cut in the middle", fine, Fault::cut},
        {"a server error", fine, Fault::serverError},
        {"one very long line", fine + hostile::longLine(900 * 1024)},
        {"a text longer than any text", hostile::longLine(3 * 1024 * 1024)},
        {"a text that is no GBK", hostile::notGbk() + fine},
        {"names that leave the folder", std::string("../../outside/x\0/etc/passwd||", 29) + fine},
        {"connections reset", fine, Fault::none, true},
    };
}

}  // namespace

// fetchUrlText gives the text or "" within its limits, the windows going on.
TEST_F(HostileTest, FetchedTextsEndWithinTheirLimits) {
    for (const TextCase& c : textCases("1")) {
        SCOPED_TRACE(c.what);
        service.serve("/soft/connect.html", c.body, c.fault);
        main.reset();
        start(c.resetting ? service.resettingHost() : service.host());
        const Tree before = treeOf(root.path());
        worstMs = 0;
        std::string text = "-";
        bool done = false;
        QTimer::singleShot(0, [&] {
            text = fetchUrlText(platform, serviceUrl(parm->serviceHost, "/soft/connect.html"));
            done = true;
        });
        ASSERT_TRUE(runProbing([&] { return done; }, 8000));
        EXPECT_LE(worstMs, kResponsiveMs) << "after: " << worstAfter;
        EXPECT_LE(static_cast<std::int64_t>(text.size()), limits::kTextBytes);
        if (c.fault != Fault::none || c.resetting) {
            EXPECT_EQ(text, "");
        }
        EXPECT_EQ(changedOutside(before, treeOf(root.path()), {}), std::vector<std::string>{});
    }
}

// "showMySelect": the account's class list is fetched into its own folder.
TEST_F(HostileTest, AClassListFromAHostileServiceStaysInTheAccountsFolder) {
    for (const TextCase& c : textCases("<html>classes</html>")) {
        SCOPED_TRACE(c.what);
        service.serve("/soft/myClass.asp", c.body, c.fault);
        main.reset();
        start(c.resetting ? service.resettingHost() : service.host());
        parm->userName = "demo";
        std::filesystem::remove_all(inApp("w/CustomFace/demo"));
        const Tree before = treeOf(root.path());
        worstMs = 0;
        bool done = false;
        QTimer::singleShot(0, [&] {
            main->callVb("showMySelect||-");
            done = true;
        });
        ASSERT_TRUE(runProbing([&] { return done; }, 8000));
        EXPECT_LE(worstMs, kResponsiveMs) << "after: " << worstAfter;
        EXPECT_EQ(changedOutside(before, treeOf(root.path()), {inApp("w/CustomFace/demo")}),
                  std::vector<std::string>{});
        // A list that did not arrive whole is not kept: the next showing asks again.
        const bool arrives =
            c.fault == Fault::none && !c.resetting && static_cast<std::int64_t>(c.body.size()) <= limits::kTextBytes;
        EXPECT_EQ(std::filesystem::exists(inApp("w/CustomFace/demo/myClass.html")), arrives);
        EXPECT_EQ(messages.shown.size(), arrives ? 0u : 1u);
        messages.shown.clear();
    }
}

// The server parameters: whatever comes, config.ini stays a file the program
// reads, and holds no line break inside a value.
TEST_F(HostileTest, ServerParametersFromAHostileServiceLeaveAReadableConfiguration) {
    const std::string fine = "isQQShow=false||faceHttpPath=http://127.0.0.1:1/soft/";
    std::vector<TextCase> cases = textCases(fine);
    cases.push_back({"a value with line breaks and a long line",
                     "isQQShow=false||faceHttpPath=http://x/\r\n[run]\r\nautoRun=true\r\n" + hostile::longLine(2000)});
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.what);
        service.serve("/soft/params.html", c.body, c.fault);
        main.reset();
        start(c.resetting ? service.resettingHost() : service.host());
        const Tree before = treeOf(root.path());
        worstMs = 0;
        main->Timer3().setEnabled(true);
        // Timer3 switches itself off as it starts, and its fetch holds a nested wait.
        ASSERT_TRUE(runProbing([&] { return !main->Timer3().enabled() && NestedWaits::depth() == 0; }, 8000));
        EXPECT_LE(worstMs, kResponsiveMs) << "after: " << worstAfter;
        EXPECT_EQ(changedOutside(before, treeOf(root.path()), {inApp("config.ini"), inApp("temp")}),
                  std::vector<std::string>{});
        IniCls ini(codec);
        ini.setINIFileName(inApp("config.ini"));
        EXPECT_EQ(ini.GetIniKey("run", "autoRun"), "") << "nothing but faceHttpPath is written";
        EXPECT_EQ(ini.GetIniKey("application", "ver"), "1.2");
        EXPECT_EQ(ini.GetIniKey("run", "showModel"), "normal");
    }
}

// The version list and the news of the update check.
TEST_F(HostileTest, TheUpdateCheckAgainstAHostileServiceOffersNothingOdd) {
    for (const TextCase& c : textCases("1.1-1.2-")) {
        SCOPED_TRACE(c.what);
        service.serve("/soft/update/update.txt", c.body, c.fault);
        service.serve("/soft/update/news.txt", c.body, c.fault);
        main.reset();
        start(c.resetting ? service.resettingHost() : service.host());
        parm->ver = "1.1";
        IniCls(codec).setINIFileName(inApp("config.ini"));
        parm->ini.WriteIniKey("run", "autoUpdate", "true");
        UpdateCheck check(platform, *parm, *debug, main->Timer3(), [] {});
        const Tree before = treeOf(root.path());
        worstMs = 0;
        bool done = false;
        QTimer::singleShot(0, [&] {
            check.run();
            done = true;
        });
        ASSERT_TRUE(runProbing([&] { return done; }, 8000));
        runProbing([] { return false; }, 400);  // the notice fills its news 200 ms later
        EXPECT_LE(worstMs, kResponsiveMs) << "after: " << worstAfter;
        EXPECT_EQ(changedOutside(before, treeOf(root.path()), {inApp("updateTemp"), inApp("temp")}),
                  std::vector<std::string>{});
        if (check.notice()) {
            EXPECT_EQ(check.notice()->ver, "1.2") << "only the list's next version is offered";
        }
        if (c.fault != Fault::none || c.resetting) {
            EXPECT_EQ(check.notice(), nullptr);
        }
    }
}

}  // namespace tovlo::test

// The update check on entering the main page, and its notice.
#include <gtest/gtest.h>

#include "core/debug_form.h"
#include "core/files.h"
#include "core/text.h"
#include "platform/fake/fake_platform.h"
#include "support/temp_dir.h"
#include "update/update_check.h"

namespace tovlo::test {

class UpdateCheckTest : public ::testing::Test {
protected:
    UpdateCheckTest() {
        parm.ini.setINIFileName(dir / "config.ini");
        parm.serviceHost = "svc";
        parm.ver = "1.0";
        parm.ini.WriteIniKey("run", "autoUpdate", "true");
        // The service's files, whatever stamp the request carries.
        fake.fetch.handler = [this](const std::string& url) -> std::optional<std::string> {
            auto it = service.find(url.substr(0, url.find('?')));
            if (it == service.end()) return std::nullopt;
            return it->second;
        };
        service["http://svc/soft/update/update.txt"] = "1.0-1.1-1.2-";
        service["http://svc/soft/update/news.txt"] =
            fake.codec.utf8ToAnsi("1.2 上传更快\r\n1.1 分类管理\r\n修正下载\r\n1.0 第一版");
        timer3->setEnabled(true);
    }
    FakeForm* notice() { return fake.forms.find("NeedUpdate"); }

    TempDir dir;
    FakePlatform fake;
    PublicParm parm{dir.path(), fake.codec};
    DebugForm debug{fake.platform};
    std::unique_ptr<Timer> timer3 = fake.loop.createTimer(1000, false);
    std::vector<std::string> events;
    std::map<std::string, std::string> service;
    UpdateCheck check{
        fake.platform, parm, debug, *timer3, [this] {
            events.push_back("program ended, updaters started: " + std::to_string(fake.processes.started.size()));
        }};
};

TEST_F(UpdateCheckTest, AnOlderVersionIsOfferedTheNextOneWithItsNews) {
    struct Row {
        const char* version;
        const char* offered;  // empty: no notice
    };
    for (const Row& row : {Row{"1.0", "1.1"}, Row{"1.1", "1.2"}, Row{"1.2", ""}, Row{"0.9", ""}}) {
        SCOPED_TRACE(row.version);
        parm.ver = row.version;
        check.run();
        EXPECT_FALSE(timer3->enabled()) << "the check switches Timer3 off first";
        EXPECT_TRUE(fileExists(dir / "updateTemp/update2.txt"));
        FakeForm* shown = notice();
        if (!*row.offered) {
            EXPECT_TRUE(shown == nullptr || !shown->visible);
            continue;
        }
        ASSERT_TRUE(shown && shown->visible);
        EXPECT_EQ(shown->title, "Tovlo需要升级");
        EXPECT_EQ(shown->labelNamed("Label1").value, "Tovlo需要升级？");
        EXPECT_EQ(shown->labelNamed("Label2").value, "更新到 ");
        EXPECT_EQ(shown->labelNamed("Label4").value, "....");
        EXPECT_EQ(shown->buttonNamed("Command1").caption, "立刻更新");
        EXPECT_EQ(shown->buttonNamed("Command2").caption, "以后再说");
        EXPECT_EQ(shown->views["WebBrowser1"].navigations, std::vector<std::string>{"about:blank"});
        EXPECT_EQ(shown->activations, 0) << "the notice leaves the focus where it is";

        fake.loop.advance(199);
        EXPECT_EQ(shown->labelNamed("Label4").value, "....");
        fake.loop.advance(1);
        EXPECT_EQ(shown->labelNamed("Label4").value, row.offered);
        ASSERT_EQ(shown->views["WebBrowser1"].scripts.size(), 1u);
        const std::string& written = shown->views["WebBrowser1"].scripts[0];
        // The service's HTML, as one script string ("<" written as \u003c).
        EXPECT_TRUE(contains(written, "\\u003cdiv style=\\'font-size:13px;\\'>" + std::string(row.offered)));
        EXPECT_TRUE(contains(written, "1.1 分类管理\\u003cbr />修正下载\\u003cbr />1.0 第一版\\u003c/div>"));
        EXPECT_EQ(contains(written, "1.2 上传更快"), std::string(row.offered) == "1.2");
        fake.loop.advance(1000);
        EXPECT_EQ(shown->views["WebBrowser1"].scripts.size(), 1u) << "the news is loaded once";
        shown->buttonNamed("Command2").click();
    }
}

TEST_F(UpdateCheckTest, OnlyTheExactTextTrueSwitchesTheCheckOn) {
    for (const char* value : {"true", "True", "TRUE", "1", "yes", "false", ""}) {
        SCOPED_TRACE(value);
        fake.fetch.requests.clear();
        parm.ini.WriteIniKey("run", "autoUpdate", value);
        check.run();
        EXPECT_EQ(fake.fetch.requests.size(), std::string(value) == "true" ? 1u : 0u);
    }
    // The list is asked for with the local date and time, encoded for the address.
    ASSERT_EQ(fake.fetch.requests.size(), 0u);
    parm.ini.WriteIniKey("run", "autoUpdate", "true");
    check.run();
    const std::string url = fake.fetch.requests.at(0);
    EXPECT_TRUE(startsWith(url, "http://svc/soft/update/update.txt?d=")) << url;
    EXPECT_EQ(url.find_first_of(" /:", std::string("http://svc/soft/update/update.txt?d=").size()), std::string::npos)
        << url;
}

TEST_F(UpdateCheckTest, UpdateNowStartsTheUpdaterWithTheOldVersionThenEndsTheProgram) {
    check.run();
    FakeForm* shown = notice();
    ASSERT_TRUE(shown);
    fake.processes.started.clear();
    shown->buttonNamed("Command1").click();
    EXPECT_EQ(events, (std::vector<std::string>{"program ended, updaters started: 1"}));
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].program, dir / "Kestrup.exe");
    EXPECT_EQ(fake.processes.started[0].argument, "1.0");
    EXPECT_FALSE(shown->visible);

    // An updater that cannot be started is reported, and the program runs on.
    events.clear();
    check.run();
    fake.processes.canStart = false;
    notice()->buttonNamed("Command1").click();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(contains(fake.messages.shown[0].text, "Kestrup.exe"));
    EXPECT_TRUE(events.empty());
}

TEST_F(UpdateCheckTest, LaterClosesTheNoticeAndTheNextCheckAsksAgain) {
    check.run();
    notice()->buttonNamed("Command2").click();
    EXPECT_FALSE(notice()->visible);
    EXPECT_TRUE(fake.processes.started.empty());
    EXPECT_TRUE(events.empty());
    check.run();
    fake.loop.advance(1);
    ASSERT_TRUE(notice());
    EXPECT_TRUE(notice()->visible);
    EXPECT_EQ(fake.forms.living.count("NeedUpdate"), 1u);
}

// A check that runs while the notice fetches its news (a command the news
// wait lets through) replaces the notice without pulling it from under
// its own wait.
TEST_F(UpdateCheckTest, ANoticeReplacedDuringItsNewsFetchEndsItsWaitFirst) {
    check.run();
    const auto serve = fake.fetch.handler;
    bool again = true;
    fake.fetch.handler = [&](const std::string& url) {
        if (contains(url, "news.txt") && std::exchange(again, false)) check.run();
        return serve(url);
    };
    fake.loop.advance(NeedUpdate::kNewsDelayMs);
    fake.loop.advance(NeedUpdate::kNewsDelayMs);
    EXPECT_EQ(fake.forms.living.count("NeedUpdate"), 1u);
    ASSERT_TRUE(notice());
    EXPECT_TRUE(notice()->visible);
}

TEST_F(UpdateCheckTest, ADeliveredUpdaterReplacesTheInstalledOneEvenWithUpdatingOff) {
    parm.ini.WriteIniKey("run", "autoUpdate", "false");
    writeBytes(dir / "Kestrup.exe", "old updater");
    writeBytes(dir / "Kestrup_updateSelf.exe", "new updater");
    check.run();
    EXPECT_EQ(readFileBytes(dir / "Kestrup.exe"), "new updater");
    EXPECT_FALSE(fileExists(dir / "Kestrup_updateSelf.exe"));
    check.run();
    EXPECT_EQ(readFileBytes(dir / "Kestrup.exe"), "new updater");

    // No installed updater yet: the delivered one is simply put in place,
    // and the version check still runs.
    std::filesystem::remove(dir / "Kestrup.exe");
    writeBytes(dir / "Kestrup_updateSelf.exe", "newer updater");
    parm.ini.WriteIniKey("run", "autoUpdate", "true");
    check.run();
    EXPECT_EQ(readFileBytes(dir / "Kestrup.exe"), "newer updater");
    ASSERT_TRUE(notice());
}

TEST_F(UpdateCheckTest, NoNoticeWhenTheListCannotBeFetched) {
    service.clear();
    check.run();
    EXPECT_EQ(notice(), nullptr);
    EXPECT_TRUE(fake.messages.shown.empty());
}

}  // namespace tovlo::test

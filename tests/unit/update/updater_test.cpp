// The updater program: one version on per run, on the fake platform.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/files.h"
#include "core/text.h"
#include "core/urls.h"
#include "platform/fake/fake_async_url_read.h"
#include "platform/fake/fake_platform.h"
#include "support/temp_dir.h"
#include "updater/updater_form.h"

namespace tovlo::test {

class UpdaterTest : public ::testing::Test {
protected:
    UpdaterTest() {
        // The service's files, whatever stamp the request carries.
        auto stripped = [](const std::string& url) { return url.substr(0, url.find('?')); };
        fake.fetch.handler = [this, stripped](const std::string& url) -> std::optional<std::string> {
            auto it = service.find(stripped(url));
            if (it == service.end()) return std::nullopt;
            return it->second;
        };
        net.handler = [this, stripped](const std::string& url) -> std::optional<FakeAnswer> {
            auto it = service.find(stripped(url));
            if (it == service.end()) return FakeAnswer{"", kReadError};
            return FakeAnswer{it->second};
        };
        service["http://svc/soft/update/update.txt"] = "1.0-1.1-1.2-";
        version("1.1", {{"w/main.html", "<p>1.1</p>"}, {"updateAft__exe.txt", "#!/bin/sh\n"}});
        version("1.2", {{"w/main.html", "<p>1.2</p>"},
                        {"Kestrup_updateSelf__exe.txt", "new updater"},
                        {"docs/新功能.txt", "说明"}});
    }
    void version(const std::string& v, const std::vector<std::pair<std::string, std::string>>& files) {
        std::string urls;
        for (const auto& [path, bytes] : files) {
            service["http://svc/soft/update/" + v + "/" + servicePath(path)] = bytes;
            urls += (urls.empty() ? "" : "--") + path;
        }
        service["http://svc/soft/update/" + v + "/urls.txt"] = fake.codec.utf8ToAnsi(urls);
    }
    void start(const std::string& commandLine) {
        form = std::make_unique<UpdaterForm>(
            UpdaterDeps{fake.loop, fake.fetch, fake.codec, fake.messages, fake.processes, fake.forms, net}, dir.path(),
            "svc", commandLine);
    }
    FakeForm& window() { return *fake.forms.find("Form1"); }
    std::vector<std::string> lines() { return window().lists["List1"].items; }

    TempDir dir;
    FakePlatform fake;
    FakeNetwork net{fake.loop};
    std::map<std::string, std::string> service;
    std::unique_ptr<UpdaterForm> form;
};

TEST_F(UpdaterTest, OneRunInstallsTheNextVersionAndHandsOver) {
    writeBytes(dir / "w/main.html", "<p>1.0</p>");
    start("1.1");
    FakeForm& shown = window();
    EXPECT_TRUE(shown.visible);
    EXPECT_EQ(shown.title, "Tovlo更新程序..");
    EXPECT_EQ(shown.labels["Label1"].value, "升级程序正在初始化....");
    EXPECT_EQ(shown.labels["Label2"].value, "总共文件进度");
    EXPECT_EQ(shown.labels["Label3"].value, "当前文件进度");
    EXPECT_EQ(shown.labels["Label4"].value, "详细内容：");
    fake.loop.advance(499);
    EXPECT_TRUE(fake.fetch.requests.empty());
    fake.loop.advance(1);
    EXPECT_EQ(shown.labels["Label1"].value, "正在更新到 1.2");
    EXPECT_EQ(form->fileCount(), 3);
    EXPECT_EQ(readFileBytes(dir / "w/main.html"), "<p>1.0</p>") << "the old file stays until the new one is whole";
    fake.loop.advance(100);

    EXPECT_EQ(readFileBytes(dir / "w/main.html"), "<p>1.2</p>");
    EXPECT_EQ(readFileBytes(dir / "Kestrup_updateSelf.exe"), "new updater");
    EXPECT_EQ(readFileBytes(dir / "docs/新功能.txt"), "说明");
    const auto perms = std::filesystem::status(dir / "Kestrup_updateSelf.exe").permissions();
    EXPECT_NE(perms & std::filesystem::perms::owner_exec, std::filesystem::perms::none) << "a delivered program runs";
    EXPECT_EQ(lines(), (std::vector<std::string>{"成功:" + nativePath("/w/main.html"),
                                                 "成功:" + nativePath("/Kestrup_updateSelf.exe"),
                                                 "成功:" + nativePath("/docs/新功能.txt")}));
    EXPECT_EQ(shown.bars["ProgressBar1"].percent, 100);
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].program, dir / "updateAft.exe");
    EXPECT_EQ(fake.processes.started[0].argument, "1.2");
    EXPECT_TRUE(form->ended());
    EXPECT_TRUE(fake.loop.quitRequested);
    EXPECT_FALSE(shown.visible);
    EXPECT_TRUE(fileExists(dir / "updateTemp/update.txt"));
    EXPECT_EQ(readFileBytes(dir / "updateTemp/urls.txt"),
              fake.codec.utf8ToAnsi("w/main.html--Kestrup_updateSelf__exe.txt--docs/新功能.txt"));
}

TEST_F(UpdaterTest, AtTheNewestVersionItReportsSuccessAndStartsTovlo) {
    start("1.2");
    fake.loop.advance(500);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "更新成功！");
    EXPECT_EQ(fake.messages.shown[0].title, "Tovlo更新程序");
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].program, dir / "Tovlo.exe");
    EXPECT_EQ(fake.processes.started[0].argument, "1.2");
    EXPECT_TRUE(form->ended());
    EXPECT_TRUE(net.starts.empty());
}

TEST_F(UpdaterTest, FilesFinishingInAnyOrderAreCountedAndOnlyTheLastHandsOver) {
    net.handler = nullptr;
    net.manual = true;
    start("1.1");
    fake.loop.advance(500);
    ASSERT_EQ(net.running().size(), 3u);
    const std::vector<std::string> tags = net.running();
    ASSERT_TRUE(net.progress(tags[2], 5, 10, kReadReceiving));
    EXPECT_EQ(window().bars["ProgressBar2"].percent, 50);
    ASSERT_TRUE(net.progress(tags[2], 5, 0, kReadReceiving));
    EXPECT_EQ(window().bars["ProgressBar2"].percent, 50) << "an unknown size leaves the bar";
    net.finish(tags[2], kReadEndOfData, "c");
    EXPECT_EQ(window().bars["ProgressBar1"].percent, 33);
    net.finish(tags[0], kReadEndOfData, "a");
    EXPECT_EQ(window().bars["ProgressBar1"].percent, 66);
    EXPECT_TRUE(fake.processes.started.empty());
    net.finish(tags[1], kReadEndOfData, "b");
    EXPECT_EQ(window().bars["ProgressBar1"].percent, 100);
    ASSERT_EQ(fake.processes.started.size(), 1u);
    EXPECT_EQ(fake.processes.started[0].argument, "1.2");
}

TEST_F(UpdaterTest, AFailedFileKeepsTheOldOneAndStopsBeforeTheHandOver) {
    writeBytes(dir / "Kestrup_updateSelf.exe", "old");
    service.erase("http://svc/soft/update/1.2/Kestrup_updateSelf__exe.txt");
    start("1.1");
    fake.loop.advance(600);
    EXPECT_EQ(readFileBytes(dir / "Kestrup_updateSelf.exe"), "old");
    EXPECT_EQ(readFileBytes(dir / "w/main.html"), "<p>1.2</p>");
    EXPECT_TRUE(fake.processes.started.empty());
    EXPECT_FALSE(form->ended());
    EXPECT_TRUE(window().visible);
    EXPECT_EQ(window().labels["Label1"].value, "更新到 1.2 没有完成");
    const auto shown = lines();
    EXPECT_NE(std::find(shown.begin(), shown.end(), "失败:" + nativePath("/Kestrup_updateSelf.exe")), shown.end());
    EXPECT_EQ(window().bars["ProgressBar1"].percent, 66);
}

TEST_F(UpdaterTest, AListWithAnEntryOutsideTheProgramFolderInstallsNothing) {
    // "w/__.txt" would be installed as "w/." (the folder itself).
    for (const char* bad : {"../outside.txt", "w/../../outside.txt", "/tmp/outside.txt", "w/__.txt"}) {
        SCOPED_TRACE(bad);
        fake.forms.living.clear();
        net.starts.clear();
        service["http://svc/soft/update/1.2/urls.txt"] = std::string("w/main.html--") + bad;
        start("1.1");
        fake.loop.advance(600);
        EXPECT_TRUE(net.starts.empty());
        EXPECT_FALSE(fileExists(dir / "w/main.html"));
        EXPECT_FALSE(form->ended());
        EXPECT_EQ(window().labels["Label1"].value, "更新到 1.2 已停止");
        EXPECT_TRUE(contains(lines().back(), bad));
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir.path()).parent_path() / "outside.txt"));
}

TEST_F(UpdaterTest, AVersionTheListDoesNotNameOrAMissingListLeavesTheFolderAlone) {
    struct Row {
        const char* commandLine;
        bool listServed;
        const char* label;
    };
    for (const Row& row : {Row{"0.9", true, "找不到要更新的版本"}, Row{"", true, "找不到要更新的版本"},
                           Row{"1.1", false, "升级程序正在初始化...."}}) {
        SCOPED_TRACE(row.commandLine);
        if (!row.listServed) service.erase("http://svc/soft/update/update.txt");
        fake.forms.living.clear();
        start(row.commandLine);
        fake.loop.advance(600);
        EXPECT_TRUE(net.starts.empty());
        EXPECT_TRUE(fake.processes.started.empty());
        EXPECT_FALSE(form->ended());
        EXPECT_EQ(window().labels["Label1"].value, row.label);
        EXPECT_EQ(window().lists["List1"].count(), 1) << "one line says why";
    }
}

TEST_F(UpdaterTest, TheListFollowsItsNewestLineAndClosingEndsTheProgram) {
    start("1.1");
    fake.loop.advance(600);
    start("0.9");
    fake.loop.advance(600);
    EXPECT_EQ(window().lists["List1"].selected, 0);
    window().onClosed();
    EXPECT_TRUE(form->ended());
    EXPECT_TRUE(fake.loop.quitRequested);
}

// The window closed while a list is fetched ends the run: nothing is
// downloaded or started (at the newest version Tovlo would start).
TEST_F(UpdaterTest, ClosingDuringAListFetchEndsTheRun) {
    for (const char* version : {"1.2", "1.1"}) {
        const auto serve = fake.fetch.handler;
        fake.fetch.handler = [&](const std::string& url) {
            window().onClosed();
            return serve(url);
        };
        start(version);
        fake.loop.advance(600);
        fake.fetch.handler = serve;
        EXPECT_TRUE(fake.processes.started.empty() && net.starts.empty() && fake.messages.shown.empty()) << version;
    }
}

}  // namespace tovlo::test

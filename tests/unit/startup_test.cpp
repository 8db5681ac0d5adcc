#include <gtest/gtest.h>

#include <filesystem>

#include "core/service.h"
#include "core/startup.h"
#include "platform/fake/fake_platform.h"
#include "platform/part_file.h"
#include "support/temp_dir.h"

using namespace tovlo;
using test::nativePath;
using test::readBytes;
using test::writeBytes;

namespace {

struct StartUpTest : ::testing::Test {
    test::TempDir dir;
    FakePlatform fake;
    PublicParm parm{dir.path(), fake.codec};
    DebugForm debug{fake.platform};
    std::vector<std::string> logged;
    std::string loggedIn;
    std::string config = dir / "config.ini";

    void SetUp() override {
        debug.setEcho([this](const std::string& line) { logged.push_back(line); });
    }
    void run() {
        startUp(parm, fake.platform, debug, [&](const std::string& n) { loggedIn = n; });
    }
    std::string key(const std::string& section, const std::string& k) { return parm.ini.GetIniKey(section, k); }
    // Whether the key line is present in the file at all (empty values too).
    bool hasLine(const std::string& line) { return readBytes(config).find(line + "\r\n") != std::string::npos; }

    static constexpr const char* kOldPage =
        "<div onmousemove=\"showImg(path+\"/\"+y+\"-\"+x+\".gif\")\"></div>\n"
        "<script>function showImg(s){}; showImg(src); showImg(src);</script>\n";
    static constexpr const char* kNewPage =
        "<div onmousemove=\"showImg(path+\"/\"+y+\"-\"+x+\".gif\",e.offsetX+20,e.offsetY+113)\"></div>\n"
        "<script>function showImg(s){}; showImg(src,x,y); showImg(src,x,y);</script>\n";
};

}  // namespace

TEST_F(StartUpTest, FirstStartWithEmptyConfigurationWritesEveryDefault) {
    writeBytes(config, "[application]\r\nserviceHost=127.0.0.1:9\r\n");
    run();
    EXPECT_TRUE(hasLine("facePath="));
    EXPECT_EQ(key("run", "historyNub"), "16");
    EXPECT_EQ(key("run", "hotKey"), "Ctrl+Alt+E");
    EXPECT_TRUE(hasLine("autoLoginName="));
    EXPECT_EQ(key("run", "faceHttpPath"), "http://127.0.0.1:9/soft/");
    EXPECT_EQ(key("run", "updateFaseMainhtml"), "1");
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[0].text, "新版本做些必要的打扫处理！开始...");
    EXPECT_EQ(fake.messages.shown[1].text, "成功！");

    EXPECT_EQ(parm.facePath, dir / "w");
    EXPECT_EQ(parm.historyNub, "16");
    EXPECT_EQ(parm.userName, "");
    EXPECT_EQ(loggedIn, "");
    EXPECT_FALSE(parm.isDebug);
    EXPECT_FALSE(parm.keepMainVisible);
    EXPECT_EQ(parm.faceHttpPath, "http://127.0.0.1:9/soft/");
}

TEST_F(StartUpTest, SecondStartKeepsValuesAndSkipsTheCleanUp) {
    writeBytes(config,
               "[run]\r\ndebug=true\r\nshowModel=normal\r\nautorun=true\r\nfacePath=/data/faces\r\n"
               "historyNub=24\r\nhotKey=none\r\nautoLoginName=tom\r\nfaceHttpPath=http://elsewhere/x/\r\n"
               "updateFaseMainhtml=1\r\n");
    run();
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_TRUE(parm.isDebug);
    EXPECT_EQ(parm.showModel, "normal");
    EXPECT_EQ(parm.autorun, "true");
    EXPECT_EQ(parm.facePath, "/data/faces");
    EXPECT_EQ(parm.historyNub, "24");
    EXPECT_EQ(parm.hotKey, "none");
    EXPECT_EQ(parm.autoLoginName, "tom");
    EXPECT_EQ(loggedIn, "tom") << "automatic login goes through the main window's setter";
    EXPECT_EQ(parm.serviceHost, kDefaultServiceHost);
    EXPECT_EQ(parm.faceHttpPath, std::string("http://") + kDefaultServiceHost + "/soft/")
        << "the stored faceHttpPath never seeds the parameter";
    EXPECT_EQ(key("run", "faceHttpPath"), "http://elsewhere/x/") << "an existing value is kept";
}

// The remembered account becomes a folder name: only a name that a login
// would accept logs in.
TEST_F(StartUpTest, AutomaticLoginTakesOnlyAUsableAccountName) {
    const std::pair<const char*, const char*> rows[] = {
        {"demo", "demo"}, {"张三", "张三"}, {"..", ""}, {"../other", ""}, {"a/b", ""}, {".", ""},
    };
    for (const auto& [stored, user] : rows) {
        loggedIn.clear();
        writeBytes(config, "[run]\r\nupdateFaseMainhtml=1\r\nautoLoginName=" + fake.codec.utf8ToAnsi(stored) + "\r\n");
        run();
        EXPECT_EQ(loggedIn, user) << stored;
    }
}

TEST_F(StartUpTest, BottomBarModeLastsForThisRunOnly) {
    for (const char* mode : {"buttom", "buttom2", "buttom3"}) {
        writeBytes(config, std::string("[run]\r\nupdateFaseMainhtml=1\r\nshowModel=") + mode + "\r\n");
        run();
        EXPECT_EQ(parm.showModel, mode);
        EXPECT_EQ(key("run", "showModel"), "fQQ");
    }
    writeBytes(config, "[run]\r\nupdateFaseMainhtml=1\r\nshowModel=normal\r\n");
    run();
    EXPECT_EQ(key("run", "showModel"), "normal");
}

TEST_F(StartUpTest, DebugValuesOtherThanTrueMeanOff) {
    for (const char* v : {"", "false", "TRUE", "1"}) {
        writeBytes(config, std::string("[run]\r\nupdateFaseMainhtml=1\r\ndebug=") + v + "\r\n");
        run();
        EXPECT_FALSE(parm.isDebug) << v;
    }
}

TEST_F(StartUpTest, CleanUpPatchesEveryPackPageOfTheDefaultFolderOnce) {
    writeBytes(dir / "w/flowers/main.html", kOldPage);
    writeBytes(dir / "w/cats/main.html", "no preview call here");
    writeBytes(dir / "w/empty/readme.txt", "x");
    writeBytes(config, "[run]\r\n");
    std::vector<std::string> pagesAtFirstMessage;
    fake.messages.onShow = [&](const std::string&) {
        pagesAtFirstMessage.push_back(readBytes(dir / "w/flowers/main.html"));
    };
    run();
    EXPECT_EQ(readBytes(dir / "w/flowers/main.html"), kNewPage);
    EXPECT_EQ(readBytes(dir / "w/cats/main.html"), "no preview call here");
    EXPECT_FALSE(std::filesystem::exists(dir / "w/empty/main.html"));
    ASSERT_EQ(pagesAtFirstMessage.size(), 2u);
    EXPECT_EQ(pagesAtFirstMessage[0], kOldPage) << "the first message comes before the patch";
    EXPECT_EQ(pagesAtFirstMessage[1], kNewPage) << "the second after it";
}

// The clean-up works on the page's bytes: what is not one of its two ASCII
// texts stays byte for byte, also bytes that are no GBK text, and a page
// that cannot be written is left whole while the others and the start go on.
TEST_F(StartUpTest, CleanUpKeepsEveryOtherByteAndSkipsAPageItCannotWrite) {
    const std::string gbkTitle = "<title>\xB1\xED\xC7\xE9</title>";  // 表情
    const std::string notGbk = "\xFF\x80\x01";
    // A lead byte followed by 's' is one character: "howImg(src)" after it is no call.
    const std::string lookalike = "\xB0showImg(src)";
    struct Row {
        const char* folder;
        std::string before, after;
    };
    const Row rows[] = {
        {"a", gbkTitle + kOldPage + notGbk, gbkTitle + kNewPage + notGbk},
        {"b", lookalike, lookalike},
        {"c", notGbk + "showImg(src)", notGbk + "showImg(src,x,y)"},
        {"locked", kOldPage, kOldPage},
    };
    for (const Row& row : rows) writeBytes(dir / ("w/" + std::string(row.folder) + "/main.html"), row.before);
    // The new page cannot be written beside the old one: each of the next
    // names a write may take there is a folder.
    const std::string taken = partFileOf(dir / "w/locked/main.html");
    const std::string stem = taken.substr(0, taken.rfind('-') + 1);
    const int last = std::stoi(taken.substr(stem.size()));
    for (int n = last + 1; n <= last + 50; ++n) std::filesystem::create_directories(stem + std::to_string(n));
    writeBytes(config, "[run]\r\n");
    run();
    for (const Row& row : rows)
        EXPECT_EQ(readBytes(dir / ("w/" + std::string(row.folder) + "/main.html")), row.after) << row.folder;
    EXPECT_EQ(key("run", "updateFaseMainhtml"), "1");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_NE(logged[0].find(nativePath("w/locked")), std::string::npos) << logged[0];
}

TEST_F(StartUpTest, CleanUpAlsoVisitsAMovedFaceFolder) {
    test::TempDir faces;
    writeBytes(dir / "w/a/main.html", kOldPage);
    writeBytes(faces / "b/main.html", kOldPage);
    writeBytes(config, "[run]\r\nfacePath=" + faces.path() + "\r\n");
    run();
    EXPECT_EQ(readBytes(dir / "w/a/main.html"), kNewPage);
    EXPECT_EQ(readBytes(faces / "b/main.html"), kNewPage);
}

TEST_F(StartUpTest, CleanUpWithFacePathEqualToTheDefaultPatchesOnlyOnce) {
    // A second patch would find nothing more to replace, so count the writes.
    writeBytes(dir / "w/a/main.html", kOldPage);
    writeBytes(config, "[run]\r\nfacePath=" + (dir / "w") + "\r\n");
    // An hour back: file times may count whole seconds only.
    const auto before = std::filesystem::last_write_time(dir / "w/a/main.html") - std::chrono::hours(1);
    std::filesystem::last_write_time(dir / "w/a/main.html", before);
    run();
    EXPECT_EQ(readBytes(dir / "w/a/main.html"), kNewPage);
    EXPECT_NE(std::filesystem::last_write_time(dir / "w/a/main.html"), before);
    EXPECT_EQ(parm.facePath, dir / "w");
}

TEST_F(StartUpTest, CleanUpWithoutFaceFolderStillFinishes) {
    writeBytes(config, "");
    run();
    EXPECT_EQ(key("run", "updateFaseMainhtml"), "1");
}

TEST_F(StartUpTest, VersionComesFromTheCommandLineAndIsStored) {
    writeBytes(config, "[application]\r\nname=Tovlo\r\nver=1.0\r\n[run]\r\nupdateFaseMainhtml=1\r\n");
    run();
    takeVersion(parm, "2.3");
    EXPECT_EQ(parm.ver, "2.3");
    EXPECT_EQ(key("application", "ver"), "2.3");
    EXPECT_EQ(trayTipText(parm), "Tovlo2.3");

    PublicParm next(dir.path(), fake.codec);
    startUp(next, fake.platform, debug, [](const std::string&) {});
    takeVersion(next, "");
    EXPECT_EQ(next.ver, "2.3") << "the next start without arguments reads the stored version";
}

TEST_F(StartUpTest, VersionIsTheWholeCommandLine) {
    writeBytes(config, "[run]\r\nupdateFaseMainhtml=1\r\n");
    run();
    takeVersion(parm, "2.3 beta");
    EXPECT_EQ(parm.ver, "2.3 beta");
    EXPECT_EQ(key("application", "ver"), "2.3 beta");
}

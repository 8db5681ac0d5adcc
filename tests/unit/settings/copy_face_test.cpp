// Copying a face class from the default face folder into the moved one.
#include <gtest/gtest.h>

#include "core/files.h"
#include "core/text.h"
#include "platform/fake/fake_auto_start.h"
#include "platform/fake/fake_folder_dialog.h"
#include "platform/fake/fake_platform.h"
#include "settings/settings_windows.h"
#include "support/temp_dir.h"

namespace tovlo::test {

class CopyFaceTest : public ::testing::Test {
protected:
    CopyFaceTest() {
        parm.facePath = dir / "moved";
        std::filesystem::create_directories(parm.facePath);
        parm.keepMainVisible = true;  // as the trigger leaves it
    }
    // A class of the default folder with n pictures and its version marker.
    void makeClass(const std::string& name, int pictures) {
        for (int i = 0; i < pictures; ++i)
            writeBytes(dir / ("w/" + name + "/f" + std::to_string(i) + ".gif"), "p" + std::to_string(i));
        writeBytes(dir / ("w/" + name + "/ver-3.txt"), "3");
    }
    FakeForm* window() { return fake.forms.find("copyFace"); }

    TempDir dir;
    FakePlatform fake;
    PublicParm parm{dir.path(), fake.codec};
    FakeFolderDialog folders;
    FakeAutoStart autoStart;
    std::vector<std::string> events;
    SettingsWindows windows{
        SettingsDeps{fake.platform, parm, folders, autoStart, dir / "Tovlo.exe"},
        FaceCopyHost{[this](const std::string& c) {
                         events.push_back(
                             "show class " + c +
                             (fileExists(parm.facePath + "/" + c + "/ver-3.txt") ? " (complete)" : " (incomplete)"));
                     },
                     [this] { events.push_back("main window shown"); }}};
};

TEST_F(CopyFaceTest, AClassOf500FilesIsCopiedInStepsThenShown) {
    makeClass("hot", 499);
    writeBytes(dir / "w/hot/.hidden", "h");
    writeBytes(dir / "w/hot/sub/inner.gif", "s");
    windows.openFaceCopy("hot");
    FakeForm* shown = window();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->visible);
    EXPECT_EQ(shown->title, "复制现有表情");
    EXPECT_EQ(shown->labels["Label1"].value, "复制进度.....");

    fake.loop.advance(249);
    EXPECT_FALSE(folderExists(parm.facePath + "/hot")) << "the copy starts 250 ms after the window shows";
    fake.loop.advance(1);
    const int firstStep = shown->bars["ProgressBar1"].percent;
    EXPECT_GT(firstStep, 0);
    EXPECT_LT(firstStep, 100) << "the bar moves while the copy runs";
    EXPECT_TRUE(events.empty());
    fake.loop.advance(100);

    EXPECT_EQ(plainFileNames(parm.facePath + "/hot").size(), 500u);
    EXPECT_EQ(readFileBytes(parm.facePath + "/hot/f498.gif"), "p498");
    EXPECT_FALSE(fileExists(parm.facePath + "/hot/.hidden"));
    EXPECT_FALSE(folderExists(parm.facePath + "/hot/sub")) << "only the class's plain files are copied";
    EXPECT_TRUE(fileExists(dir / "w/hot/f0.gif")) << "a copy, not a move";
    EXPECT_EQ(events, (std::vector<std::string>{"show class hot (complete)", "main window shown"}));
    EXPECT_FALSE(parm.keepMainVisible);
    EXPECT_EQ(windows.copiesRunning(), 0u);
    fake.loop.advance(1);
    EXPECT_EQ(window(), nullptr) << "the window is gone after the copy";
}

TEST_F(CopyFaceTest, APartlyCopiedFolderIsReusedAndOverwritten) {
    makeClass("hot", 3);
    writeBytes(dir / "moved/hot/f1.gif", "half");
    writeBytes(dir / "moved/hot/theirs.gif", "kept");
    windows.openFaceCopy("hot");
    fake.loop.advance(250);  // four files: one step
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(readFileBytes(dir / "moved/hot/f1.gif"), "p1");
    EXPECT_EQ(readFileBytes(dir / "moved/hot/theirs.gif"), "kept");
    EXPECT_EQ(window()->bars["ProgressBar1"].percent, 100);
    EXPECT_EQ(events.front(), "show class hot (complete)");
}

TEST_F(CopyFaceTest, AFailedCopyTellsTheUserAndLeavesTheClassUnshown) {
    struct Row {
        const char* name;
        std::function<void()> breakIt;
        const char* says;
    };
    const Row rows[] = {
        {"the face folder is gone", [this] { std::filesystem::remove_all(parm.facePath); }, "不存在"},
        {"a file is in the class folder's way", [this] { writeBytes(parm.facePath + "/hot", "x"); },
         "无法在表情存放目录里建立文件夹"},
        // A name after the marker's: the marker still is not copied.
        {"a picture cannot be written", [this] { std::filesystem::create_directories(parm.facePath + "/hot/x1.gif"); },
         "复制表情“x1.gif”"},
    };
    makeClass("hot", 40);
    writeBytes(dir / "w/hot/x1.gif", "x");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(parm.facePath);
        std::filesystem::create_directories(parm.facePath);
        row.breakIt();
        fake.messages.shown.clear();
        events.clear();
        parm.keepMainVisible = true;
        windows.openFaceCopy("hot");
        fake.loop.advance(400);
        ASSERT_EQ(fake.messages.shown.size(), 1u);
        EXPECT_TRUE(contains(fake.messages.shown[0].text, row.says)) << fake.messages.shown[0].text;
        EXPECT_EQ(fake.messages.shown[0].title, "复制现有表情");
        EXPECT_TRUE(events.empty()) << "the class is not switched";
        EXPECT_FALSE(parm.keepMainVisible);
        EXPECT_EQ(window(), nullptr);
        EXPECT_FALSE(fileExists(parm.facePath + "/hot/ver-3.txt"))
            << "without its marker the class is copied again next time";
    }
}

TEST_F(CopyFaceTest, AClassBeingCopiedIsNotCopiedTwice) {
    makeClass("hot", 200);
    makeClass("cool", 2);
    windows.openFaceCopy("hot");
    fake.loop.advance(250);
    windows.openFaceCopy("hot");
    windows.openFaceCopy("cool");
    EXPECT_EQ(windows.copiesRunning(), 2u) << "another class copies beside it";
    fake.loop.advance(1000);
    EXPECT_EQ(std::count(events.begin(), events.end(), "show class hot (complete)"), 1);
    EXPECT_EQ(windows.copiesRunning(), 0u);
}

TEST_F(CopyFaceTest, ClosingTheWindowHalfwayStopsTheCopy) {
    makeClass("hot", 200);
    windows.openFaceCopy("hot");
    fake.loop.advance(250);
    window()->onClosed();
    fake.loop.advance(100);
    EXPECT_LT(plainFileNames(parm.facePath + "/hot").size(), 200u);
    EXPECT_FALSE(fileExists(parm.facePath + "/hot/ver-3.txt"));
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(window(), nullptr);
}

}  // namespace tovlo::test

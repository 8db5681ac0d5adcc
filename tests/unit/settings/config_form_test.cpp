// The settings dialog: what it shows, what saving writes and puts in use,
// and the face folders it refuses.
#include <gtest/gtest.h>

#include "core/files.h"
#include "core/text.h"
#include "platform/fake/fake_auto_start.h"
#include "platform/fake/fake_folder_dialog.h"
#include "platform/fake/fake_platform.h"
#include "settings/settings_windows.h"
#include "support/temp_dir.h"

namespace tovlo::test {

class ConfigFormTest : public ::testing::Test {
protected:
    ConfigFormTest() {
        parm.ini.setINIFileName(dir / "config.ini");
        writeBytes(dir / "w/cell.gif", "GIF89a-cell");
        parm.autorun = "true";
        parm.showModel = "fQQ";
        parm.facePath = dir / "w";
        parm.historyNub = "16";
    }
    ConfigForm& open() {
        windows.openSettings();
        return *windows.settings();
    }
    std::string fileText() { return readFileBytes(dir / "config.ini").value_or(""); }
    std::string written(const char* key) { return parm.ini.GetIniKey("run", key); }

    TempDir dir;
    FakePlatform fake;
    PublicParm parm{dir.path(), fake.codec};
    FakeFolderDialog folders;
    FakeAutoStart autoStart;
    std::vector<std::string> shownClasses;
    // The hot keys the desktop gave; one it refuses, as another program holds it.
    std::vector<std::string> boundKeys;
    SettingsWindows windows{SettingsDeps{fake.platform, parm, folders, autoStart, dir / "Tovlo.exe",
                                         [this](const std::string& keys) {
                                             if (keys == "Ctrl+Alt+P") return false;
                                             boundKeys.push_back(keys);
                                             return true;
                                         }},
                            FaceCopyHost{[this](const std::string& c) { shownClasses.push_back(c); }, [] {}}};
};

TEST_F(ConfigFormTest, OpensWithTheSettingsInUse) {
    struct Row {
        const char* autorun;
        const char* showModel;
        const char* historyNub;
        bool option1, option7, option3;
        int historyIndex;
    };
    const Row rows[] = {
        {"true", "normal", "16", true, true, false, 0},
        {"", "fQQ", "28", true, false, true, 3},             // anything but "false" means on
        {"false", "buttom2", "20", false, false, false, 1},  // a mode the dialog does not offer
        {"FALSE", "fQQ", "30", true, false, true, -1},       // a count it does not offer
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.autorun) + "/" + row.showModel + "/" + row.historyNub);
        parm.autorun = row.autorun;
        parm.showModel = row.showModel;
        parm.historyNub = row.historyNub;
        parm.facePath = "/data/表情";
        ConfigForm& f = open();
        EXPECT_EQ(f.Option1().isChecked(), row.option1);
        EXPECT_EQ(f.Option2().isChecked(), !row.option1);
        EXPECT_EQ(f.Option7().isChecked(), row.option7);
        EXPECT_EQ(f.Option3().isChecked(), row.option3);
        EXPECT_EQ(f.facePath_text().text(), "/data/表情");
        EXPECT_EQ(f.historyNub().selectedIndex(), row.historyIndex);
        f.Command2().onClick();
        fake.loop.advance(1);
        EXPECT_EQ(windows.settings(), nullptr) << "放弃 unloads the dialog";
    }
    EXPECT_EQ(fileText(), "") << "opening and discarding writes nothing";
}

TEST_F(ConfigFormTest, TheDialogHasItsTabsCaptionsAndCounts) {
    ConfigForm& f = open();
    auto& form = static_cast<FakeForm&>(f.form());
    EXPECT_EQ(form.title, "配置");
    ASSERT_EQ(form.tabPages.size(), 2u);
    FakeForm& basic = *form.tabPages.at("基本配置");
    EXPECT_EQ(basic.groups.at("Frame1")->title, "开机运行");
    EXPECT_EQ(basic.groups.at("Frame2")->title, "表情存放路径");
    EXPECT_EQ(basic.groups.at("Frame3")->title, "最近使用表情保存数量");
    FakeForm& history = *basic.groups.at("Frame3");
    EXPECT_EQ(history.groups.at("historyRow")->labels.at("Label6").value, "保留");
    EXPECT_EQ(history.groups.at("historyRow")->labels.at("Label7").value, "个表情");
    EXPECT_EQ(history.groups.at("historyRow")->dropDowns.at("historyNub").items,
              (std::vector<std::string>{"16", "20", "24", "28"}));
    EXPECT_EQ(history.labels.at("Label2").value, "（注意：数量越少，打开 历史表情 的速度越快）");
    FakeForm& modes = *form.tabPages.at("显示模式");
    EXPECT_EQ(modes.options.at("Option7").caption, "正常模式");
    EXPECT_EQ(modes.labels.at("Label1").value, "始终吸附在QQ聊天框的右边");
    EXPECT_EQ(modes.options.at("Option3").caption, "特色模式[推荐尝试]");
    EXPECT_EQ(static_cast<FakeButton&>(f.Command1()).caption, "保存");
    EXPECT_EQ(static_cast<FakeButton&>(f.Command2()).caption, "放弃");
    EXPECT_EQ(static_cast<FakeButton&>(f.Command3()).caption, "选择路径");
    EXPECT_EQ(static_cast<FakeButton&>(f.Command4()).caption, "系统默认路径");

    // The two mode options exclude each other, and so do the auto-start ones.
    static_cast<FakeOptionButton&>(f.Option7()).click();
    EXPECT_FALSE(f.Option3().isChecked());
    static_cast<FakeOptionButton&>(f.Option2()).click();
    EXPECT_FALSE(f.Option1().isChecked());
    EXPECT_TRUE(f.Option7().isChecked()) << "options of other containers stay";
}

TEST_F(ConfigFormTest, SavingWritesEachSettingAndPutsItInUseAtOnce) {
    const std::string moved = dir / "faces";
    std::filesystem::create_directories(moved);
    struct Row {
        const char* name;
        const char* startMode;
        const char* option;         // the mode option chosen: "7", "3" or none
        const char* folder;         // typed into the box; "default" presses 系统默认路径
        int history;                // index chosen; -1 leaves the list without a choice
        const char* wantMode;       // in use afterwards
        const char* wantModeEntry;  // in the file ("" when not written)
        const char* wantFolderEntry;
        std::string wantFacePath;
        const char* wantHistory;
    };
    const Row rows[] = {
        {"normal mode, moved folder, 24", "fQQ", "7", "faces", 2, "normal", "normal", "faces", moved, "24"},
        {"featured mode, default button", "normal", "3", "default", 0, "fQQ", "fQQ", "", dir / "w", "16"},
        {"bottom-bar mode untouched", "buttom2", "", "default", 3, "buttom2", "", "", dir / "w", "28"},
        {"empty box is the default folder", "fQQ", "3", "", 1, "fQQ", "fQQ", "", dir / "w", "20"},
        {"a count not offered stays", "fQQ", "3", "faces/", -1, "fQQ", "fQQ", "faces", moved, "30"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove(dir / "config.ini");
        parm.showModel = row.startMode;
        parm.historyNub = "30";
        parm.facePath = "/elsewhere";
        ConfigForm& f = open();
        if (std::string(row.option) == "7") static_cast<FakeOptionButton&>(f.Option7()).click();
        if (std::string(row.option) == "3") static_cast<FakeOptionButton&>(f.Option3()).click();
        if (std::string(row.folder) == "default")
            f.Command4().onClick();
        else
            f.facePath_text().setText(*row.folder ? dir / row.folder : "");
        f.historyNub().setSelectedIndex(row.history);
        f.Command1().onClick();
        fake.loop.advance(1);
        EXPECT_EQ(windows.settings(), nullptr) << "保存 unloads the dialog";
        EXPECT_TRUE(fake.messages.shown.empty());
        EXPECT_EQ(parm.showModel, row.wantMode);
        EXPECT_EQ(written("showModel"), row.wantModeEntry);
        EXPECT_EQ(parm.facePath, row.wantFacePath);
        const std::string folderEntry = *row.wantFolderEntry ? dir / row.wantFolderEntry : "";
        EXPECT_EQ(written("facePath"), folderEntry);
        EXPECT_TRUE(contains(fileText(), "facePath=")) << "the default folder is written as an empty entry";
        EXPECT_EQ(parm.historyNub, row.wantHistory);
        EXPECT_EQ(written("historyNub"), row.history < 0 ? "" : row.wantHistory);
        EXPECT_EQ(written("autoRun"), "true");
    }
    EXPECT_EQ(readFileBytes(moved + "/cell.gif"), "GIF89a-cell") << "the moved folder gets the marker picture";
}

TEST_F(ConfigFormTest, AFolderThatCannotHoldFacesIsRefusedAndNothingIsWritten) {
    writeBytes(dir / "a-file", "x");
    struct Row {
        std::string folder;
        const char* says;
    };
    const Row rows[] = {
        {"faces", "不是完整的路径"},
        {dir / "ไทย", "不能保存的字符"},  // letters the code page lacks
        {dir / "a\nb", "不能保存的字符"},
        {dir / "missing", "不存在"},
        {dir / "a-file", "不存在"},
#ifdef _WIN32
        // Wine maps the drive Z: onto the Unix root: the same folder.
        {"Z:\\proc", "无法在表情存放路径"},
#else
        {"/proc", "无法在表情存放路径"},  // a folder no one can create files in
#endif
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.folder);
        fake.messages.shown.clear();
        ConfigForm& f = open();
        static_cast<FakeOptionButton&>(f.Option7()).click();
        f.facePath_text().setText(row.folder);
        f.Command1().onClick();
        fake.loop.advance(1);
        ASSERT_EQ(fake.messages.shown.size(), 1u);
        EXPECT_TRUE(contains(fake.messages.shown[0].text, row.says)) << fake.messages.shown[0].text;
        EXPECT_EQ(fake.messages.shown[0].title, "配置");
        ASSERT_NE(windows.settings(), nullptr) << "the dialog stays open";
        EXPECT_EQ(parm.showModel, "fQQ");
        EXPECT_EQ(parm.facePath, dir / "w");
        EXPECT_EQ(autoStart.calls, 0);
        EXPECT_EQ(fileText(), "");
        windows.settings()->Command2().onClick();
        fake.loop.advance(1);
    }
}

TEST_F(ConfigFormTest, TheHotKeyIsBoundAndSavedInItsOwnFormOrRefusedWithNothingWritten) {
    struct Row {
        const char* typed;
        const char* saved;  // nullptr: refused, the dialog stays open
        const char* says;
    };
    const Row rows[] = {
        {" ctrl + alt + q ", "Ctrl+Alt+Q", ""},
        {"win+SHIFT+f12", "Shift+Win+F12", ""},
        {"Alt+0", "Alt+0", ""},
        {"", "none", ""},  // no hot key
        {"Shift+A", nullptr, "无法使用"},  // typing, not a combination
        {"Ctrl+Ctrl+A", nullptr, "无法使用"},
        {"Ctrl+Alt+F13", nullptr, "无法使用"},
        {"Ctrl+Alt+E+R", nullptr, "无法使用"},
        {"Ctrl+Alt+Enter", nullptr, "无法使用"},  // keys of our own only
        {"Ctrl+Alt+P", nullptr, "已被其他程序占用"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        std::filesystem::remove(dir / "config.ini");
        fake.messages.shown.clear();
        boundKeys.clear();
        parm.hotKey = "none";
        ConfigForm& f = open();
        EXPECT_EQ(f.hotKey_text().text(), "") << "no hot key shows as an empty box";
        f.hotKey_text().setText(row.typed);
        f.Command1().onClick();
        fake.loop.advance(1);
        if (row.saved) {
            EXPECT_TRUE(fake.messages.shown.empty());
            EXPECT_EQ(boundKeys, std::vector<std::string>{row.saved});
            EXPECT_EQ(parm.hotKey, row.saved);
            EXPECT_EQ(written("hotKey"), row.saved);
            continue;
        }
        ASSERT_EQ(fake.messages.shown.size(), 1u);
        EXPECT_TRUE(contains(fake.messages.shown[0].text, row.says)) << fake.messages.shown[0].text;
        EXPECT_TRUE(boundKeys.empty());
        EXPECT_EQ(parm.hotKey, "none");
        EXPECT_EQ(fileText(), "");
        ASSERT_NE(windows.settings(), nullptr) << "the dialog stays open";
        windows.settings()->Command2().onClick();
        fake.loop.advance(1);
    }
}

TEST_F(ConfigFormTest, AFolderWithItsOwnMarkerPictureKeepsIt) {
    writeBytes(dir / "faces/cell.gif", "their own");
    ConfigForm& f = open();
    f.facePath_text().setText(dir / "faces");
    f.Command1().onClick();
    EXPECT_EQ(readFileBytes(dir / "faces/cell.gif"), "their own");
    EXPECT_EQ(parm.facePath, dir / "faces");
}

TEST_F(ConfigFormTest, AutoStartFollowsTheChoiceAndAFailureDoesNotStopTheSave) {
    ConfigForm& on = open();
    on.Command1().onClick();
    fake.loop.advance(1);
    EXPECT_EQ(autoStart.entries, (std::map<std::string, std::string>{{"Vendrim", dir / "Tovlo.exe"}}));

    ConfigForm& off = open();
    static_cast<FakeOptionButton&>(off.Option2()).click();
    off.Command1().onClick();
    fake.loop.advance(1);
    EXPECT_TRUE(autoStart.entries.empty());
    EXPECT_EQ(written("autoRun"), "false");
    EXPECT_TRUE(open().Option2().isChecked()) << "opened again, the dialog shows the choice in use";
    windows.settings()->Command2().onClick();
    fake.loop.advance(1);

    autoStart.failing = true;
    ConfigForm& failing = open();
    static_cast<FakeOptionButton&>(failing.Option1()).click();
    failing.Command1().onClick();
    fake.loop.advance(1);
    EXPECT_EQ(written("autoRun"), "true");
    EXPECT_EQ(windows.settings(), nullptr);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(ConfigFormTest, ChoosingAFolderFillsTheBoxAndCancellingLeavesIt) {
    ConfigForm& f = open();
    f.Command3().onClick();
    EXPECT_EQ(folders.prompts, std::vector<std::string>{"请选择路径"});
    EXPECT_EQ(folders.starts, std::vector<std::string>{dir / "w"});
    EXPECT_EQ(f.facePath_text().text(), dir / "w");
    folders.answer = "/srv/表情 库";
    f.Command3().onClick();
    EXPECT_EQ(f.facePath_text().text(), "/srv/表情 库");
    f.Command4().onClick();
    EXPECT_EQ(f.facePath_text().text(), dir / "w");
}

TEST_F(ConfigFormTest, OneDialogAtATimeAndTheCloseBoxDiscards) {
    ConfigForm& first = open();
    auto& form = static_cast<FakeForm&>(first.form());
    EXPECT_TRUE(form.visible);
    EXPECT_EQ(form.activations, 1) << "opened from the tray or the page, it takes the focus";
    form.visible = false;  // behind other windows, or minimised
    EXPECT_EQ(&open(), &first);
    EXPECT_TRUE(form.visible);
    EXPECT_EQ(form.activations, 2);
    static_cast<FakeOptionButton&>(first.Option7()).click();
    form.onClosed();
    fake.loop.advance(1);
    EXPECT_EQ(windows.settings(), nullptr);
    EXPECT_EQ(parm.showModel, "fQQ");
    EXPECT_EQ(fileText(), "");
    EXPECT_NE(&open(), nullptr) << "and a new one opens afterwards";
}

}  // namespace tovlo::test

#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_platform.h"
#include "qq/chat_tracker.h"
#include "recording_form.h"
#include "support/temp_dir.h"

using namespace tovlo;
using Log = std::vector<std::string>;

namespace {

constexpr WindowHandle kChat = 0x501, kGroupChat = 0x502, kQQMain = 0x503, kEditor = 0x504;

struct ChatTrackerTest : ::testing::Test {
    test::TempDir dir;
    FakePlatform fake;
    FakeDesktop desktop;
    PublicParm parm{dir.path(), fake.codec};
    Log log;
    test::RecordingForm panel{fake.forms, "mainForm", log};
    ButtomFrm bar{fake.forms, dir.path(), [this] { tracker.showMode_Buttom_showMainForm(*timer1); }};
    ChatTracker tracker{desktop, panel, bar, parm};
    std::unique_ptr<Timer> timer1 = fake.loop.createTimer(20, true);

    void SetUp() override {
        panel.rect = {0, 0, 300, 480};
        desktop.addWindow(kChat, "TXGuiFoundation", "张三", {200, 100, 400, 500});
        desktop.addWindow(kGroupChat, "TXGuiFoundation", "表情爱好者 － 高级群", {100, 50, 600, 900});
        desktop.addWindow(kQQMain, "TXGuiFoundation", "QQ2010", {0, 0, 280, 600});
        desktop.addWindow(kEditor, "gedit", "notes.txt", {0, 0, 800, 600});
        desktop.addWindow(panel.handle(), "TXGuiFoundation", "与 张三 交谈中", {});  // looks like a chat
    }
    FakeForm& barForm() { return static_cast<FakeForm&>(bar.form()); }
    void tickWith(WindowHandle h) {
        desktop.foreground = h;
        tracker.tick();
    }
};

}  // namespace

TEST_F(ChatTrackerTest, ChatWindowIsDockedAndRememberedOtherWindowsHideBoth) {
    parm.showModel = "buttom";
    static_cast<FakePicture&>(bar.Picture1()).click();  // the bar opened
    tickWith(kGroupChat);
    EXPECT_TRUE(tracker.is08() && tracker.isQun() && !tracker.is09());
    EXPECT_EQ(tracker.qqwindow(), kGroupChat);
    EXPECT_EQ(panel.rect, (Rect{700 - 210, 50, 300, 700}));
    EXPECT_TRUE(panel.visible && barForm().visible);

    for (WindowHandle other : {kEditor, kQQMain}) {
        panel.visible = barForm().visible = true;
        log.clear();
        tickWith(other);
        EXPECT_EQ(log, Log{"mainForm.hide"}) << "hidden, nothing moved";
        EXPECT_FALSE(barForm().visible);
        EXPECT_FALSE(tracker.is08() || tracker.isQun());
        EXPECT_EQ(tracker.qqwindow(), kGroupChat) << "the target outlives focus changes";
    }
}

TEST_F(ChatTrackerTest, PanelBarOrNoWindowInFrontMoveAndHideNothing) {
    parm.showModel = "normal";
    tickWith(kChat);
    log.clear();

    tickWith(panel.handle());
    EXPECT_TRUE(tracker.is08()) << "the flags now describe the panel";
    EXPECT_EQ(tracker.qqwindow(), kChat) << "but the panel never becomes the target";
    tickWith(bar.form().handle());
    EXPECT_FALSE(tracker.is08());
    EXPECT_TRUE(log.empty());

    tickWith(kGroupChat);
    log.clear();
    tickWith(0);
    EXPECT_TRUE(tracker.isQun()) << "no foreground window: the flags keep their values";
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(panel.visible);
}

// No window in front for a tick or two is the focus passing between windows;
// for longer it is the bare desktop, and that hides panel and bar.
TEST_F(ChatTrackerTest, TheBareDesktopHidesBothAFocusChangeDoesNot) {
    parm.showModel = "buttom";
    static_cast<FakePicture&>(bar.Picture1()).click();  // the bar opened
    struct Row {
        std::vector<WindowHandle> fronts;
        bool shown;
    };
    const Row rows[] = {
        {{0}, true}, {{0, 0}, true}, {{0, 0, kChat, 0, 0}, true}, {{0, 0, 0}, false}, {{0, 0, 0, 0, 0, 0}, false},
    };
    for (const Row& row : rows) {
        tickWith(kChat);
        ASSERT_TRUE(panel.visible && barForm().visible);
        for (WindowHandle h : row.fronts) tickWith(h);
        EXPECT_EQ(panel.visible, row.shown) << row.fronts.size() << " ticks";
        EXPECT_EQ(barForm().visible, row.shown) << row.fronts.size() << " ticks";
        EXPECT_EQ(tracker.qqwindow(), kChat);
    }
}

TEST_F(ChatTrackerTest, ModeAndKeepMainVisibleAreReadAtEveryTick) {
    parm.showModel = "";
    tickWith(kChat);
    EXPECT_TRUE(log.empty()) << "an unknown mode places nothing";
    EXPECT_EQ(tracker.qqwindow(), kChat) << "but the chat is still followed";

    parm.showModel = "fQQ";
    tracker.tick();
    EXPECT_FALSE(panel.visible);
    EXPECT_TRUE(barForm().visible);
    parm.keepMainVisible = true;
    tracker.tick();
    EXPECT_TRUE(panel.visible);
}

TEST_F(ChatTrackerTest, ToggleShowsOrHidesWithTheTickPaused) {
    std::vector<bool> tickOnAtChange;
    struct Watched : test::RecordingForm {
        using RecordingForm::RecordingForm;
        std::function<void()> onChange;
        void show() override { onChange(), RecordingForm::show(); }
        void hide() override { onChange(), RecordingForm::hide(); }
        void setTopMost() override { onChange(), RecordingForm::setTopMost(); }
    } watched{fake.forms, "watched", log};
    watched.onChange = [&] { tickOnAtChange.push_back(timer1->enabled()); };
    ChatTracker t{desktop, watched, bar, parm};

    parm.showModel = "buttom";
    t.showMode_Buttom_showMainForm(*timer1);
    t.showMode_Buttom_showMainForm(*timer1);
    EXPECT_EQ(log, (Log{"watched.show", "watched.topmost", "watched.hide", "watched.topmost"}));
    parm.showModel = "fQQ";
    t.showMode_Buttom_showMainForm(*timer1);
    t.showMode_Buttom_showMainForm(*timer1);
    EXPECT_TRUE(watched.visible) << "in fQQ the bar only ever shows the panel";
    EXPECT_EQ(tickOnAtChange, std::vector<bool>(8, false));
    EXPECT_TRUE(timer1->enabled());
}

// In "fQQ" a click on the bar shows the panel, and it stays until another
// window comes to the front, however late the desktop reports the bar in
// front; an insertion ends it at once.
TEST_F(ChatTrackerTest, InFQQTheBarsClickHoldsThePanelUntilTheWindowInFrontChanges) {
    parm.showModel = "fQQ";
    struct Row {
        std::vector<WindowHandle> frontsAfterClick;
        bool insertion;
        bool shown;
    };
    const WindowHandle barH = bar.form().handle();
    const Row rows[] = {
        {{kChat, kChat, kChat}, false, true},          // the bar's activation not seen yet
        {{kChat, 0, barH, barH}, false, true},         // the bar in front
        {{kChat, barH, panel.handle()}, false, true},  // then the user in the panel
        {{kChat, barH, kChat}, false, false},          // back in the chat window
        {{barH, kEditor, kChat}, false, false},        // another program, then the chat
        {{kChat, kChat}, true, false},                 // a face inserted
    };
    for (const Row& row : rows) {
        tickWith(kEditor);
        tickWith(kChat);
        ASSERT_FALSE(panel.visible);
        static_cast<FakePicture&>(bar.Image1()).click();
        EXPECT_TRUE(panel.visible);
        if (row.insertion) tracker.endBarHold();
        for (WindowHandle h : row.frontsAfterClick) tickWith(h);
        EXPECT_EQ(panel.visible, row.shown) << "row " << (&row - rows);
    }
}

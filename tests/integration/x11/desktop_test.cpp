// The X11 desktop against real windows: first on a bare display (input focus,
// plain geometry, raise and focus), then under openbox (_NET_ACTIVE_WINDOW,
// frames), and back to the bare display when openbox quits.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Xlib's None clashes with gtest's: Xlib comes after it.
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_desktop.h"
#include "test_display.h"
#include "window_manager.h"

namespace tovlo::test {
namespace {

class DesktopTest : public ::testing::Test {
protected:
    TestDisplay x;
    std::unique_ptr<X11Desktop> desktop = X11Desktop::connect();

    Window chat(const std::string& title, Rect rect = {100, 120, 300, 200}) {
        return x.create({.netWmName = title, .wmName = "QQ", .rect = rect});
    }
    bool foregroundBecomes(WindowHandle w) {
        return waitUntil([&] { return desktop->foregroundWindow() == w; });
    }
    // Requests the desktop has sent to the server so far.
    unsigned long requestsSent() const { return NextRequest(desktop->connection().display()); }
    void setTitle(Window w, const std::string& title) {
        XChangeProperty(x.display(), w, x.atom("_NET_WM_NAME"), x.atom("UTF8_STRING"), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
        XSync(x.display(), False);
    }
    void move(Window w, int left, int top) {
        XMoveWindow(x.display(), w, left, top);
        XSync(x.display(), False);
    }
};

class BareDisplay : public DesktopTest {
protected:
    static void SetUpTestSuite() {
        ASSERT_FALSE(windowManagerAnnounced()) << "the display already has a window manager";
    }
};

TEST_F(BareDisplay, TitlesFromNetWmNameOrLatin1OrCompoundTextAndTheClassPart) {
    ASSERT_TRUE(desktop);
    const Window zhang = chat("张三");
    const Window latin1 = x.create({.className = "gedit", .wmName = "Caf\xe9"});
    // "张三 Café" as compound text: GB2312 and JIS X 0208 runs, then Latin-1.
    const Window compound =
        x.create({.wmName = "\x1b$(AUE\x1b$(B;0\x1b(B Caf\xe9", .wmNameType = x.atom("COMPOUND_TEXT")});
    const Window untitled = x.create({});

    EXPECT_EQ(desktop->windowTitle(zhang), "张三");
    EXPECT_EQ(desktop->windowClass(zhang), "TXGuiFoundation");
    EXPECT_EQ(desktop->windowTitle(latin1), "Café");
    EXPECT_EQ(desktop->windowClass(latin1), "gedit");
    EXPECT_EQ(desktop->windowTitle(compound), "张三 Café");
    EXPECT_EQ(desktop->windowTitle(untitled), "");
    EXPECT_EQ(desktop->screenSize().width, 1280);
    EXPECT_EQ(desktop->screenSize().height, 1024);
    // One screen, no window manager to reserve any of it: the whole screen,
    // also for a window that is outside it.
    for (const Rect& window : {Rect{100, 120, 300, 200}, Rect{1200, -50, 300, 200}, Rect{3000, 3000, 10, 10}})
        EXPECT_EQ(desktop->workArea(window), (Rect{0, 0, 1280, 1024}));
    // On a screen at 200 % our windows' pixels are two of the display's.
    desktop->setScale(2);
    EXPECT_EQ(desktop->windowRect(zhang), (Rect{50, 60, 150, 100}));
    EXPECT_EQ(desktop->workArea({50, 60, 150, 100}), (Rect{0, 0, 640, 512}));
    EXPECT_EQ(desktop->screenSize().width, 640);
}

TEST_F(BareDisplay, WindowThatDiedGivesEmptyAnswersAndTheErrorsAreOnlyRecorded) {
    const Window gone = chat("张三");
    const Window alive = chat("李四");
    x.destroy(gone);
    const int errorsBefore = desktop->connection().errorCount();

    EXPECT_EQ(desktop->windowTitle(gone), "");
    EXPECT_EQ(desktop->windowClass(gone), "");
    EXPECT_EQ(desktop->windowRect(gone), Rect{});
    desktop->setForegroundWindow(gone);  // its errors come back later, with the next replies
    EXPECT_EQ(desktop->windowTitle(alive), "李四");
    EXPECT_GT(desktop->connection().errorCount(), errorsBefore);
    EXPECT_EQ(desktop->connection().lastErrorCode(), BadWindow);
}

TEST_F(BareDisplay, ForegroundIsTheInputFocusResolvedToItsClientWindow) {
    const Window zhang = chat("张三");
    const Window li = chat("李四", {500, 120, 300, 200});
    const Window box = x.create({.rect = {10, 10, 50, 20}, .parent = li});
    XDeleteProperty(x.display(), box, XA_WM_CLASS);  // an input box inside the chat window

    XSetInputFocus(x.display(), zhang, RevertToParent, CurrentTime);
    XSync(x.display(), False);
    EXPECT_EQ(desktop->foregroundWindow(), zhang);
    XSetInputFocus(x.display(), box, RevertToParent, CurrentTime);
    XSync(x.display(), False);
    EXPECT_EQ(desktop->foregroundWindow(), li);
    XSetInputFocus(x.display(), None, RevertToNone, CurrentTime);
    XSync(x.display(), False);
    EXPECT_EQ(desktop->foregroundWindow(), 0u);
}

TEST_F(BareDisplay, RectIsTheOuterWindowInRootCoordinates) {
    const Window plain = chat("张三", {100, 120, 300, 200});
    const Window bordered = x.create({.rect = {200, 220, 300, 200}, .border = 3});
    const Window inner = x.create({.rect = {10, 20, 50, 40}, .parent = plain});

    EXPECT_EQ(desktop->windowRect(plain), (Rect{100, 120, 300, 200}));
    EXPECT_EQ(desktop->windowRect(bordered), (Rect{200, 220, 306, 206}));
    EXPECT_EQ(desktop->windowRect(inner), (Rect{110, 140, 50, 40}));
}

TEST_F(BareDisplay, RepeatedQuestionsAreAnsweredWithoutTheServerUntilTheWindowChanges) {
    const Window zhang = chat("张三", {100, 120, 300, 200});
    EXPECT_EQ(desktop->windowTitle(zhang), "张三");
    EXPECT_EQ(desktop->windowClass(zhang), "TXGuiFoundation");
    EXPECT_EQ(desktop->windowRect(zhang), (Rect{100, 120, 300, 200}));

    const unsigned long before = requestsSent();
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(desktop->windowTitle(zhang), "张三");
        EXPECT_EQ(desktop->windowClass(zhang), "TXGuiFoundation");
        EXPECT_EQ(desktop->windowRect(zhang), (Rect{100, 120, 300, 200}));
    }
    EXPECT_EQ(requestsSent(), before);

    setTitle(zhang, "张三 - 正在输入");
    EXPECT_TRUE(waitUntil([&] { return desktop->windowTitle(zhang) == "张三 - 正在输入"; }));
    move(zhang, 400, 300);
    EXPECT_TRUE(waitUntil([&] { return desktop->windowRect(zhang) == Rect{400, 300, 300, 200}; }));
    XResizeWindow(x.display(), zhang, 320, 240);
    XSync(x.display(), False);
    EXPECT_TRUE(waitUntil([&] { return desktop->windowRect(zhang) == Rect{400, 300, 320, 240}; }));

    x.destroy(zhang);
    EXPECT_TRUE(waitUntil([&] { return desktop->windowTitle(zhang).empty(); }));
    EXPECT_EQ(desktop->windowClass(zhang), "");
    EXPECT_EQ(desktop->windowRect(zhang), Rect{});
}

TEST_F(BareDisplay, AChildWindowFollowsItsParentsMoves) {
    const Window outer = chat("张三", {100, 120, 300, 200});
    const Window inner = x.create({.rect = {10, 20, 50, 40}, .parent = outer});
    EXPECT_EQ(desktop->windowRect(inner), (Rect{110, 140, 50, 40}));
    move(outer, 200, 220);
    EXPECT_TRUE(waitUntil([&] { return desktop->windowRect(inner) == Rect{210, 240, 50, 40}; }));
}

TEST_F(BareDisplay, SetForegroundRaisesAndFocusesTheWindow) {
    const Window below = chat("张三");
    const Window above = chat("李四");
    desktop->setForegroundWindow(below);
    ASSERT_TRUE(waitUntil([&] { return x.inputFocus() == below; }));

    Window root = 0, parent = 0, *children = nullptr;
    unsigned int n = 0;
    XQueryTree(x.display(), x.root(), &root, &parent, &children, &n);
    std::vector<Window> stack(children, children + n);
    XFree(children);
    EXPECT_EQ(stack.back(), below);  // now above `above`
    EXPECT_EQ(desktop->foregroundWindow(), below);
    (void)above;
}

TEST_F(BareDisplay, ControlVReachesTheFocusedWindowAsKeyEvents) {
    const Window target = x.create({.netWmName = "张三", .eventMask = KeyPressMask | KeyReleaseMask});
    desktop->setForegroundWindow(target);
    ASSERT_TRUE(waitUntil([&] { return x.inputFocus() == target; }));

    desktop->sendKey(kVkControl, true);
    desktop->sendKey(kVkV, true);
    desktop->sendKey(kVkControl, false);
    desktop->sendKey(kVkV, false);

    struct Seen {
        int type;
        KeySym sym;
        bool control;
        bool operator==(const Seen&) const = default;
    };
    std::vector<Seen> seen;
    ASSERT_TRUE(waitUntil([&] {
        while (XPending(x.display())) {
            XEvent e;
            XNextEvent(x.display(), &e);
            if (e.type == KeyPress || e.type == KeyRelease)
                seen.push_back({e.type, XLookupKeysym(&e.xkey, 0), (e.xkey.state & ControlMask) != 0});
        }
        return seen.size() >= 4;
    }));
    const std::vector<Seen> expected = {{KeyPress, XK_Control_L, false},
                                        {KeyPress, XK_v, true},
                                        {KeyRelease, XK_Control_L, true},
                                        {KeyRelease, XK_v, false}};
    EXPECT_EQ(seen, expected);
}

// Under openbox, started for this group of tests.
class UnderWindowManager : public DesktopTest {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(wm().start()) << "openbox did not start"; }
    static void TearDownTestSuite() { wm().stop(); }
    static WindowManager& wm() {
        static WindowManager instance;
        return instance;
    }
};

TEST_F(UnderWindowManager, ForegroundIsTheActiveClientAndFollowsActivation) {
    const Window zhang = chat("张三");
    const Window li = chat("李四", {500, 120, 300, 200});
    ASSERT_NE(x.topLevelOf(li), li) << "openbox did not frame the window";
    EXPECT_TRUE(foregroundBecomes(li));  // openbox focuses a new window

    desktop->setForegroundWindow(zhang);
    EXPECT_TRUE(foregroundBecomes(zhang));
    EXPECT_TRUE(waitUntil([&] { return x.inputFocus() == zhang; }));
}

TEST_F(UnderWindowManager, MinimizedWindowIsBroughtBackThroughTheWindowManager) {
    const Window zhang = chat("张三");
    XIconifyWindow(x.display(), zhang, DefaultScreen(x.display()));
    XFlush(x.display());
    ASSERT_TRUE(waitUntil([&] {
        XWindowAttributes a{};
        return XGetWindowAttributes(x.display(), zhang, &a) && a.map_state != IsViewable;
    }));

    desktop->setForegroundWindow(zhang);
    EXPECT_TRUE(foregroundBecomes(zhang));
    EXPECT_TRUE(waitUntil([&] { return x.inputFocus() == zhang; }));
}

TEST_F(UnderWindowManager, RectIsTheFrameAroundTheClient) {
    const Window zhang = chat("张三", {100, 120, 300, 200});
    ASSERT_TRUE(waitUntil([&] { return desktop->windowRect(zhang) != x.geometryOf(zhang); }));

    const Rect frame = x.geometryOf(x.topLevelOf(zhang));
    EXPECT_EQ(desktop->windowRect(zhang), frame);
    EXPECT_GT(frame.height, 200);  // the title bar
}

TEST_F(UnderWindowManager, TheFrameIsFollowedAsTheWindowManagerMovesIt) {
    const Window zhang = chat("张三", {100, 120, 300, 200});
    ASSERT_TRUE(waitUntil([&] { return desktop->windowRect(zhang) != x.geometryOf(zhang); }));
    ASSERT_TRUE(foregroundBecomes(zhang));

    const unsigned long before = requestsSent();
    EXPECT_EQ(desktop->foregroundWindow(), zhang);
    EXPECT_EQ(desktop->windowRect(zhang), x.geometryOf(x.topLevelOf(zhang)));
    EXPECT_EQ(requestsSent(), before);

    // The client asks to move; the window manager moves the frame around it.
    move(zhang, 600, 400);
    EXPECT_TRUE(waitUntil([&] {
        const Rect frame = x.geometryOf(x.topLevelOf(zhang));
        return frame.left > 500 && desktop->windowRect(zhang) == frame;
    }));
}

// A panel along the screen's bottom (a window reserving 40 pixels there)
// leaves the rest as the work area; when it goes, the whole screen is free.
TEST_F(UnderWindowManager, TheWorkAreaLeavesOutWhatAPanelReservesAndFollowsItsChanges) {
    const Rect chatRect{100, 120, 300, 200};
    ASSERT_TRUE(waitUntil([&] { return desktop->workArea(chatRect) == Rect{0, 0, 1280, 1024}; }));
    const Window panel = x.create({.className = "panel", .rect = {0, 984, 1280, 40}});
    const long strut[12] = {0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0, 1279};
    XChangeProperty(x.display(), panel, x.atom("_NET_WM_STRUT_PARTIAL"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(strut), 12);
    XSync(x.display(), False);
    EXPECT_TRUE(waitUntil([&] { return desktop->workArea(chatRect) == Rect{0, 0, 1280, 984}; }));
    x.destroy(panel);
    EXPECT_TRUE(waitUntil([&] { return desktop->workArea(chatRect) == Rect{0, 0, 1280, 1024}; }));
}

// What the tracking tick looks at is reported as it changes: the window in
// front, its moves and title, our own windows shown or hidden; a window
// behind may do what it likes. Reports come only out of handleEvents.
TEST_F(UnderWindowManager, ChangesOfTheWindowInFrontAndOfOurOwnWindowsAreReportedOthersAreNot) {
    const Window zhang = chat("张三"), li = chat("李四", {500, 120, 300, 200});
    const Window ours = x.create({.className = "tovlo", .rect = {50, 500, 100, 100}});
    int changes = 0;
    bool insideACall = false;
    desktop->watchChanges([&] { changes += insideACall ? 1000 : 1; }, {ours});
    EXPECT_TRUE(desktop->reportsChanges());
    const auto tick = [&] {  // what a tick asks about the window in front, which watches it
        insideACall = true;
        desktop->windowRect(desktop->foregroundWindow());
        insideACall = false;
    };
    const auto show = [&](bool shown) { shown ? XMapWindow(x.display(), ours) : XUnmapWindow(x.display(), ours); };
    for (Window w : {zhang, li}) desktop->setForegroundWindow(w), foregroundBecomes(w), tick();
    const struct {
        const char* what;
        std::function<void()> action;
        bool reported;
    } rows[] = {
        {"a window behind moves", [&] { move(zhang, 150, 150); }, false},
        {"a window behind is retitled", [&] { setTitle(zhang, "张三 正在输入"); }, false},
        {"the window in front moves", [&] { move(li, 600, 300); }, true},
        {"the window in front is retitled", [&] { setTitle(li, "QQ2010"); }, true},
        {"our own window is hidden", [&] { show(false), XSync(x.display(), False); }, true},
        {"our own window is shown", [&] { show(true), XSync(x.display(), False); }, true},
        {"another window comes to the front", [&] { desktop->setForegroundWindow(zhang); }, true},
    };
    for (const auto& row : rows) {
        tick();
        const auto seen = [&] { return desktop->handleEvents(), changes > 0; };
        waitUntil(seen, std::chrono::milliseconds(300));
        changes = 0;
        row.action();
        EXPECT_EQ(waitUntil(seen, std::chrono::milliseconds(row.reported ? 5000 : 500)), row.reported) << row.what;
        EXPECT_LT(changes, 1000) << row.what << ": reported inside one of the desktop's calls";
    }
}

TEST_F(UnderWindowManager, WhenTheWindowManagerQuitsTheInputFocusCountsAgain) {
    const Window zhang = chat("张三");
    const Window li = chat("李四");
    ASSERT_TRUE(foregroundBecomes(li));
    desktop->watchChanges([] {}, {});
    ASSERT_TRUE(desktop->reportsChanges());

    wm().stop();
    EXPECT_TRUE(waitUntil([&] { return desktop->handleEvents(), !desktop->reportsChanges(); }))
        << "without a window manager the tick has to look for itself";
    XSetInputFocus(x.display(), zhang, RevertToParent, CurrentTime);
    XSync(x.display(), False);
    EXPECT_TRUE(foregroundBecomes(zhang));
}

}  // namespace
}  // namespace tovlo::test

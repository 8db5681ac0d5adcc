// The hot key on a real display, typed through XTest as a keyboard would.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

// Xlib's None clashes with gtest's: Xlib comes after it.
#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "platform/x11/x11_global_hot_key.h"
#include "test_display.h"

namespace tovlo::test {
namespace {

void key(Display* d, KeySym sym, bool down) { XTestFakeKeyEvent(d, XKeysymToKeycode(d, sym), down, 0); }

// Ctrl+Alt and the key, the key held down for `repeats` presses in all.
void typeCtrlAlt(Display* d, KeySym sym, int repeats = 1) {
    for (KeySym m : {XK_Control_L, XK_Alt_L}) key(d, m, true);
    for (int i = 0; i < repeats; ++i) key(d, sym, true);
    key(d, sym, false);
    for (KeySym m : {XK_Alt_L, XK_Control_L}) key(d, m, false);
    XSync(d, False);
}

TEST(X11HotKey, TypedItCountsOnceHeldAnOtherClientsGrabIsRefusedAndUnboundItIsFree) {
    TestDisplay x;
    Display* d = x.display();
    std::unique_ptr<X11GlobalHotKey> hotKey = X11GlobalHotKey::connect();
    ASSERT_TRUE(hotKey);
    int presses = 0;
    auto pressesBecome = [&](int n) {
        return waitUntil([&] {
            hotKey->handleEvents();
            return presses == n;
        });
    };
    ASSERT_TRUE(hotKey->bind({HotKey::Ctrl | HotKey::Alt, 'E'}, [&] { ++presses; }));

    // Presses are reported in the order typed: a key that must not count is
    // followed by one that must, and the count is then exact.
    typeCtrlAlt(d, XK_e, 3);
    EXPECT_TRUE(pressesBecome(1)) << presses;
    // Num Lock on changes the modifiers' state, not the combination.
    XkbLockModifiers(d, XkbUseCoreKbd, Mod2Mask, Mod2Mask);
    typeCtrlAlt(d, XK_e);
    XkbLockModifiers(d, XkbUseCoreKbd, Mod2Mask, 0);
    typeCtrlAlt(d, XK_r);  // another key
    typeCtrlAlt(d, XK_e);
    EXPECT_TRUE(pressesBecome(3)) << presses;

    // Another program holds Ctrl+Alt+Q: refused, and Ctrl+Alt+E still works.
    XGrabKey(d, XKeysymToKeycode(d, XK_q), ControlMask | Mod1Mask, x.root(), False, GrabModeAsync, GrabModeAsync);
    XSync(d, False);
    EXPECT_FALSE(hotKey->bind({HotKey::Ctrl | HotKey::Alt, 'Q'}, [&] { presses += 100; }));
    typeCtrlAlt(d, XK_q);
    typeCtrlAlt(d, XK_e);
    EXPECT_TRUE(pressesBecome(4)) << presses;

    // Moved to Ctrl+Alt+7, Ctrl+Alt+E no longer counts; unbound, 7 neither.
    ASSERT_TRUE(hotKey->bind({HotKey::Ctrl | HotKey::Alt, '7'}, [&] { ++presses; }));
    typeCtrlAlt(d, XK_e);
    typeCtrlAlt(d, XK_7);
    EXPECT_TRUE(pressesBecome(5)) << presses;
    hotKey->unbind();
    typeCtrlAlt(d, XK_7);
    ASSERT_TRUE(hotKey->bind({HotKey::Ctrl | HotKey::Alt, 'E'}, [&] { ++presses; }));
    typeCtrlAlt(d, XK_e);
    EXPECT_TRUE(pressesBecome(6)) << presses;
}

}  // namespace
}  // namespace tovlo::test

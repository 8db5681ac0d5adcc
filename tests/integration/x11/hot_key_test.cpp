// The hot key on a real display, typed through XTest.
#include <gtest/gtest.h>

#include <memory>

#include "support/hot_key_contract.h"
// Xlib's None clashes with gtest's: Xlib comes after it.
#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "platform/x11/x11_global_hot_key.h"
#include "test_display.h"

namespace tovlo::test {
namespace {

struct X11Keyboard {
    TestDisplay& x;
    X11GlobalHotKey& hotKey;
    Display* d = x.display();

    void key(KeySym sym, bool down) { XTestFakeKeyEvent(d, XKeysymToKeycode(d, sym), down, 0); }
    static KeySym symOf(char key) { return key >= 'A' && key <= 'Z' ? XK_a + (key - 'A') : XK_0 + (key - '0'); }
    void typeCtrlAlt(char k, int repeats = 1, bool numLock = false) {
        if (numLock) XkbLockModifiers(d, XkbUseCoreKbd, Mod2Mask, Mod2Mask);
        for (KeySym m : {XK_Control_L, XK_Alt_L}) key(m, true);
        for (int i = 0; i < repeats; ++i) key(symOf(k), true);
        key(symOf(k), false);
        for (KeySym m : {XK_Alt_L, XK_Control_L}) key(m, false);
        if (numLock) XkbLockModifiers(d, XkbUseCoreKbd, Mod2Mask, 0);
        XSync(d, False);
    }
    void takeElsewhere(char k) {
        XGrabKey(d, XKeysymToKeycode(d, symOf(k)), ControlMask | Mod1Mask, x.root(), False, GrabModeAsync,
                 GrabModeAsync);
        XSync(d, False);
    }
    bool runUntil(const std::function<bool()>& done) {
        return waitUntil([&] {
            hotKey.handleEvents();
            return done();
        });
    }
};

TEST(X11HotKey, HoldsTheContract) {
    TestDisplay x;
    std::unique_ptr<X11GlobalHotKey> hotKey = X11GlobalHotKey::connect();
    ASSERT_TRUE(hotKey);
    X11Keyboard keyboard{x, *hotKey};
    holdsTheHotKeyContract(*hotKey, keyboard);
}

}  // namespace
}  // namespace tovlo::test

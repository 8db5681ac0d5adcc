// The hot key under Wine, typed through SendInput.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "chat_window.h"
#include "platform/win/win_global_hot_key.h"
#include "support/hot_key_contract.h"

namespace tovlo::test {
namespace {

struct WinKeyboard {
    // Another program's window, holding what it takes.
    HWND other = CreateWindowExW(0, L"STATIC", L"other", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ~WinKeyboard() { DestroyWindow(other); }

    // A key held down is typed once: the system drops its repeats
    // (MOD_NOREPEAT), which Wine does not, so it cannot be tried here.
    void typeCtrlAlt(char key, int = 1, bool = false) {
        const WORD keys[] = {VK_CONTROL, VK_MENU, WORD(key), WORD(key), VK_MENU, VK_CONTROL};
        INPUT in[6]{};
        for (int i = 0; i < 6; ++i) {
            in[i].type = INPUT_KEYBOARD;
            in[i].ki.wVk = keys[i];
            in[i].ki.dwFlags = i < 3 ? 0 : KEYEVENTF_KEYUP;
        }
        SendInput(6, in, sizeof(INPUT));
    }
    void takeElsewhere(char key) { RegisterHotKey(other, key, MOD_CONTROL | MOD_ALT, key); }
    bool runUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 25 && !done(); ++i) runMessages(20);
        return done();
    }
};

TEST(WinHotKey, HoldsTheContract) {
    WinGlobalHotKey hotKey;
    WinKeyboard keyboard;
    holdsTheHotKeyContract(hotKey, keyboard);
}

}  // namespace
}  // namespace tovlo::test

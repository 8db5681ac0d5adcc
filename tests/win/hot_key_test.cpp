// The hot key under Wine, typed through SendInput.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

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
        std::vector<INPUT> inputs;
        auto add = [&](WORD vk, bool up) {
            INPUT in{};
            in.type = INPUT_KEYBOARD;
            in.ki.wVk = vk;
            in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            inputs.push_back(in);
        };
        for (WORD vk : {WORD(VK_CONTROL), WORD(VK_MENU)}) add(vk, false);
        add(WORD(key), false);
        for (WORD vk : {WORD(key), WORD(VK_MENU), WORD(VK_CONTROL)}) add(vk, true);
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
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

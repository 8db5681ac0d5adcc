// The hot key under Wine, typed through SendInput as a keyboard would.
#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>

#include "chat_window.h"
#include "platform/win/win_global_hot_key.h"

namespace tovlo::test {
namespace {

// Ctrl+Alt and the key, pressed and let go.
void typeCtrlAlt(WORD key) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    for (WORD vk : {WORD(VK_CONTROL), WORD(VK_MENU), key}) add(vk, false);
    for (WORD vk : {key, WORD(VK_MENU), WORD(VK_CONTROL)}) add(vk, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    runMessages(100);
}

TEST(WinHotKey, TypedItIsToldAnotherProgramsCombinationIsRefusedAndTheOldOneStays) {
    WinGlobalHotKey hotKey;
    int presses = 0;
    ASSERT_TRUE(hotKey.bind({HotKey::Ctrl | HotKey::Alt, 'E'}, [&] { ++presses; }));
    typeCtrlAlt('E');
    typeCtrlAlt('R');
    EXPECT_EQ(presses, 1);

    // Another window holds Ctrl+Alt+Q, as another program would.
    HWND other = CreateWindowExW(0, L"STATIC", L"other", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(RegisterHotKey(other, 7, MOD_CONTROL | MOD_ALT, 'Q'));
    EXPECT_FALSE(hotKey.bind({HotKey::Ctrl | HotKey::Alt, 'Q'}, [&] { presses += 100; }));
    typeCtrlAlt('E');
    EXPECT_EQ(presses, 2);

    // Moved to Ctrl+Alt+7: E is free again (another window can take it).
    ASSERT_TRUE(hotKey.bind({HotKey::Ctrl | HotKey::Alt, '7'}, [&] { ++presses; }));
    typeCtrlAlt('7');
    EXPECT_EQ(presses, 3);
    EXPECT_TRUE(RegisterHotKey(other, 8, MOD_CONTROL | MOD_ALT, 'E'));
    hotKey.unbind();
    typeCtrlAlt('7');
    EXPECT_EQ(presses, 3);
    DestroyWindow(other);
}

}  // namespace
}  // namespace tovlo::test

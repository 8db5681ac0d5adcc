// The Win32 forms on the desktop beside the test chat window: the bar and a
// panel show and move without taking the keyboard from the chat window, a click
// on them takes it and reaches the logic and the bar's key colour is left
// out.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "chat_window.h"
#include "platform/win/win_desktop.h"
#include "platform/win/win_form_controls.h"
#include "platform/win/win_forms.h"

namespace tovlo::test {
namespace {

HWND hwndOf(const Form& form) { return reinterpret_cast<HWND>(form.handle()); }

// A click in the middle of the control.
void click(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

TEST(WinForms, TheBarAndAPanelLeaveTheKeyboardWithTheChatWindowUntilClicked) {
    ChatWindow chat({"张三"});
    ASSERT_NE(chat.window(), 0u);
    WinDesktop desktop;
    desktop.setForegroundWindow(chat.window());
    ASSERT_TRUE(waitUntil([&] { return desktop.foregroundWindow() == chat.window(); }));

    WinForms forms;
    const WindowStyle quiet{.frameless = true, .topMost = true, .showsWithoutFocus = true};
    auto bar = forms.create(FormDescription("ButtomFrm", quiet).labels({"Label1"}));
    auto panel = forms.create(FormDescription("panel", quiet).buttons({"Command1"}));
    bar->setTransparentColour(0xFF00FF);
    bar->label("Label1").setText("表情");
    int clicks = 0;
    panel->button("Command1").setText("放入聊天框");
    panel->button("Command1").onClick = [&] { ++clicks; };
    // The tracking tick places and shows them again and again.
    const Rect chatRect = desktop.windowRect(chat.window());
    for (int tick = 0; tick < 5; ++tick) {
        bar->setGeometry({chatRect.left + tick, chatRect.bottom(), 80, 24});
        bar->show();
        panel->setGeometry({chatRect.right(), chatRect.top + tick, 200, 300});
        panel->show();
        runMessages(40);
    }
    EXPECT_TRUE(bar->isVisible() && panel->isVisible());
    EXPECT_EQ(panel->geometry(), (Rect{chatRect.right(), chatRect.top + 4, 200, 300}));
    EXPECT_EQ(desktop.foregroundWindow(), chat.window());
    keybd_event('A', 0, 0, 0);
    keybd_event('A', 0, KEYEVENTF_KEYUP, 0);
    EXPECT_TRUE(chat.waitForLine("key down 65")) << "typing still reaches the chat window";

    COLORREF key = 0;
    DWORD how = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(hwndOf(*bar), &key, nullptr, &how));
    EXPECT_EQ(key, RGB(255, 0, 255));
    EXPECT_TRUE(how & LWA_COLORKEY);

    click(controlNamed(hwndOf(*panel), "Command1"));
    EXPECT_TRUE(waitUntil([&] { return clicks == 1; }));
    EXPECT_TRUE(waitUntil([&] { return desktop.foregroundWindow() == panel->handle(); })) << "the user's click";
}

}  // namespace
}  // namespace tovlo::test

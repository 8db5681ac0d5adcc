// The tray icon under Wine: the shell's clicks are told as events of the
// loop, and the pop-up menu gives back the item the user picked (here with
// the keyboard, from another thread).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "chat_window.h"
#include "platform/win/win_tray_icon.h"

namespace tovlo::test {
namespace {

TEST(WinTray, ClicksAreToldAndTheMenuGivesThePickedItem) {
    WinTrayIcon tray;
    std::vector<std::string> told;
    tray.onClick = [&] { told.push_back("click"); };
    tray.onMenuRequest = [&] { told.push_back("menu"); };
    tray.setToolTip("Tovlo 表情");
    tray.setVisible(true);
    tray.showBalloon("标题", "Tovlo欢迎你!");
    // The shell's news, as it posts it.
    PostMessageW(tray.window(), WM_APP + 1, 1, WM_LBUTTONUP);
    PostMessageW(tray.window(), WM_APP + 1, 1, WM_MOUSEMOVE);
    PostMessageW(tray.window(), WM_APP + 1, 1, WM_RBUTTONUP);
    runMessages(100);
    EXPECT_EQ(told, (std::vector<std::string>{"click", "menu"}));

    std::thread user([] {
        for (int i = 0; i < 100; ++i) {
            Sleep(50);
            HWND menu = FindWindowW(L"#32768", nullptr);
            if (!menu || !IsWindowVisible(menu)) continue;
            for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageW(menu, WM_KEYDOWN, key, 0);
            return;
        }
    });
    int picked = -1;
    tray.popupMenu({"设置", "关于", "退出"}, [&](int item) { picked = item; });
    user.join();
    EXPECT_EQ(picked, 1);
    tray.setVisible(false);
}

}  // namespace
}  // namespace tovlo::test

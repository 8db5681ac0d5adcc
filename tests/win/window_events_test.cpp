// The window events that wake the tracking tick. Wine 8 raises none of them
// itself: the test chat windows (other processes) raise those Windows raises
// for them and the test those for its own windows, so what is tried here is
// the hooks' reach, their choice of events and how the reports arrive.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "chat_window.h"
#include "platform/win/win_desktop.h"
#include "platform/win/win_handle.h"
#include "platform/win/win_window_events.h"

namespace tovlo::test {

TEST(WinWindowEvents, ChangesOfTheWindowInFrontAndOfOursAreReportedFromTheMessageLoop) {
    WinDesktop desktop;
    ChatWindow first({"张三", "--raise-events"}), second({"李四", "--raise-events"});
    const auto popUp = [] {
        return CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"ours", WS_POPUP, 700, 50, 120, 80,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    };
    const HWND ours = popUp(), notOurs = popUp();
    const auto show = [](HWND window) {
        ShowWindow(window, SW_SHOWNOACTIVATE);
        NotifyWinEvent(EVENT_OBJECT_SHOW, window, OBJID_WINDOW, CHILDID_SELF);
    };
    const auto move = [&](const ChatWindow& chat, int left, int top) {
        SetWindowPos(toHwnd(chat.window()), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };
    int calls = 0;
    bool inCall = false, calledInside = false;
    WinWindowEvents events([&] { ++calls, calledInside = calledInside || inCall; }, {fromHwnd(ours)});
    ASSERT_TRUE(events.hooked());

    const struct {
        const char* what;
        std::function<void()> act;
        bool reported;
    } steps[] = {
        {"the first chat window comes to the front", [&] { desktop.setForegroundWindow(first.window()); }, true},
        {"it moves", [&] { move(first, 300, 200); }, true},
        {"it is retitled", [&] { SetWindowTextW(toHwnd(first.window()), L"QQ2010"); }, true},
        {"ours is shown", [&] { show(ours); }, true},
        {"another window of this program is shown", [&] { show(notOurs); }, false},
        {"the second comes to the front", [&] { desktop.setForegroundWindow(second.window()); }, true},
        {"the first, behind it, moves", [&] { move(first, 150, 120); }, false},
        {"the second, in front, is dragged", [&] { for (int i = 0; i < 20; ++i) move(second, 250 + 10 * i, 150); }, true},
        {"the work area changes",
         [] { SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0, SMTO_ABORTIFHUNG, 2000, nullptr); },
         true},
    };
    for (const auto& step : steps) {
        runMessages(300);  // what the step before left behind
        calls = 0;
        inCall = true;
        step.act();
        inCall = false;
        if (step.reported) waitUntil([&] { return calls > 0; }, 3000);
        runMessages(300);
        EXPECT_EQ(calls, step.reported ? 1 : 0) << step.what << ": once, however many events came meanwhile";
    }
    EXPECT_FALSE(calledInside) << "a report ran inside a call of ours";
    DestroyWindow(ours);
    DestroyWindow(notOurs);
}

}  // namespace tovlo::test

// The window events that wake the tracking tick, against test chat windows in
// other processes under Wine. Wine 8 raises none of these events itself: the
// test chat window raises those Windows raises for it, and the test those
// for its own windows and the work area, so what is tried here is the hooks'
// reach, their choice of events and the way the reports reach the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>

#include "chat_window.h"
#include "platform/win/win_desktop.h"
#include "platform/win/win_window_events.h"

namespace tovlo::test {

namespace {

HWND toHwnd(WindowHandle window) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)); }
WindowHandle fromHwnd(HWND window) { return reinterpret_cast<std::uintptr_t>(window); }

HWND popUp() {
    return CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"STATIC", L"ours", WS_POPUP, 700, 50, 120, 80, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

void moveTo(const ChatWindow& chat, int left, int top) {
    SetWindowPos(toHwnd(chat.window()), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

TEST(WinWindowEvents, ChangesOfTheWindowInFrontAndOfOursAreReportedFromTheMessageLoop) {
    WinDesktop desktop;
    ChatWindow first({"张三", "--raise-events"});
    ChatWindow second({"李四", "--raise-events"});
    ASSERT_NE(first.window(), 0u);
    ASSERT_NE(second.window(), 0u);
    HWND ours = popUp(), notOurs = popUp();

    int calls = 0;
    bool inCall = false, calledInside = false;
    WinWindowEvents events(
        [&] {
            ++calls;
            calledInside = calledInside || inCall;
        },
        {fromHwnd(ours)});
    ASSERT_TRUE(events.hooked());

    // Windows raises these for our own windows, and tells every top-level
    // window of a new work area; Wine does neither.
    const auto showAs = [](HWND window, bool shown) {
        ShowWindow(window, shown ? SW_SHOWNOACTIVATE : SW_HIDE);
        NotifyWinEvent(shown ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE, window, OBJID_WINDOW, CHILDID_SELF);
    };

    const auto dragSecond = [&] {
        for (int i = 0; i < 20; ++i) moveTo(second, 250 + 10 * i, 150 + 5 * i);
    };
    const auto newWorkArea = [] {
        SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        bool reported;
    };
    const Step steps[] = {
        {"the first chat window comes to the front", [&] { desktop.setForegroundWindow(first.window()); }, true},
        {"it moves", [&] { moveTo(first, 300, 200); }, true},
        {"it is retitled", [&] { SetWindowTextW(toHwnd(first.window()), L"QQ2010"); }, true},
        {"ours is shown", [&] { showAs(ours, true); }, true},
        {"ours is hidden", [&] { showAs(ours, false); }, true},
        {"another window of this program is shown", [&] { showAs(notOurs, true); }, false},
        {"the second comes to the front", [&] { desktop.setForegroundWindow(second.window()); }, true},
        {"the first, behind it, moves", [&] { moveTo(first, 150, 120); }, false},
        {"the second, in front, is dragged", dragSecond, true},
        {"the work area changes", newWorkArea, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        runMessages(300);  // what the step before left behind
        calls = 0;
        inCall = true;
        step.act();
        inCall = false;
        if (step.reported) waitUntil([&] { return calls > 0; }, 3000);
        runMessages(300);
        EXPECT_EQ(calls, step.reported ? 1 : 0) << "once, however many events came meanwhile";
    }
    EXPECT_FALSE(calledInside) << "a report ran inside a call of ours";
    DestroyWindow(ours);
    DestroyWindow(notOurs);
}

}  // namespace tovlo::test

// Starting programs with CreateProcess: the argument arrives whole as one
// argument (the test chat window takes it as its title), a wait keeps the
// program's timers running and ends when the program has, and what cannot
// start says so.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "chat_window.h"
#include "platform/win/win_desktop.h"
#include "platform/win/win_event_loop.h"
#include "platform/win/win_processes.h"

namespace tovlo::test {

namespace {

std::string fakeqq() { return programFolder() + "\\fakeqq_win.exe"; }

// The window a report file names once it is ready, or 0.
WindowHandle readyWindow(const std::string& report) {
    const std::string text = readBytes(report);
    const std::size_t at = text.find("ready ");
    return at == std::string::npos ? 0 : std::stoull(text.substr(at + 6));
}

}  // namespace

TEST(WinProcesses, TheArgumentArrivesWholeAsOneArgument) {
    WinEventLoop loop;
    WinProcesses processes(loop);
    WinDesktop desktop;
    TempDir dir;
    const std::string arguments[] = {
        "1.2",
        "张三 和 李四",
        "say \"hi\" to C:\\Program Files\\ and \\\"more\\\\",
        "trailing backslash\\",
    };
    int n = 0;
    for (const std::string& argument : arguments) {
        SCOPED_TRACE(argument);
        const std::string report = dir / ("report" + std::to_string(n++) + ".txt");
        {
            ReportTo to(report);
            ASSERT_TRUE(processes.startDetached(fakeqq(), argument));
        }
        ASSERT_TRUE(waitUntil([&] { return readyWindow(report) != 0; }));
        const WindowHandle window = readyWindow(report);
        EXPECT_EQ(desktop.windowTitle(window), argument);
        PostMessageW(reinterpret_cast<HWND>(window), WM_CLOSE, 0, 0);
    }
}

TEST(WinProcesses, AWaitRunsTheLoopUntilTheProgramHasEnded) {
    WinEventLoop loop;
    WinProcesses processes(loop);
    TempDir dir;
    const std::string report = dir / "report.txt";
    // While the wait goes on, a timer of ours closes the program's window
    // once it is there; the program then ends.
    int ticks = 0;
    WindowHandle closed = 0;
    auto timer = loop.createTimer(50, true);
    timer->onTick = [&] {
        ++ticks;
        if (closed == 0 && (closed = readyWindow(report)) != 0)
            PostMessageW(reinterpret_cast<HWND>(closed), WM_CLOSE, 0, 0);
    };
    {
        ReportTo to(report);
        EXPECT_TRUE(processes.runAndWait(fakeqq(), "王五"));
    }
    EXPECT_NE(closed, 0u) << "the timer ran during the wait";
    EXPECT_GT(ticks, 0);
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(closed))) << "returned only once the program had ended";
}

TEST(WinProcesses, WhatCannotStartIsReported) {
    WinEventLoop loop;
    WinProcesses processes(loop);
    const std::string missing = programFolder() + "\\no-such-program.exe";
    EXPECT_FALSE(processes.startDetached(missing, "x"));
    EXPECT_FALSE(processes.runAndWait(missing, "x"));
    // Only web addresses are handed to the browser: anything else could be
    // run as a program.
    for (const char* text : {"C:\\Windows\\notepad.exe", "file:///C:/x.html", "javascript:alert(1)", ""})
        EXPECT_FALSE(processes.openUrl(text)) << text;
}

}  // namespace tovlo::test

#pragma once
// Event loop and timers on the Win32 message queue of the thread that makes
// the loop. Timers are SetTimer timers of a message-only window of the loop.
// As with the timer control: enabling a timer starts its interval from now,
// a new interval counts from when it is set, a timer disabled (even inside
// its own tick) does not fire again, and a tick never runs inside a tick of
// the same timer.
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "platform/event_loop.h"

struct HWND__;

namespace tovlo {

class WinTimer;

class WinEventLoop : public EventLoop {
public:
    WinEventLoop();
    ~WinEventLoop() override;
    WinEventLoop(const WinEventLoop&) = delete;
    WinEventLoop& operator=(const WinEventLoop&) = delete;

    std::unique_ptr<Timer> createTimer(int intervalMs, bool enabled, TimerKind kind = TimerKind::Command) override;
    // Dispatches every message waiting in the thread's queue.
    void processEvents() override;
    std::int64_t nowMs() const override;
    void quit() override;

    // Dispatches messages until quit() (or a WM_QUIT from elsewhere).
    void run();
    bool quitRequested() const { return quitRequested_; }

private:
    friend class WinTimer;
    friend struct WinEventLoopWindow;
    // A WM_TIMER of the loop's window.
    void timerMessage(std::uintptr_t id);

    HWND__* window_ = nullptr;
    std::unordered_map<std::uintptr_t, WinTimer*> timers_;
    std::uintptr_t nextTimerId_ = 1;
    bool quitRequested_ = false;
};

}  // namespace tovlo

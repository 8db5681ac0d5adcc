#pragma once
// Event loop and timers. Timers follow the behaviour of the classic desktop
// timer control: enabling a timer starts its interval from now, and a timer
// that is disabled (even inside its own tick) does not fire again until it is
// enabled anew.
#include <cstdint>
#include <functional>
#include <memory>

namespace tovlo {

class Timer {
public:
    virtual ~Timer() = default;
    virtual void setInterval(int ms) = 0;  // restarts the count when enabled
    virtual int interval() const = 0;
    virtual void setEnabled(bool on) = 0;  // enabling restarts the count
    virtual bool enabled() const = 0;
    std::function<void()> onTick;
};

// What a timer's tick does. Most ticks are commands of the logic (see
// platform/commands.h): one that falls due while a command runs waits for it
// to end. A tick that only moves our windows (the tracking tick, a window
// sliding in) runs while a command waits, as painting does.
enum class TimerKind { Command, MovesWindows };

class EventLoop {
public:
    virtual ~EventLoop() = default;
    virtual std::unique_ptr<Timer> createTimer(int intervalMs, bool enabled, TimerKind kind = TimerKind::Command) = 0;
    // Runs pending events once (the message pump). The caller waits in it:
    // the events of the logic that arrive wait for the running command.
    virtual void processEvents() = 0;
    // Milliseconds since the Unix epoch, wall clock (local time is derived from it).
    virtual std::int64_t nowMs() const = 0;
    // Ends the program's event loop (every window unloaded); asked for inside
    // a command, it happens when the command has ended.
    virtual void quit() = 0;
};

}  // namespace tovlo

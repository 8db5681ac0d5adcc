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

class EventLoop {
public:
    virtual ~EventLoop() = default;
    virtual std::unique_ptr<Timer> createTimer(int intervalMs, bool enabled) = 0;
    // Runs pending events once (the message pump).
    virtual void processEvents() = 0;
    // Milliseconds since the Unix epoch, wall clock (local time is derived from it).
    virtual std::int64_t nowMs() const = 0;
    // Ends the program's event loop (every window unloaded).
    virtual void quit() = 0;
};

}  // namespace tovlo

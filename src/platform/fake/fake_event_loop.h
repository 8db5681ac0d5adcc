#pragma once
// A virtual clock: time moves only when a test advances it, and the timers
// due in that span fire in time order (creation order on a tie).
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/event_loop.h"

namespace tovlo {

class FakeEventLoop : public EventLoop {
public:
    explicit FakeEventLoop(std::int64_t startEpochMs = 1796637600000);  // 2026-12-07 10:00 UTC
    ~FakeEventLoop() override;

    std::unique_ptr<Timer> createTimer(int intervalMs, bool enabled, TimerKind kind = TimerKind::Command) override;
    // What a test lets happen while the program pumps events (a wait).
    void processEvents() override;
    std::function<void()> onProcessEvents;
    std::int64_t nowMs() const override { return now_; }
    // Asked for inside a command, the quit happens when it has ended.
    void quit() override;

    // Moves the clock forward by ms, firing every timer that falls due.
    void advance(std::int64_t ms);

    int pumps = 0;
    bool quitRequested = false;

private:
    friend class FakeTimer;
    std::int64_t now_;
    std::vector<class FakeTimer*> timers_;
};

}  // namespace tovlo

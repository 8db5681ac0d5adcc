#pragma once
// Event loop and timers on Qt.
#include "platform/event_loop.h"

namespace tovlo {

class QtEventLoop : public EventLoop {
public:
    std::unique_ptr<Timer> createTimer(int intervalMs, bool enabled, TimerKind kind = TimerKind::Command) override;
    void processEvents() override;
    std::int64_t nowMs() const override;
    void quit() override;
};

}  // namespace tovlo

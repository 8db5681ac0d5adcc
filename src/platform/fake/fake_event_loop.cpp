#include "fake_event_loop.h"

#include <algorithm>

#include "platform/commands.h"
#include "platform/nested_wait.h"

namespace tovlo {

class FakeTimer : public Timer {
public:
    FakeTimer(FakeEventLoop& loop, int interval, bool enabled, TimerKind kind)
        : loop_(loop), interval_(interval), ticks_(*this, kind) {
        loop_.timers_.push_back(this);
        setEnabled(enabled);
    }
    ~FakeTimer() override {
        auto& all = loop_.timers_;
        all.erase(std::remove(all.begin(), all.end(), this), all.end());
    }
    void setInterval(int ms) override {
        interval_ = ms;
        if (enabled_) due_ = loop_.now_ + interval_;
    }
    int interval() const override { return interval_; }
    void setEnabled(bool on) override {
        if (on == enabled_) return;
        enabled_ = on;
        if (on) due_ = loop_.now_ + interval_;
    }
    bool enabled() const override { return enabled_; }

    bool armed() const { return enabled_ && interval_ > 0; }
    std::int64_t due() const { return due_; }
    void fire() {
        due_ += interval_;
        ticks_.due([this] { due_ = loop_.now_ + interval_; });
    }

private:
    FakeEventLoop& loop_;
    int interval_;
    bool enabled_ = false;
    std::int64_t due_ = 0;
    TimerTicks ticks_;
};

FakeEventLoop::FakeEventLoop(std::int64_t startEpochMs) : now_(startEpochMs) {}

FakeEventLoop::~FakeEventLoop() = default;

std::unique_ptr<Timer> FakeEventLoop::createTimer(int intervalMs, bool enabled, TimerKind kind) {
    return std::make_unique<FakeTimer>(*this, intervalMs, enabled, kind);
}

void FakeEventLoop::processEvents() {
    ++pumps;
    NestedWaits::Scope pumping;
    if (onProcessEvents) onProcessEvents();
}

void FakeEventLoop::quit() {
    Commands::deliver([this] { quitRequested = true; });
}

void FakeEventLoop::advance(std::int64_t ms) {
    const std::int64_t target = now_ + ms;
    for (;;) {
        FakeTimer* next = nullptr;
        for (FakeTimer* t : timers_)
            if (t->armed() && t->due() <= target && (!next || t->due() < next->due())) next = t;
        if (!next) break;
        now_ = next->due();
        next->fire();
    }
    now_ = target;
}

}  // namespace tovlo

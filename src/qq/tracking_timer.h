#pragma once
// When the tracking tick runs. Where the desktop reports its changes, the
// tick runs after a change (at most once a frame, however many come) and not
// at all while nothing changes; where it cannot, the tick runs every
// interval as a plain timer does. Either way it is switched on and off like
// any timer, and its first tick comes one interval after it is switched on
// (the chat window may have moved meanwhile).
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/desktop.h"
#include "platform/event_loop.h"

namespace tovlo {

class TrackingTimer : public Timer {
public:
    // The shortest time between two ticks run by changes: one frame of a
    // 60 Hz screen, so a dragged window is followed frame by frame.
    static constexpr int kFrameMs = 16;

    TrackingTimer(EventLoop& loop, Desktop& desktop, int intervalMs, bool enabled);
    ~TrackingTimer() override;

    // Asks the desktop for its change reports; `ours` names our own windows,
    // whose showing and hiding counts as a change. It is asked again after
    // every tick: a toolkit may replace a window when its flags change.
    void watch(std::function<std::vector<WindowHandle>()> ours);

    // Asked after each tick run by a change: whether the tick wants another
    // look one interval later although nothing may be reported by then (no
    // window in front: the focus may be passing between two windows).
    std::function<bool()> wantsAnotherLook;

    void setInterval(int ms) override;
    int interval() const override { return interval_; }
    void setEnabled(bool on) override;
    bool enabled() const override { return enabled_; }

private:
    void changed();
    void run();
    void lookIn(int ms);
    void watchOurs();

    EventLoop& loop_;
    Desktop& desktop_;
    int interval_;
    bool enabled_ = false;
    bool ticking_ = false;
    std::int64_t lastTick_ = 0;
    std::function<std::vector<WindowHandle>()> ours_;
    std::vector<WindowHandle> watchedOurs_;
    // Ticks every interval while the desktop reports nothing.
    std::unique_ptr<Timer> poll_;
    // One tick a little later: a frame after the last, or an interval after
    // being switched on.
    std::unique_ptr<Timer> soon_;
};

}  // namespace tovlo

#include "tracking_timer.h"

namespace tovlo {

TrackingTimer::TrackingTimer(EventLoop& loop, Desktop& desktop, int intervalMs, bool enabled)
    : loop_(loop),
      desktop_(desktop),
      interval_(intervalMs),
      poll_(loop.createTimer(intervalMs, false, TimerKind::MovesWindows)),
      soon_(loop.createTimer(intervalMs, false, TimerKind::MovesWindows)) {
    poll_->onTick = [this] { run(); };
    soon_->onTick = [this] { run(); };
    setEnabled(enabled);
}

TrackingTimer::~TrackingTimer() {
    if (ours_) desktop_.watchChanges(nullptr, {});
}

void TrackingTimer::watch(std::function<std::vector<WindowHandle>()> ours) {
    ours_ = std::move(ours);
    watchedOurs_ = ours_();
    desktop_.watchChanges([this] { changed(); }, watchedOurs_);
    setEnabled(enabled_);
}

void TrackingTimer::watchOurs() {
    if (!ours_) return;
    std::vector<WindowHandle> now = ours_();
    if (now == watchedOurs_) return;
    watchedOurs_ = std::move(now);
    desktop_.watchChanges([this] { changed(); }, watchedOurs_);
}

void TrackingTimer::setInterval(int ms) {
    interval_ = ms;
    poll_->setInterval(ms);
    setEnabled(enabled_);
}

void TrackingTimer::setEnabled(bool on) {
    enabled_ = on;
    poll_->setEnabled(false);
    soon_->setEnabled(false);
    if (!on) return;
    if (desktop_.reportsChanges())
        lookIn(interval_);
    else
        poll_->setEnabled(true);
}

void TrackingTimer::changed() {
    // A change while the tick runs was read by the tick itself.
    if (!enabled_ || ticking_) return;
    const bool reporting = desktop_.reportsChanges();
    if (reporting == poll_->enabled()) {
        // The desktop began or stopped reporting (a window manager came or went).
        setEnabled(true);
        return;
    }
    if (!reporting) return;
    const std::int64_t since = loop_.nowMs() - lastTick_;
    if (since >= kFrameMs || since < 0)
        run();
    else if (!soon_->enabled())
        lookIn(static_cast<int>(kFrameMs - since));
}

void TrackingTimer::run() {
    soon_->setEnabled(false);
    lastTick_ = loop_.nowMs();
    ticking_ = true;
    if (onTick) onTick();
    ticking_ = false;
    watchOurs();
    if (enabled_ && !poll_->enabled() && wantsAnotherLook && wantsAnotherLook())
        lookIn(interval_);
}

void TrackingTimer::lookIn(int ms) {
    soon_->setInterval(ms);
    soon_->setEnabled(true);
}

}  // namespace tovlo

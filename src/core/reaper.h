#pragma once
// Destroys retired windows and panels once nothing of theirs can still be
// running: after the event that retired them has returned, and never while a
// nested wait runs (a panel or window may close itself from inside its own
// command, timer or a modal wait, and must outlive that call).
#include <memory>
#include <vector>

#include "platform/event_loop.h"
#include "platform/nested_wait.h"

namespace tovlo {

class Reaper {
public:
    explicit Reaper(EventLoop& loop) : timer_(loop.createTimer(1, false)) {
        timer_->onTick = [this] {
            // Inside a nested wait the caller of the wait may belong to a
            // retired object: try again once the wait is over.
            if (NestedWaits::depth() > 0) return;
            timer_->setEnabled(false);
            retired_.clear();
        };
    }
    void retire(std::shared_ptr<void> gone) {
        retired_.push_back(std::move(gone));
        timer_->setEnabled(true);
    }
    bool holds() const { return !retired_.empty(); }

private:
    std::unique_ptr<Timer> timer_;
    std::vector<std::shared_ptr<void>> retired_;
};

}  // namespace tovlo

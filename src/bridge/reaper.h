#pragma once
// Destroys retired windows and panels once the event that retired them has
// returned: a panel or window may close itself from inside its own command
// or timer, and must outlive that call.
#include <memory>
#include <vector>

#include "core/command_target.h"
#include "platform/event_loop.h"

namespace tovlo {

class Reaper {
public:
    explicit Reaper(EventLoop& loop) : timer_(loop.createTimer(1, false)) {
        timer_->onTick = [this] {
            timer_->setEnabled(false);
            retired_.clear();
        };
    }
    void retire(std::unique_ptr<CommandTarget> gone) {
        retired_.push_back(std::move(gone));
        timer_->setEnabled(true);
    }

private:
    std::unique_ptr<Timer> timer_;
    std::vector<std::unique_ptr<CommandTarget>> retired_;
};

}  // namespace tovlo

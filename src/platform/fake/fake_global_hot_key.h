#pragma once
// A hot key a test presses; combinations a test marks as taken by another
// program are refused, as the desktop refuses them.
#include <optional>
#include <vector>

#include "platform/commands.h"
#include "platform/hot_key.h"

namespace tovlo {

class FakeGlobalHotKey : public GlobalHotKey {
public:
    bool bind(const HotKey& key, std::function<void()> pressed) override {
        for (const HotKey& t : taken)
            if (t == key) return false;
        bound = key;
        pressed_ = std::move(pressed);
        return true;
    }
    void unbind() override {
        bound.reset();
        pressed_ = nullptr;
    }
    // The user presses the bound combination.
    void press() {
        if (pressed_) source_.deliver(pressed_);
    }

    std::optional<HotKey> bound;
    std::vector<HotKey> taken;

private:
    std::function<void()> pressed_;
    EventSource source_{"the hot key"};
};

}  // namespace tovlo

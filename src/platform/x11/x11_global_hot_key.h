#pragma once
// The hot key on X11: a passive grab of the combination on the root window,
// on a connection of its own, so that its presses are read from the event
// loop only and never inside a call of the desktop.
#include <memory>
#include <optional>

#include "platform/commands.h"
#include "platform/hot_key.h"

namespace tovlo {

class X11Connection;

class X11GlobalHotKey : public GlobalHotKey {
public:
    // Connects to the display (nullptr: $DISPLAY); nullptr when there is none.
    static std::unique_ptr<X11GlobalHotKey> connect(const char* displayName = nullptr);
    ~X11GlobalHotKey() override;

    bool bind(const HotKey& key, std::function<void()> pressed) override;
    void unbind() override;

    // For the program's event loop, as the desktop's.
    int socket() const;
    bool eventsWaiting() const;
    void handleEvents();

private:
    struct Grab {
        unsigned keycode = 0;
        unsigned modifiers = 0;  // X modifier masks
        bool operator==(const Grab&) const = default;
    };
    explicit X11GlobalHotKey(std::unique_ptr<X11Connection> x);
    std::optional<Grab> grabFor(const HotKey& key) const;
    // Grabs the combination with every state of Caps Lock and Num Lock;
    // false, with nothing grabbed, when the server refuses any of them.
    bool grab(const Grab& g);
    void ungrab(const Grab& g);

    std::unique_ptr<X11Connection> x_;
    std::optional<Grab> grabbed_;
    std::function<void()> pressed_;
    // The combination is down: the keyboard's repeats are not presses.
    bool down_ = false;
    EventSource source_{"the hot key"};
};

}  // namespace tovlo

#include "x11_global_hot_key.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include "x11_connection.h"

namespace tovlo {

namespace {

// The modifiers a combination is made of; the others (Caps Lock, Num Lock
// and the like) may be on or off when it is pressed.
constexpr unsigned kCombinationMasks = ShiftMask | ControlMask | Mod1Mask | Mod4Mask;
// Caps Lock and Num Lock (Mod2 on every common keyboard map).
constexpr unsigned kLockStates[] = {0, LockMask, Mod2Mask, LockMask | Mod2Mask};

KeySym keysymOf(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') return XK_a + (virtualKey - 'A');
    if (virtualKey >= '0' && virtualKey <= '9') return XK_0 + (virtualKey - '0');
    if (virtualKey >= kVkF1 && virtualKey <= kVkF12) return XK_F1 + (virtualKey - kVkF1);
    return NoSymbol;
}

}  // namespace

std::unique_ptr<X11GlobalHotKey> X11GlobalHotKey::connect(const char* displayName) {
    std::unique_ptr<X11Connection> x = X11Connection::open(displayName);
    if (!x) return nullptr;
    return std::unique_ptr<X11GlobalHotKey>(new X11GlobalHotKey(std::move(x)));
}

X11GlobalHotKey::X11GlobalHotKey(std::unique_ptr<X11Connection> x) : x_(std::move(x)) {
    // A held combination repeats as presses alone, without releases between,
    // so that holding it down counts once.
    Bool detectable = False;
    XkbSetDetectableAutoRepeat(x_->display(), True, &detectable);
    x_->setEventHandler([this](const XEvent& e) {
        if (!grabbed_ || (e.type != KeyPress && e.type != KeyRelease) || e.xkey.keycode != grabbed_->keycode) return;
        if (e.type == KeyRelease) {
            down_ = false;
            return;
        }
        if ((e.xkey.state & kCombinationMasks) != grabbed_->modifiers || down_) return;
        down_ = true;
        if (pressed_) source_.deliver(pressed_);
    });
}

X11GlobalHotKey::~X11GlobalHotKey() { unbind(); }

std::optional<X11GlobalHotKey::Grab> X11GlobalHotKey::grabFor(const HotKey& key) const {
    const KeySym sym = keysymOf(key.key);
    const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(x_->display(), sym);
    if (code == 0) return std::nullopt;
    Grab g{code, 0};
    if (key.modifiers & HotKey::Ctrl) g.modifiers |= ControlMask;
    if (key.modifiers & HotKey::Alt) g.modifiers |= Mod1Mask;
    if (key.modifiers & HotKey::Shift) g.modifiers |= ShiftMask;
    if (key.modifiers & HotKey::Win) g.modifiers |= Mod4Mask;
    return g;
}

bool X11GlobalHotKey::grab(const Grab& g) {
    Display* d = x_->display();
    const int errorsBefore = x_->errorCount();
    for (unsigned lock : kLockStates)
        XGrabKey(d, static_cast<int>(g.keycode), g.modifiers | lock, x_->root(), False, GrabModeAsync, GrabModeAsync);
    // Another client's grab of the same keys is refused (BadAccess).
    XSync(d, False);
    if (x_->errorCount() == errorsBefore) return true;
    ungrab(g);
    return false;
}

void X11GlobalHotKey::ungrab(const Grab& g) {
    for (unsigned lock : kLockStates)
        XUngrabKey(x_->display(), static_cast<int>(g.keycode), g.modifiers | lock, x_->root());
    XSync(x_->display(), False);
}

bool X11GlobalHotKey::bind(const HotKey& key, std::function<void()> pressed) {
    const std::optional<Grab> g = grabFor(key);
    if (!g) return false;
    if (g != grabbed_) {
        // The new combination is grabbed before the old one is let go: a
        // refused one leaves the old one working.
        if (!grab(*g)) return false;
        if (grabbed_) ungrab(*grabbed_);
        grabbed_ = g;
        down_ = false;
    }
    pressed_ = std::move(pressed);
    return true;
}

void X11GlobalHotKey::unbind() {
    if (grabbed_) ungrab(*grabbed_);
    grabbed_.reset();
    pressed_ = nullptr;
}

int X11GlobalHotKey::socket() const { return ConnectionNumber(x_->display()); }

bool X11GlobalHotKey::eventsWaiting() const { return XEventsQueued(x_->display(), QueuedAlready) > 0; }

void X11GlobalHotKey::handleEvents() { x_->drainEvents(); }

}  // namespace tovlo

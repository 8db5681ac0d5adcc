#pragma once
// One connection of our own to the X server: the display, the atoms the
// desktop and clipboard code use (interned once), a small invisible window of
// our own, waiting for an event with a time-out, and the server's clock.
//
// Errors caused by this connection's requests (a window that died between two
// calls, say) are recorded and otherwise ignored: Xlib's default handler would
// print them and end the process.
#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace tovlo {

struct X11Atoms {
    Atom utf8String;
    Atom compoundText;
    Atom netWmName;
    Atom netActiveWindow;
    Atom netFrameExtents;
    Atom netSupportingWmCheck;
    Atom netSupported;
    Atom clipboard;
    Atom targets;
    Atom incr;
    Atom multiple;
    Atom timestamp;
    Atom saveTargets;
    Atom transfer;   // the property on our window that selection data is delivered to
    Atom timeProbe;  // the property we touch to learn the server's time
    Atom netWorkArea;
    Atom netCurrentDesktop;
};

class X11Connection {
public:
    // Opens the display (nullptr: $DISPLAY); nullptr when it cannot be reached.
    static std::unique_ptr<X11Connection> open(const char* displayName = nullptr);
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    Display* display() const { return display_; }
    Window root() const { return root_; }
    const X11Atoms& atoms() const { return atoms_; }
    // An unmapped input-only window that reports its own property changes.
    Window ownWindow() const { return ownWindow_; }

    // Events that arrive while nobody waits for them go here (default: dropped).
    void setEventHandler(std::function<void(const XEvent&)> handler) { handler_ = std::move(handler); }
    // Hands every event already received to the handler, without a round trip.
    void drainEvents();
    // Waits for the first event that `wanted` accepts, handing all others to
    // the handler; nothing when none came within the time.
    std::optional<XEvent> waitForEvent(const std::function<bool(const XEvent&)>& wanted,
                                       std::chrono::milliseconds timeout);

    // The server's current time, learnt from a property change on our window;
    // CurrentTime when the server did not answer in time.
    Time serverTime();

    // Errors of this connection's requests seen so far, and the last one's code.
    int errorCount() const { return errorCount_; }
    int lastErrorCode() const { return lastErrorCode_; }
    void recordError(const XErrorEvent& error);

private:
    explicit X11Connection(Display* display);

    Display* display_;
    Window root_;
    X11Atoms atoms_{};
    Window ownWindow_ = 0;
    std::function<void(const XEvent&)> handler_;
    int errorCount_ = 0;
    int lastErrorCode_ = 0;
};

}  // namespace tovlo

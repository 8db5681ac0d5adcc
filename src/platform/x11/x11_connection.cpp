#include "x11_connection.h"

#include <X11/Xatom.h>
#include <poll.h>

#include <array>
#include <mutex>
#include <vector>

namespace tovlo {

namespace {

// Xlib has one error handler for the whole process. Ours takes the errors of
// our own connections and passes every other display's errors on to the
// handler that was installed before it (the toolkit's, or Xlib's default).
std::mutex registryMutex;
std::vector<X11Connection*> connections;
XErrorHandler previousHandler = nullptr;

int recordOwnErrors(Display* display, XErrorEvent* error) {
    XErrorHandler next;
    {
        std::lock_guard lock(registryMutex);
        for (X11Connection* c : connections) {
            if (c->display() == display) {
                c->recordError(*error);
                return 0;
            }
        }
        next = previousHandler;
    }
    return next ? next(display, error) : 0;
}

void registerConnection(X11Connection* c) {
    std::lock_guard lock(registryMutex);
    if (connections.empty()) previousHandler = XSetErrorHandler(recordOwnErrors);
    connections.push_back(c);
}

void unregisterConnection(X11Connection* c) {
    std::lock_guard lock(registryMutex);
    std::erase(connections, c);
    if (!connections.empty()) return;
    // Put the earlier handler back, unless someone has replaced ours since.
    XErrorHandler current = XSetErrorHandler(previousHandler);
    if (current != recordOwnErrors) XSetErrorHandler(current);
    previousHandler = nullptr;
}

X11Atoms internAtoms(Display* display) {
    std::array<const char*, 17> names = {
        "UTF8_STRING",
        "COMPOUND_TEXT",
        "_NET_WM_NAME",
        "_NET_ACTIVE_WINDOW",
        "_NET_FRAME_EXTENTS",
        "_NET_SUPPORTING_WM_CHECK",
        "_NET_SUPPORTED",
        "CLIPBOARD",
        "TARGETS",
        "INCR",
        "MULTIPLE",
        "TIMESTAMP",
        "SAVE_TARGETS",
        "TOVLO_TRANSFER",
        "TOVLO_TIME_PROBE",
        "_NET_WORKAREA",
        "_NET_CURRENT_DESKTOP",
    };
    std::array<Atom, names.size()> a{};
    XInternAtoms(display, const_cast<char**>(names.data()), names.size(), False, a.data());
    return X11Atoms{a[0], a[1],  a[2],  a[3],  a[4],  a[5],  a[6],  a[7], a[8],
                    a[9], a[10], a[11], a[12], a[13], a[14], a[15], a[16]};
}

constexpr std::chrono::milliseconds kServerTimeWait{1000};

}  // namespace

std::unique_ptr<X11Connection> X11Connection::open(const char* displayName) {
    Display* display = XOpenDisplay(displayName);
    if (!display) return nullptr;
    return std::unique_ptr<X11Connection>(new X11Connection(display));
}

X11Connection::X11Connection(Display* display) : display_(display), root_(DefaultRootWindow(display)) {
    registerConnection(this);
    atoms_ = internAtoms(display_);
    XSetWindowAttributes attributes{};
    attributes.event_mask = PropertyChangeMask;
    ownWindow_ =
        XCreateWindow(display_, root_, -10, -10, 1, 1, 0, 0, InputOnly, CopyFromParent, CWEventMask, &attributes);
    XFlush(display_);
}

X11Connection::~X11Connection() {
    XDestroyWindow(display_, ownWindow_);
    XCloseDisplay(display_);
    unregisterConnection(this);
}

void X11Connection::recordError(const XErrorEvent& error) {
    ++errorCount_;
    lastErrorCode_ = error.error_code;
}

void X11Connection::drainEvents() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (handler_) handler_(event);
    }
}

std::optional<XEvent> X11Connection::waitForEvent(const std::function<bool(const XEvent&)>& wanted,
                                                  std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (wanted(event)) return event;
            if (handler_) handler_(event);
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd socket{ConnectionNumber(display_), POLLIN, 0};
        poll(&socket, 1, static_cast<int>(left.count()));
    }
}

Time X11Connection::serverTime() {
    // Appending nothing to a property still makes the server report a
    // PropertyNotify, stamped with its current time.
    XChangeProperty(display_, ownWindow_, atoms_.timeProbe, XA_STRING, 8, PropModeAppend, nullptr, 0);
    std::optional<XEvent> event = waitForEvent(
        [this](const XEvent& e) {
            return e.type == PropertyNotify && e.xproperty.window == ownWindow_ && e.xproperty.atom == atoms_.timeProbe;
        },
        kServerTimeWait);
    return event ? event->xproperty.time : CurrentTime;
}

}  // namespace tovlo

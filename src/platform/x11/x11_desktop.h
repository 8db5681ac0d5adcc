#pragma once
// The desktop on X11 through Xlib and XTest, on a connection of its own.
// Window handles are the X ids of client windows (the windows that carry
// WM_CLASS and the title), so our own top-level windows compare equal to
// their toolkit window ids.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/desktop.h"

namespace tovlo {

class X11Connection;
class X11WindowCache;
class X11Screens;
struct WatchedWindow;

class X11Desktop : public Desktop {
public:
    // Connects to the display (nullptr: $DISPLAY); nullptr when there is none.
    static std::unique_ptr<X11Desktop> connect(const char* displayName = nullptr);
    ~X11Desktop() override;

    WindowHandle foregroundWindow() const override;
    std::string windowTitle(WindowHandle window) const override;
    std::string windowClass(WindowHandle window) const override;
    Rect windowRect(WindowHandle window) const override;
    void setForegroundWindow(WindowHandle window) override;
    void sendKey(int virtualKey, bool down) override;
    ScreenSize screenSize() const override;
    Rect workArea(const Rect& window) const override;
    // Changes are reported while a window manager keeps _NET_ACTIVE_WINDOW;
    // without one the focus can move unannounced.
    void watchChanges(std::function<void()> changed, std::vector<WindowHandle> ours) override;
    bool reportsChanges() const override;

    // For the program's event loop: the connection's socket, readable when
    // the server has sent something; whether events have been read from it
    // already (by any call of ours) and wait to be handled; and handling
    // them, which calls the `changed` of watchChanges once when any of them
    // was a change.
    int socket() const;
    bool eventsWaiting() const;
    void handleEvents();

    // How many of the display's pixels make one pixel of our own windows
    // (the toolkit's scale, 2 on a screen at 200 %): rectangles and sizes
    // are given in our windows' pixels, so that docking lines them up.
    void setScale(double scale) { scale_ = scale > 0 ? scale : 1; }

    // The connection, with its record of ignored errors.
    X11Connection& connection() const { return *x_; }

private:
    explicit X11Desktop(std::unique_ptr<X11Connection> x);
    // Whether a window manager keeps _NET_ACTIVE_WINDOW; looked up again
    // after the window manager changed.
    bool windowManagerActivates() const;
    void checkWindowManager() const;
    WindowHandle focusedClient() const;
    WindowHandle clientWindowOf(unsigned long window) const;
    // The cache entry of a window, with every change reported so far applied.
    WatchedWindow& watched(WindowHandle window) const;
    // Applies the changes the server has reported. The questions of one
    // tracking tick (the active window, then its title, class and frame)
    // come within microseconds: the connection is read once for them, not
    // once per question.
    void applyReportedChanges() const;
    // The outer frame as the server has it now; nothing for a dead window.
    std::optional<Rect> measureWindow(WindowHandle window) const;
    // A rectangle of the display in our windows' pixels.
    Rect scaled(const Rect& r) const;

    std::unique_ptr<X11Connection> x_;
    // Answers about windows and the active window, kept until the server
    // reports a change.
    std::unique_ptr<X11WindowCache> windows_;
    std::unique_ptr<X11Screens> screens_;
    mutable bool activeKnown_ = false;
    mutable WindowHandle activeWindow_ = 0;
    bool hasXTest_ = false;
    double scale_ = 1;
    mutable bool wmKnown_ = false;
    mutable bool wmActivates_ = false;
    mutable unsigned long wmCheckWindow_ = 0;
    mutable std::chrono::steady_clock::time_point lastDrain_;
    std::function<void()> changed_;
    // A change came since `changed_` was last called; kept until
    // handleEvents, so it is never called inside one of our own calls.
    mutable bool changePending_ = false;
};

}  // namespace tovlo

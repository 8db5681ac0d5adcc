#pragma once
// The desktop as seen from outside our own windows: which window has the
// user's focus, its title, class and frame, bringing a window to the front,
// synthetic key strokes and the screen size.
#include <functional>
#include <string>
#include <vector>

#include "forms.h"
#include "geometry.h"

namespace tovlo {

// Virtual key codes of the keys the program types.
inline constexpr int kVkControl = 0x11;
inline constexpr int kVkV = 0x56;

struct ScreenSize {
    int width = 0;  // pixels
    int height = 0;
};

class Desktop {
public:
    virtual ~Desktop() = default;
    // The window with the user's focus, or 0 (focus in transition).
    virtual WindowHandle foregroundWindow() const = 0;
    // The window's title in UTF-8; "" for a window that no longer exists.
    virtual std::string windowTitle(WindowHandle window) const = 0;
    // The window's class name; "" for a window that no longer exists.
    virtual std::string windowClass(WindowHandle window) const = 0;
    // The window's outer frame in screen pixels; empty for a dead window.
    virtual Rect windowRect(WindowHandle window) const = 0;
    // Brings the window to the front with the keyboard focus. A failure
    // (no such window, refused by the window manager) is ignored.
    virtual void setForegroundWindow(WindowHandle window) = 0;
    // One synthetic key event, delivered to the window that has the focus.
    virtual void sendKey(int virtualKey, bool down) = 0;
    virtual ScreenSize screenSize() const = 0;
    // The work area (the screen less its task bars and docks) of the screen
    // that holds the window's frame: the one it overlaps most, or the
    // nearest when it is on none.
    virtual Rect workArea(const Rect& window) const = 0;

    // Change reports, so that the tracking tick can wait for something to
    // happen instead of looking 50 times a second. `changed` is called on
    // the program's thread from its event loop (never inside a call of this
    // interface) after the window in front changed, after that window's
    // title, place or size changed, after one of `ours` was shown or hidden,
    // after the work area changed, and when reportsChanges() changes. A
    // burst of changes (a window being dragged) gives a burst of calls.
    virtual void watchChanges(std::function<void()> changed, std::vector<WindowHandle> ours) {
        (void)changed;
        (void)ours;
    }
    // Whether changes are reported now. False where the desktop cannot tell
    // (no window manager keeps the active window, a hook could not be set):
    // the caller then has to look for itself.
    virtual bool reportsChanges() const { return false; }
};

}  // namespace tovlo

#pragma once
// The screens of the display and their work areas (a screen less the task
// bars and docks that the window manager reserves). Read once and kept until
// the server reports a change: the tracking tick asks at every placement.
#include <X11/Xlib.h>

#include <vector>

#include "platform/geometry.h"

namespace tovlo {

struct X11Atoms;

class X11Screens {
public:
    // The owner selects PropertyChangeMask and StructureNotifyMask on the
    // root and hands every event to handle(); RandR's are asked for here.
    X11Screens(Display* display, Window root, const X11Atoms& atoms);

    // The work area of the screen the window overlaps most, or of the
    // nearest screen when it overlaps none.
    Rect workAreaFor(const Rect& window);
    // Forgets what it read when the event says the screens or the work area
    // changed.
    void handle(const XEvent& e);

private:
    void read();

    Display* display_;
    Window root_;
    const X11Atoms& atoms_;
    int randrEventBase_ = -1;  // -1: the server has no RandR 1.5
    bool known_ = false;
    std::vector<Rect> screens_;
    Rect workArea_;  // the window manager's, over all screens; empty when it sets none
};

}  // namespace tovlo

#include "x11_screens.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <climits>

#include "x11_connection.h"
#include "x11_property.h"

namespace tovlo {

namespace {

// A window manager keeps one work area per virtual desktop; 64 is plenty.
constexpr long kWorkAreaLongs = 4 * 64;

Rect intersection(const Rect& a, const Rect& b) {
    const int left = std::max(a.left, b.left), top = std::max(a.top, b.top);
    const int right = std::min(a.right(), b.right()), bottom = std::min(a.bottom(), b.bottom());
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

long long area(const Rect& r) { return static_cast<long long>(r.width) * r.height; }

// How far apart two rectangles are (0 when they touch or overlap), squared.
long long gapBetween(const Rect& a, const Rect& b) {
    const long long dx = std::max({0, b.left - a.right(), a.left - b.right()});
    const long long dy = std::max({0, b.top - a.bottom(), a.top - b.bottom()});
    return dx * dx + dy * dy;
}

}  // namespace

X11Screens::X11Screens(Display* display, Window root, const X11Atoms& atoms)
    : display_(display), root_(root), atoms_(atoms) {
    int errorBase = 0, major = 0, minor = 0;
    if (XRRQueryExtension(display_, &randrEventBase_, &errorBase) && XRRQueryVersion(display_, &major, &minor) &&
        (major > 1 || (major == 1 && minor >= 5))) {
        XRRSelectInput(display_, root_, RRScreenChangeNotifyMask | RROutputChangeNotifyMask | RRCrtcChangeNotifyMask);
    } else {
        randrEventBase_ = -1;
    }
}

void X11Screens::handle(const XEvent& e) {
    if (e.type == PropertyNotify && e.xproperty.window == root_ &&
        (e.xproperty.atom == atoms_.netWorkArea || e.xproperty.atom == atoms_.netCurrentDesktop))
        known_ = false;
    else if (e.type == ConfigureNotify && e.xconfigure.window == root_)
        known_ = false;
    else if (randrEventBase_ >= 0 &&
             (e.type == randrEventBase_ + RRScreenChangeNotify || e.type == randrEventBase_ + RRNotify))
        known_ = false;
}

void X11Screens::read() {
    known_ = true;
    screens_.clear();
    if (randrEventBase_ >= 0) {
        int count = 0;
        if (XRRMonitorInfo* monitors = XRRGetMonitors(display_, root_, True, &count)) {
            for (int i = 0; i < count; ++i)
                screens_.push_back({monitors[i].x, monitors[i].y, monitors[i].width, monitors[i].height});
            XRRFreeMonitors(monitors);
        }
    }
    if (screens_.empty()) {
        const int screen = DefaultScreen(display_);
        screens_.push_back({0, 0, DisplayWidth(display_, screen), DisplayHeight(display_, screen)});
    }

    workArea_ = {};
    WindowProperty current(display_, root_, atoms_.netCurrentDesktop, XA_CARDINAL, 1);
    const unsigned long desktop = current.count() == 1 ? current.item(0) : 0;
    WindowProperty areas(display_, root_, atoms_.netWorkArea, XA_CARDINAL, kWorkAreaLongs);
    const unsigned long first = desktop * 4 + 3 < areas.count() ? desktop * 4 : 0;
    if (areas.count() >= first + 4)
        workArea_ = {static_cast<int>(areas.item(first)), static_cast<int>(areas.item(first + 1)),
                     static_cast<int>(areas.item(first + 2)), static_cast<int>(areas.item(first + 3))};
}

Rect X11Screens::workAreaFor(const Rect& window) {
    if (!known_) read();
    const Rect* best = &screens_.front();
    long long bestOverlap = -1, bestGap = LLONG_MAX;
    for (const Rect& screen : screens_) {
        const long long overlap = area(intersection(screen, window));
        const long long gap = gapBetween(screen, window);
        if (overlap > bestOverlap || (overlap == 0 && bestOverlap == 0 && gap < bestGap)) {
            best = &screen;
            bestOverlap = overlap;
            bestGap = gap;
        }
    }
    // The window manager's work area spans all screens; on each screen the
    // part that falls on it is what is left free there.
    const Rect free = intersection(*best, workArea_);
    return free.width > 0 ? free : *best;
}

}  // namespace tovlo

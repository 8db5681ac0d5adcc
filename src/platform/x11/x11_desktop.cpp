#include "x11_desktop.h"

#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cmath>

#include "x11_connection.h"
#include "x11_property.h"
#include "x11_screens.h"
#include "x11_window_cache.h"

namespace tovlo {

namespace {

// Titles are short; 1024 units (4 KB) holds any title the program will look at.
constexpr long kTextLongs = 1024;
// _NET_SUPPORTED lists a few hundred atoms at most.
constexpr long kSupportedLongs = 4096;
// How far below a frame window its client is looked for.
constexpr int kClientSearchDepth = 3;

// The keysym typed for a virtual key; NoSymbol for keys the program never types.
KeySym keysymOf(int virtualKey) {
    if (virtualKey == kVkControl) return XK_Control_L;
    if (virtualKey >= 'A' && virtualKey <= 'Z') return XK_a + (virtualKey - 'A');  // kVkV is 'V'
    return NoSymbol;
}

// Client windows are the ones that carry WM_CLASS.
bool carriesClass(Display* d, Window window) {
    WindowProperty cls(d, window, XA_WM_CLASS, AnyPropertyType, 0);
    return cls.exists();
}

// The first window at or below `window` (down to `depth` levels) that carries
// WM_CLASS: the client inside a window manager's frame.
Window findClientBelow(Display* d, Window window, int depth) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int n = 0;
    if (depth == 0 || !XQueryTree(d, window, &root, &parent, &children, &n)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < n && !found; ++i)
        found = carriesClass(d, children[i]) ? children[i] : findClientBelow(d, children[i], depth - 1);
    if (children) XFree(children);
    return found;
}

}  // namespace

std::unique_ptr<X11Desktop> X11Desktop::connect(const char* displayName) {
    std::unique_ptr<X11Connection> x = X11Connection::open(displayName);
    if (!x) return nullptr;
    return std::unique_ptr<X11Desktop>(new X11Desktop(std::move(x)));
}

X11Desktop::X11Desktop(std::unique_ptr<X11Connection> x)
    : x_(std::move(x)),
      windows_(std::make_unique<X11WindowCache>(x_->display(), x_->root(), x_->atoms())),
      screens_(std::make_unique<X11Screens>(x_->display(), x_->root(), x_->atoms())) {
    Display* d = x_->display();
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    hasXTest_ = XTestQueryExtension(d, &eventBase, &errorBase, &major, &minor);
    // A window manager announces itself on the root window and takes its check
    // window with it when it goes: watch both to know when to look again. The
    // root also says when the active window changes, and when the screens
    // or the work area do.
    XSelectInput(d, x_->root(), PropertyChangeMask | StructureNotifyMask);
    x_->setEventHandler([this](const XEvent& e) {
        const X11Atoms& a = x_->atoms();
        bool changed = false;
        if (e.type == PropertyNotify && e.xproperty.window == x_->root()) {
            const Atom atom = e.xproperty.atom;
            if (atom == a.netSupportingWmCheck || atom == a.netSupported) wmKnown_ = false;
            if (atom == a.netActiveWindow) activeKnown_ = false;
            changed = atom == a.netSupportingWmCheck || atom == a.netSupported || atom == a.netActiveWindow ||
                      atom == a.netWorkArea;
        } else if (e.type == DestroyNotify && e.xdestroywindow.window == wmCheckWindow_) {
            wmKnown_ = false;
            changed = true;
        } else if (e.type == ConfigureNotify && e.xconfigure.window == x_->root()) {
            changed = true;  // the screen's size
        } else if (e.type == MappingNotify) {
            XRefreshKeyboardMapping(const_cast<XMappingEvent*>(&e.xmapping));
        }
        if (windows_->handle(e, activeWindow_)) changed = true;
        screens_->handle(e);
        if (changed) changePending_ = true;
    });
}

X11Desktop::~X11Desktop() = default;

void X11Desktop::watchChanges(std::function<void()> changed, std::vector<WindowHandle> ours) {
    changed_ = std::move(changed);
    windows_->setOwnWindows(std::vector<Window>(ours.begin(), ours.end()));
    XFlush(x_->display());
}

bool X11Desktop::reportsChanges() const { return changed_ && windowManagerActivates(); }

int X11Desktop::socket() const { return ConnectionNumber(x_->display()); }

bool X11Desktop::eventsWaiting() const { return changePending_ || XEventsQueued(x_->display(), QueuedAlready) > 0; }

void X11Desktop::handleEvents() {
    x_->drainEvents();
    lastDrain_ = std::chrono::steady_clock::now();
    if (!changePending_) return;
    changePending_ = false;
    if (changed_) changed_();
}

void X11Desktop::applyReportedChanges() const {
    constexpr auto kSameMoment = std::chrono::milliseconds(1);
    const auto now = std::chrono::steady_clock::now();
    if (now - lastDrain_ < kSameMoment) return;
    x_->drainEvents();
    lastDrain_ = now;
}

bool X11Desktop::windowManagerActivates() const {
    applyReportedChanges();
    if (!wmKnown_) checkWindowManager();
    return wmActivates_;
}

void X11Desktop::checkWindowManager() const {
    Display* d = x_->display();
    const X11Atoms& a = x_->atoms();
    wmKnown_ = true;
    wmActivates_ = false;
    activeKnown_ = false;
    wmCheckWindow_ = 0;

    WindowProperty check(d, x_->root(), a.netSupportingWmCheck, XA_WINDOW, 1);
    const Window w = check.item(0);
    if (w == 0) return;
    XSelectInput(d, w, StructureNotifyMask);
    // A live window manager's check window names itself; a stale root
    // property left by one that crashed does not.
    WindowProperty self(d, w, a.netSupportingWmCheck, XA_WINDOW, 1);
    if (self.item(0) != w) return;
    wmCheckWindow_ = w;

    WindowProperty supported(d, x_->root(), a.netSupported, XA_ATOM, kSupportedLongs);
    for (unsigned long i = 0; i < supported.count(); ++i)
        if (supported.item(i) == a.netActiveWindow) wmActivates_ = true;
}

WindowHandle X11Desktop::foregroundWindow() const {
    if (windowManagerActivates()) {
        if (activeKnown_) return activeWindow_;
        WindowProperty active(x_->display(), x_->root(), x_->atoms().netActiveWindow, XA_WINDOW, 1);
        if (active.exists()) {
            activeWindow_ = active.item(0);
            activeKnown_ = true;
            return activeWindow_;
        }
    }
    return focusedClient();
}

WindowHandle X11Desktop::focusedClient() const {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(x_->display(), &focus, &revert);
    if (focus == None || focus == PointerRoot || focus == x_->root()) return 0;
    return clientWindowOf(focus);
}

// The focus may sit on a child of a client window, or (with a window manager
// that does not keep _NET_ACTIVE_WINDOW) on its frame: find the client.
WindowHandle X11Desktop::clientWindowOf(unsigned long window) const {
    Display* d = x_->display();
    for (Window w = window;;) {
        if (carriesClass(d, w)) return w;
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(d, w, &root, &parent, &children, &n)) return 0;  // gone meanwhile
        if (children) XFree(children);
        if (parent == root || parent == 0) {
            const Window client = findClientBelow(d, w, kClientSearchDepth);
            return client ? client : w;
        }
        w = parent;
    }
}

WatchedWindow& X11Desktop::watched(WindowHandle window) const {
    applyReportedChanges();
    return windows_->watch(window);
}

std::string X11Desktop::windowTitle(WindowHandle window) const {
    if (window == 0) return {};
    WatchedWindow& entry = watched(window);
    if (entry.title) return *entry.title;
    Display* d = x_->display();
    const X11Atoms& a = x_->atoms();
    WindowProperty netName(d, window, a.netWmName, a.utf8String, kTextLongs);
    if (!netName.readable()) {
        windows_->forget(window);
        return {};
    }
    if (netName.type() == a.utf8String) {
        entry.title = propertyText(d, netName, a.compoundText);
    } else {
        WindowProperty name(d, window, XA_WM_NAME, AnyPropertyType, kTextLongs);
        entry.title = propertyText(d, name, a.compoundText);
    }
    return *entry.title;
}

std::string X11Desktop::windowClass(WindowHandle window) const {
    if (window == 0) return {};
    WatchedWindow& entry = watched(window);
    if (entry.className) return *entry.className;
    WindowProperty cls(x_->display(), window, XA_WM_CLASS, XA_STRING, kTextLongs);
    if (!cls.readable()) {
        windows_->forget(window);
        return {};
    }
    // WM_CLASS holds the instance name and then the class name, each ending in NUL.
    std::string_view both = cls.bytes();
    const std::size_t nul = both.find('\0');
    std::string_view className = nul == std::string_view::npos ? std::string_view{} : both.substr(nul + 1);
    entry.className = latin1ToUtf8(className.substr(0, className.find('\0')));
    return *entry.className;
}

Rect X11Desktop::windowRect(WindowHandle window) const {
    if (window == 0) return {};
    WatchedWindow& entry = watched(window);
    if (entry.rect) return scaled(*entry.rect);
    // The frames around the window are watched before the window is measured,
    // so a move after the measurement is reported.
    std::optional<Rect> r = windows_->knowAncestors(entry) ? measureWindow(window) : std::nullopt;
    if (!r) {
        windows_->forget(window);
        return {};
    }
    entry.rect = r;
    return scaled(*r);
}

Rect X11Desktop::scaled(const Rect& r) const {
    if (scale_ == 1) return r;
    const auto at = [this](int v) { return static_cast<int>(std::lround(v / scale_)); };
    return {at(r.left), at(r.top), at(r.right()) - at(r.left), at(r.bottom()) - at(r.top)};
}

std::optional<Rect> X11Desktop::measureWindow(WindowHandle window) const {
    Display* d = x_->display();
    Window root = 0, child = 0;
    int x = 0, y = 0;
    unsigned int width = 0, height = 0, border = 0, depth = 0;
    if (!XGetGeometry(d, window, &root, &x, &y, &width, &height, &border, &depth)) return std::nullopt;
    if (!XTranslateCoordinates(d, window, x_->root(), 0, 0, &x, &y, &child)) return std::nullopt;
    const int b = static_cast<int>(border);
    Rect r{x - b, y - b, static_cast<int>(width) + 2 * b, static_cast<int>(height) + 2 * b};

    // The window manager's decorations around the client: left, right, top, bottom.
    WindowProperty extents(d, window, x_->atoms().netFrameExtents, XA_CARDINAL, 4);
    if (extents.count() == 4) {
        const int left = static_cast<int>(extents.item(0)), right = static_cast<int>(extents.item(1));
        const int top = static_cast<int>(extents.item(2)), bottom = static_cast<int>(extents.item(3));
        r = Rect{r.left - left, r.top - top, r.width + left + right, r.height + top + bottom};
    }
    return r;
}

void X11Desktop::setForegroundWindow(WindowHandle window) {
    if (window == 0) return;
    Display* d = x_->display();
    const Time now = x_->serverTime();
    if (windowManagerActivates()) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = window;
        e.xclient.message_type = x_->atoms().netActiveWindow;
        e.xclient.format = 32;
        e.xclient.data.l[0] = 2;  // source: a pager or similar tool acting for the user
        e.xclient.data.l[1] = static_cast<long>(now);
        e.xclient.data.l[2] = 0;
        XSendEvent(d, x_->root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    } else {
        // Errors (a window that is gone or not viewable) arrive later and are ignored.
        XRaiseWindow(d, window);
        XSetInputFocus(d, window, RevertToParent, now);
    }
    XFlush(d);
}

void X11Desktop::sendKey(int virtualKey, bool down) {
    const KeySym sym = keysymOf(virtualKey);
    if (!hasXTest_ || sym == NoSymbol) return;
    Display* d = x_->display();
    const KeyCode code = XKeysymToKeycode(d, sym);
    if (code == 0) return;
    XTestFakeKeyEvent(d, code, down ? True : False, CurrentTime);
    XFlush(d);
}

ScreenSize X11Desktop::screenSize() const {
    Display* d = x_->display();
    const int screen = DefaultScreen(d);
    const Rect size = scaled({0, 0, DisplayWidth(d, screen), DisplayHeight(d, screen)});
    return {size.width, size.height};
}

Rect X11Desktop::workArea(const Rect& window) const {
    applyReportedChanges();
    const auto device = [this](int v) { return static_cast<int>(std::lround(v * scale_)); };
    const Rect onDisplay{device(window.left), device(window.top), device(window.width), device(window.height)};
    return scaled(screens_->workAreaFor(onDisplay));
}

}  // namespace tovlo

#include "test_display.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <string_view>
#include <thread>

namespace tovlo::test {

TestDisplay::TestDisplay() : display_(XOpenDisplay(nullptr)) {
    if (!display_) std::abort();
}

TestDisplay::~TestDisplay() { XCloseDisplay(display_); }

Window TestDisplay::create(const TestWindowShape& shape) {
    XSetWindowAttributes attributes{};
    attributes.event_mask = shape.eventMask;
    const Window w = XCreateWindow(display_, shape.parent ? shape.parent : root(), shape.rect.left, shape.rect.top,
                                   shape.rect.width, shape.rect.height, shape.border, CopyFromParent, InputOutput,
                                   CopyFromParent, CWEventMask, &attributes);
    // A window manager would otherwise place it where it likes.
    XSizeHints hints{};
    hints.flags = USPosition | USSize;
    XSetWMNormalHints(display_, w, &hints);

    using namespace std::string_literals;
    const std::string classHint = "tovlo-test\0"s + shape.className + '\0';
    XChangeProperty(display_, w, XA_WM_CLASS, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(classHint.data()), static_cast<int>(classHint.size()));
    auto setText = [&](Atom property, Atom type, const std::string& text) {
        XChangeProperty(display_, w, property, type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
    };
    if (shape.netWmName) setText(atom("_NET_WM_NAME"), atom("UTF8_STRING"), *shape.netWmName);
    if (shape.wmName) setText(XA_WM_NAME, shape.wmNameType ? shape.wmNameType : XA_STRING, *shape.wmName);

    XMapWindow(display_, w);
    XFlush(display_);
    waitUntil([&] {
        XWindowAttributes a{};
        return XGetWindowAttributes(display_, w, &a) && a.map_state == IsViewable;
    });
    return w;
}

void TestDisplay::destroy(Window window) {
    XDestroyWindow(display_, window);
    XSync(display_, False);
}

Window TestDisplay::inputFocus() const {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    return focus;
}

Window TestDisplay::topLevelOf(Window window) const {
    for (;;) {
        Window rootWindow = 0, parent = 0, *children = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(display_, window, &rootWindow, &parent, &children, &n)) return 0;
        if (children) XFree(children);
        if (parent == rootWindow) return window;
        window = parent;
    }
}

Rect TestDisplay::geometryOf(Window window) const {
    Window rootWindow = 0, child = 0;
    int x = 0, y = 0;
    unsigned int width = 0, height = 0, border = 0, depth = 0;
    XGetGeometry(display_, window, &rootWindow, &x, &y, &width, &height, &border, &depth);
    XTranslateCoordinates(display_, window, rootWindow, 0, 0, &x, &y, &child);
    const int b = static_cast<int>(border);
    return Rect{x - b, y - b, static_cast<int>(width) + 2 * b, static_cast<int>(height) + 2 * b};
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

}  // namespace tovlo::test

#pragma once
// The tests' own connection to the X display: it makes plain client windows
// with a class and titles, the way another program (a chat window) would.
#include <X11/Xlib.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "platform/geometry.h"

namespace tovlo::test {

struct TestWindowShape {
    std::string className = "TXGuiFoundation";
    std::optional<std::string> netWmName{};  // UTF-8 in _NET_WM_NAME
    std::optional<std::string> wmName{};     // bytes of WM_NAME
    Atom wmNameType = 0;                     // WM_NAME's type; 0: STRING (Latin-1)
    Rect rect{100, 120, 300, 200};
    unsigned border = 0;
    long eventMask = 0;
    Window parent = 0;  // 0: a top-level window
};

class TestDisplay {
public:
    TestDisplay();
    ~TestDisplay();
    TestDisplay(const TestDisplay&) = delete;
    TestDisplay& operator=(const TestDisplay&) = delete;

    Display* display() const { return display_; }
    Window root() const { return DefaultRootWindow(display_); }
    Atom atom(const char* name) const { return XInternAtom(display_, name, False); }

    // Creates and maps the window and waits until it can be seen.
    Window create(const TestWindowShape& shape);
    void destroy(Window window);
    Window inputFocus() const;
    // The window directly below the root that holds `window` (its frame, or itself).
    Window topLevelOf(Window window) const;
    // Root coordinates and size of a window with its border.
    Rect geometryOf(Window window) const;

private:
    Display* display_;
};

// Waits until the condition holds; false when it did not in time.
bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(5));

}  // namespace tovlo::test

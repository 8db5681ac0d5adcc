#pragma once
// A desktop of windows a test lays out: each with a class, a title and a
// frame. It records focus requests and key events; a focus request for a
// window it holds makes that window the foreground window.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace tovlo {

class FakeDesktop : public Desktop {
public:
    struct Window {
        std::string className;
        std::string title;
        Rect rect;
    };
    struct KeyEvent {
        int key;
        bool down;
        bool operator==(const KeyEvent&) const = default;
    };

    WindowHandle foregroundWindow() const override { return foreground; }
    std::string windowTitle(WindowHandle h) const override {
        auto it = windows.find(h);
        return it == windows.end() ? std::string() : it->second.title;
    }
    std::string windowClass(WindowHandle h) const override {
        auto it = windows.find(h);
        return it == windows.end() ? std::string() : it->second.className;
    }
    Rect windowRect(WindowHandle h) const override {
        auto it = windows.find(h);
        return it == windows.end() ? Rect{} : it->second.rect;
    }
    void setForegroundWindow(WindowHandle h) override {
        focusRequests.push_back(h);
        if (windows.count(h)) foreground = h;
    }
    void sendKey(int virtualKey, bool down) override {
        keys.push_back({virtualKey, down});
        if (onKey) onKey(virtualKey, down);
    }
    ScreenSize screenSize() const override { return screen; }
    Rect workArea(const Rect&) const override { return work; }
    void watchChanges(std::function<void()> onChange, std::vector<WindowHandle> own) override {
        changed = std::move(onChange);
        ours = std::move(own);
    }
    bool reportsChanges() const override { return reporting; }

    // Adds (or replaces) a window.
    void addWindow(WindowHandle h, std::string className, std::string title, Rect rect) {
        windows[h] = Window{std::move(className), std::move(title), rect};
    }

    std::map<WindowHandle, Window> windows;
    WindowHandle foreground = 0;
    ScreenSize screen{1024, 768};
    Rect work{0, 0, 1024, 768};
    std::vector<WindowHandle> focusRequests;
    std::vector<KeyEvent> keys;
    std::function<void(int key, bool down)> onKey;
    // What watchChanges was given; a test calls `changed` as the event loop would.
    bool reporting = false;
    std::function<void()> changed;
    std::vector<WindowHandle> ours;
};

}  // namespace tovlo

#pragma once
// What the desktop has learnt about the few windows it is asked about, kept
// until the server reports a change. The tracking tick asks for the focused
// window's class, title and frame 50 times a second; answering the repeats
// from memory saves the round trips to the server that each answer costs.
//
// A watched window reports its property changes, its moves and its end, and
// so do the windows it sits in up to the root (a window manager's frames): a
// frame that moves takes its client along without the client being told.
#include <X11/Xlib.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace tovlo {

struct X11Atoms;

struct WatchedWindow {
    Window window = 0;
    // From the parent up to the child of the root; looked up with the frame.
    std::vector<Window> ancestors;
    bool ancestorsKnown = false;
    std::optional<std::string> title;
    std::optional<std::string> className;
    std::optional<Rect> rect;
    unsigned long lastUse = 0;
};

class X11WindowCache {
public:
    X11WindowCache(Display* display, Window root, const X11Atoms& atoms);
    X11WindowCache(const X11WindowCache&) = delete;
    X11WindowCache& operator=(const X11WindowCache&) = delete;

    // The entry of `window`. A window seen for the first time is watched
    // from now on (before anything about it is read, so no change is
    // missed); the least recently used entry makes room when the cache is full.
    WatchedWindow& watch(Window window);
    // Forgets a window whose answers could not be read (it is gone).
    void forget(Window window);
    // The ancestors of the entry, found and watched when they are not known.
    // False when the window is gone.
    bool knowAncestors(WatchedWindow& entry);
    // Drops what an event of the connection has made stale. True when the
    // event changed something of `tracked` (its title, class or frame; it
    // moved or ended) or showed or hid one of our own windows.
    bool handle(const XEvent& event, Window tracked);
    // Our own windows, whose showing and hiding is reported from now on.
    void setOwnWindows(std::vector<Window> ours);

    std::size_t size() const { return entries_.size(); }

private:
    WatchedWindow* find(Window window);
    void resetAncestors(WatchedWindow& entry);
    // Selects on `window` the union of the events its entries need.
    void updateEventMask(Window window);

    Display* display_;
    Window root_;
    const X11Atoms& atoms_;
    std::vector<WatchedWindow> entries_;
    std::vector<Window> ours_;
    unsigned long useClock_ = 0;
};

}  // namespace tovlo

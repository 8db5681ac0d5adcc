#include "x11_window_cache.h"

#include <X11/Xatom.h>

#include <algorithm>

#include "x11_connection.h"

namespace tovlo {

namespace {

// The focused chat window, our own panel and bar, and a few recent others.
constexpr std::size_t kMaxEntries = 8;
constexpr long kClientEvents = PropertyChangeMask | StructureNotifyMask;
constexpr long kAncestorEvents = StructureNotifyMask;
constexpr long kOwnEvents = StructureNotifyMask;

bool contains(const std::vector<Window>& windows, Window w) {
    return std::find(windows.begin(), windows.end(), w) != windows.end();
}

}  // namespace

X11WindowCache::X11WindowCache(Display* display, Window root, const X11Atoms& atoms)
    : display_(display), root_(root), atoms_(atoms) {}

WatchedWindow* X11WindowCache::find(Window window) {
    for (WatchedWindow& e : entries_)
        if (e.window == window) return &e;
    return nullptr;
}

WatchedWindow& X11WindowCache::watch(Window window) {
    WatchedWindow* entry = find(window);
    if (!entry) {
        if (entries_.size() >= kMaxEntries) {
            auto oldest = std::min_element(entries_.begin(), entries_.end(),
                                           [](const auto& a, const auto& b) { return a.lastUse < b.lastUse; });
            forget(oldest->window);
        }
        WatchedWindow fresh;
        fresh.window = window;
        entries_.push_back(std::move(fresh));
        updateEventMask(window);
        entry = &entries_.back();
    }
    entry->lastUse = ++useClock_;
    return *entry;
}

void X11WindowCache::forget(Window window) {
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return e.window == window; });
    if (it == entries_.end()) return;
    const std::vector<Window> ancestors = std::move(it->ancestors);
    entries_.erase(it);
    updateEventMask(window);
    for (Window a : ancestors) updateEventMask(a);
}

void X11WindowCache::updateEventMask(Window window) {
    if (window == root_) return;  // the desktop's own root events are not ours to change
    long mask = NoEventMask;
    for (const WatchedWindow& e : entries_) {
        if (e.window == window) mask |= kClientEvents;
        if (contains(e.ancestors, window)) mask |= kAncestorEvents;
    }
    if (contains(ours_, window)) mask |= kOwnEvents;
    // A window that is gone answers with an error, which the connection records.
    XSelectInput(display_, window, mask);
}

void X11WindowCache::resetAncestors(WatchedWindow& entry) {
    const std::vector<Window> old = std::move(entry.ancestors);
    entry.ancestors.clear();
    entry.ancestorsKnown = false;
    entry.rect.reset();
    for (Window a : old) updateEventMask(a);
}

bool X11WindowCache::knowAncestors(WatchedWindow& entry) {
    if (entry.ancestorsKnown) return true;
    std::vector<Window> found;
    for (Window w = entry.window;;) {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(display_, w, &root, &parent, &children, &n)) return false;
        if (children) XFree(children);
        if (parent == 0 || parent == root) break;
        found.push_back(parent);
        w = parent;
    }
    entry.ancestors = std::move(found);
    entry.ancestorsKnown = true;
    for (Window a : entry.ancestors) updateEventMask(a);
    return true;
}

void X11WindowCache::setOwnWindows(std::vector<Window> ours) {
    std::vector<Window> old = std::move(ours_);
    ours_ = std::move(ours);
    for (Window w : old) updateEventMask(w);
    for (Window w : ours_) updateEventMask(w);
}

bool X11WindowCache::handle(const XEvent& event, Window tracked) {
    bool changed = false;
    switch (event.type) {
        case PropertyNotify:
            if (WatchedWindow* e = find(event.xproperty.window)) {
                const Atom atom = event.xproperty.atom;
                const bool title = atom == XA_WM_NAME || atom == atoms_.netWmName;
                if (title) e->title.reset();
                if (atom == XA_WM_CLASS) e->className.reset();
                if (atom == atoms_.netFrameExtents) e->rect.reset();
                changed = e->window == tracked && (title || atom == XA_WM_CLASS || atom == atoms_.netFrameExtents);
            }
            break;
        case ConfigureNotify:
        case GravityNotify: {
            // Both carry the window whose events were selected in the same place.
            const Window moved = event.type == ConfigureNotify ? event.xconfigure.event : event.xgravity.event;
            for (WatchedWindow& e : entries_)
                if (e.window == moved || contains(e.ancestors, moved)) {
                    e.rect.reset();
                    changed = changed || e.window == tracked;
                }
            break;
        }
        case ReparentNotify:
            for (WatchedWindow& e : entries_)
                if (e.window == event.xreparent.event || contains(e.ancestors, event.xreparent.event)) {
                    resetAncestors(e);
                    changed = changed || e.window == tracked;
                }
            break;
        case DestroyNotify: {
            const Window gone = event.xdestroywindow.window;
            changed = gone == tracked;
            if (find(gone)) {
                forget(gone);
                break;
            }
            for (WatchedWindow& e : entries_)
                if (contains(e.ancestors, gone)) resetAncestors(e);
            break;
        }
        case MapNotify: changed = contains(ours_, event.xmap.window); break;
        case UnmapNotify: changed = contains(ours_, event.xunmap.window); break;
        default: break;
    }
    return changed;
}

}  // namespace tovlo

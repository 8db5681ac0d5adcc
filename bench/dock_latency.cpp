// How long the panel takes to follow a chat window that moves: moves the
// chat window (found by its title) MOVES times, 100 ms apart, to places
// where the panel fits beside it in mode "normal", and for each move
// measures from the chat window's frame reaching its new place to the
// panel's frame (the window titled PANEL_TITLE) touching its right edge,
// both as this client sees the server's reports. Prints each latency in
// milliseconds on one line, then "median M ms, N of MOVES placed".
// Usage: dock_latency CHAT_TITLE PANEL_TITLE [MOVES=40]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

Display* d = nullptr;

std::string titleOf(Window w) {
    Atom type = 0;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), 0, 256, False, AnyPropertyType, &type,
                           &format, &n, &after, &data) == Success && data) {
        title.assign(reinterpret_cast<char*>(data), n);
        XFree(data);
    }
    return title;
}

bool viewable(Window w) {
    XWindowAttributes a{};
    return XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable;
}

// The shown client window with that title, from the window manager's list.
Window findClient(const std::string& title) {
    Atom type = 0;
    int format = 0;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    Window found = 0;
    if (XGetWindowProperty(d, DefaultRootWindow(d), XInternAtom(d, "_NET_CLIENT_LIST", False), 0, 4096, False,
                           XA_WINDOW, &type, &format, &n, &after, &data) == Success && data) {
        const auto* list = reinterpret_cast<const Window*>(data);
        for (unsigned long i = 0; i < n && !found; ++i)
            if (titleOf(list[i]) == title && viewable(list[i])) found = list[i];
        XFree(data);
    }
    return found;
}

// The window right below the root that holds `w`: the frame around it.
Window frameOf(Window w) {
    for (;;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned n = 0;
        if (!XQueryTree(d, w, &root, &parent, &children, &n)) return w;
        if (children) XFree(children);
        if (parent == root) return w;
        w = parent;
    }
}

double msSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: dock_latency CHAT_TITLE PANEL_TITLE [MOVES]\n");
        return 2;
    }
    const int moves = argc > 3 ? std::atoi(argv[3]) : 40;
    d = XOpenDisplay(nullptr);
    if (!d) return 2;
    const Window chat = findClient(argv[1]), panel = findClient(argv[2]);
    if (!chat || !panel) {
        std::fprintf(stderr, "dock_latency: no shown window titled %s\n", chat ? argv[2] : argv[1]);
        return 1;
    }
    const Window chatFrame = frameOf(chat), panelFrame = frameOf(panel);
    XSelectInput(d, chatFrame, StructureNotifyMask);
    XSelectInput(d, panelFrame, StructureNotifyMask);
    XSync(d, False);

    std::vector<double> latencies;
    for (int i = 0; i < moves; ++i) {
        XMoveWindow(d, chat, 60 + (i % 2) * 200 + (i % 5) * 10, 80 + (i % 3) * 40);
        XFlush(d);
        // The chat window's frame where the window manager put it, then the
        // panel's frame touching its right edge; a second at most.
        const Clock::time_point sent = Clock::now();
        Clock::time_point moved{};
        int wantLeft = -1, wantTop = -1;
        bool placed = false;
        while (!placed && msSince(sent) < 1000) {
            if (!XPending(d)) {
                pollfd socket{ConnectionNumber(d), POLLIN, 0};
                poll(&socket, 1, 10);
                continue;
            }
            XEvent e;
            XNextEvent(d, &e);
            if (e.type != ConfigureNotify) continue;
            const XConfigureEvent& c = e.xconfigure;
            if (c.window == chatFrame) {
                moved = Clock::now();
                wantLeft = c.x + c.width + 2 * c.border_width;
                wantTop = c.y;
            } else if (c.window == panelFrame && wantLeft >= 0 && c.x == wantLeft && c.y == wantTop) {
                latencies.push_back(msSince(moved));
                placed = true;
            }
        }
        if (placed) std::printf("%.2f\n", latencies.back());
        // The next move a while later, when everything has settled.
        while (msSince(sent) < 100) {
            poll(nullptr, 0, 5);
            while (XPending(d)) {
                XEvent e;
                XNextEvent(d, &e);
            }
        }
    }
    std::sort(latencies.begin(), latencies.end());
    const double median = latencies.empty() ? -1 : latencies[latencies.size() / 2];
    std::printf("median %.2f ms, %zu of %d placed\n", median, latencies.size(), moves);
    XCloseDisplay(d);
    return latencies.empty() ? 1 : 0;
}

#include "x11_chat_window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstring>

ChatWindow::ChatWindow() {
    Display* d = XOpenDisplay(nullptr);
    if (!d) return;
    display = d;
    Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 100, 100, 500, 600, 0, 0, 0);
    char name[] = "TXGuiFoundation";
    XClassHint hint{name, name};
    XSetClassHint(d, w, &hint);
    const char* title = "张三";
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), XInternAtom(d, "UTF8_STRING", False), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(title),
                    static_cast<int>(std::strlen(title)));
    XMapWindow(d, w);
    XSync(d, False);
    XSetInputFocus(d, w, RevertToParent, CurrentTime);
    XSync(d, False);
    window = w;
}

ChatWindow::~ChatWindow() {
    if (display) XCloseDisplay(static_cast<Display*>(display));
}

RoundTrips::RoundTrips() : display(XOpenDisplay(nullptr)) {}

RoundTrips::~RoundTrips() {
    if (display) XCloseDisplay(static_cast<Display*>(display));
}

void RoundTrips::run(int n) {
    Window focus;
    int revert;
    for (int i = 0; i < n; ++i) XGetInputFocus(static_cast<Display*>(display), &focus, &revert);
}

#include "class_hint.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

void setClassHint(unsigned long window, const char* name) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return;
    std::string copy(name);
    XClassHint hint;
    hint.res_name = copy.data();
    hint.res_class = copy.data();
    XSetClassHint(display, window, &hint);
    XFlush(display);
    XCloseDisplay(display);
}

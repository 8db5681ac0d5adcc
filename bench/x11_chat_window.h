#pragma once
// Xlib helpers of the X11 tick benchmark, kept apart from the program's
// headers (Xlib's macros clash with them).

// A chat window of our own: class TXGuiFoundation, title 张三, with the focus.
struct ChatWindow {
    ChatWindow();
    ~ChatWindow();
    void* display = nullptr;
    unsigned long window = 0;  // 0 without a display
};

// The cheapest X round trip (XGetInputFocus), n times.
struct RoundTrips {
    RoundTrips();
    ~RoundTrips();
    void run(int n);
    void* display;
};

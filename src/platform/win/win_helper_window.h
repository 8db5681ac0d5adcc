#pragma once
// The hidden windows the backends receive their messages on (timers,
// sockets, reads, the tray): the class is registered once per process, and
// the window carries its owner in GWLP_USERDATA for its procedure to find.
#include <windows.h>

#include <stdexcept>

namespace tovlo {

enum class HelperWindow { MessageOnly, TopLevel };

inline HWND makeHelperWindow(const wchar_t* className, WNDPROC proc, void* owner,
                             HelperWindow kind = HelperWindow::MessageOnly) {
    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.lpfnWndProc = proc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = className;
    if (!RegisterClassExW(&c) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("a helper window's class cannot be registered");
    // A top-level window, never shown, where a message-only one will not do
    // (the shell's broadcasts, a pop-up menu's owner).
    const bool topLevel = kind == HelperWindow::TopLevel;
    HWND window = CreateWindowExW(topLevel ? WS_EX_TOOLWINDOW : 0, className, L"Tovlo", topLevel ? WS_POPUP : 0, 0, 0,
                                  0, 0, topLevel ? nullptr : HWND_MESSAGE, nullptr, c.hInstance, nullptr);
    if (!window) throw std::runtime_error("a helper window cannot be made");
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return window;
}

}  // namespace tovlo

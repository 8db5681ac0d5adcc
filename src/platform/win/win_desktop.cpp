#include "win_desktop.h"

#include <windows.h>

#include <string>

#include "win_dpi.h"
#include "win_handle.h"
#include "win_text.h"
#include "win_window_events.h"

namespace tovlo {

namespace {

// Class names are at most 256 characters long.
constexpr int kClassChars = 257;

}  // namespace

WinDesktop::WinDesktop() = default;
WinDesktop::~WinDesktop() = default;

WindowHandle WinDesktop::foregroundWindow() const { return fromHwnd(GetForegroundWindow()); }

std::string WinDesktop::windowTitle(WindowHandle window) const {
    const HWND h = toHwnd(window);
    if (!window || !IsWindow(h)) return {};
    const int length = GetWindowTextLengthW(h);
    if (length <= 0) return {};
    // The length is an upper bound; the copy says how much it really got.
    std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(h, title.data(), length + 1);
    title.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return narrow(title);
}

std::string WinDesktop::windowClass(WindowHandle window) const {
    if (!window) return {};
    wchar_t name[kClassChars];
    const int copied = GetClassNameW(toHwnd(window), name, kClassChars);
    if (copied <= 0) return {};
    return narrow(std::wstring_view(name, static_cast<std::size_t>(copied)));
}

Rect WinDesktop::windowRect(WindowHandle window) const {
    RECT r{};
    if (!window || !GetWindowRect(toHwnd(window), &r)) return {};
    return toLogical({r.left, r.top, r.right - r.left, r.bottom - r.top});
}

void WinDesktop::setForegroundWindow(WindowHandle window) {
    const HWND h = toHwnd(window);
    if (!window || !IsWindow(h)) return;
    if (IsIconic(h)) ShowWindow(h, SW_RESTORE);
    if (SetForegroundWindow(h)) return;
    // The system lets only the program in front hand the focus on. Joining
    // the input of the window in front for the moment of the call counts as
    // being that program; a refusal after that is ignored.
    const DWORD front = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD self = GetCurrentThreadId();
    const bool joined = front != 0 && front != self && AttachThreadInput(self, front, TRUE);
    BringWindowToTop(h);
    SetForegroundWindow(h);
    if (joined) AttachThreadInput(self, front, FALSE);
}

void WinDesktop::sendKey(int virtualKey, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(virtualKey);
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

ScreenSize WinDesktop::screenSize() const {
    const Rect screen = toLogical({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    return {screen.width, screen.height};
}

Rect WinDesktop::workArea(const Rect& window) const {
    const Rect d = toDesktop(window);
    const RECT r{d.left, d.top, d.right(), d.bottom()};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) return {};
    const RECT& w = info.rcWork;
    return toLogical({w.left, w.top, w.right - w.left, w.bottom - w.top});
}

void WinDesktop::watchChanges(std::function<void()> changed, std::vector<WindowHandle> ours) {
    events_.reset();
    // Where the events do not come, the caller looks for itself.
    if (changed && WinWindowEvents::systemRaisesThem())
        events_ = std::make_unique<WinWindowEvents>(std::move(changed), std::move(ours));
}

bool WinDesktop::reportsChanges() const { return events_ && events_->hooked(); }

}  // namespace tovlo

#include "win_tray_icon.h"

#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <cwchar>

#include "platform/nested_wait.h"
#include "win_helper_window.h"
#include "win_text.h"

namespace tovlo {

namespace {

constexpr const wchar_t* kWindowClass = L"Tovlo.Tray";
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kIconId = 1;

UINT taskbarCreated() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

// A small smiling face, drawn rather than shipped as an image file.
HICON faceIcon() {
    constexpr int kSize = 32;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP colour = CreateCompatibleBitmap(screen, kSize, kSize);
    HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, nullptr);
    ReleaseDC(nullptr, screen);

    // The mask: white (transparent) around a black disc.
    HGDIOBJ old = SelectObject(dc, mask);
    PatBlt(dc, 0, 0, kSize, kSize, WHITENESS);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    Ellipse(dc, 2, 2, 30, 30);

    // The face: black around (masked out), a yellow disc, eyes and a smile.
    SelectObject(dc, colour);
    PatBlt(dc, 0, 0, kSize, kSize, BLACKNESS);
    HBRUSH yellow = CreateSolidBrush(RGB(255, 204, 51));
    HPEN rim = CreatePen(PS_SOLID, 2, RGB(180, 120, 0));
    HPEN ink = CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
    SelectObject(dc, yellow);
    SelectObject(dc, rim);
    Ellipse(dc, 2, 2, 30, 30);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, 10, 10, 14, 15);
    Ellipse(dc, 18, 10, 22, 15);
    SelectObject(dc, ink);
    Arc(dc, 9, 12, 23, 24, 9, 20, 23, 20);
    SelectObject(dc, old);
    DeleteObject(yellow);
    DeleteObject(rim);
    DeleteObject(ink);
    DeleteDC(dc);

    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour;
    info.hbmMask = mask;
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colour);
    DeleteObject(mask);
    return icon;
}

void copyInto(wchar_t* field, std::size_t size, const std::string& text) {
    const std::wstring wide = widen(text);
    wcsncpy(field, wide.c_str(), size - 1);
    field[size - 1] = L'\0';
}

}  // namespace

struct WinTrayWindow {
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* tray = reinterpret_cast<WinTrayIcon*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (tray && message == kTrayMessage) {
            tray->shellMessage(static_cast<unsigned>(LOWORD(lParam)));
            return 0;
        }
        if (tray && message == taskbarCreated() && tray->visible_) {
            tray->notify(NIM_ADD, NIF_MESSAGE | NIF_ICON | NIF_TIP);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

WinTrayIcon::WinTrayIcon() {
    // A top-level window: a message-only one gets no "TaskbarCreated", and
    // the pop-up menu needs an owner that can come to the front.
    window_ = makeHelperWindow(kWindowClass, WinTrayWindow::proc, this, HelperWindow::TopLevel);
    icon_ = faceIcon();
}

WinTrayIcon::~WinTrayIcon() {
    if (visible_) notify(NIM_DELETE, 0);
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    if (icon_) DestroyIcon(icon_);
}

bool WinTrayIcon::notify(unsigned what, unsigned flags, const std::string& title, const std::string& text) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window_;
    data.uID = kIconId;
    data.uFlags = flags;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = icon_;
    copyInto(data.szTip, sizeof data.szTip / sizeof data.szTip[0], tip_);
    data.dwInfoFlags = NIIF_INFO;
    copyInto(data.szInfoTitle, sizeof data.szInfoTitle / sizeof data.szInfoTitle[0], title);
    copyInto(data.szInfo, sizeof data.szInfo / sizeof data.szInfo[0], text);
    return Shell_NotifyIconW(what, &data) != FALSE;
}

void WinTrayIcon::setToolTip(const std::string& tip) {
    tip_ = tip;
    if (visible_) notify(NIM_MODIFY, NIF_TIP);
}

void WinTrayIcon::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    notify(visible ? NIM_ADD : NIM_DELETE, NIF_MESSAGE | NIF_ICON | NIF_TIP);
}

void WinTrayIcon::showBalloon(const std::string& title, const std::string& text) {
    if (visible_) notify(NIM_MODIFY, NIF_INFO, title, text);
}

void WinTrayIcon::shellMessage(unsigned mouse) {
    if (mouse == WM_LBUTTONUP || mouse == WM_LBUTTONDBLCLK) {
        if (onClick) events_.deliver(onClick);
    } else if (mouse == WM_RBUTTONUP || mouse == WM_CONTEXTMENU) {
        if (onMenuRequest) events_.deliver(onMenuRequest);
    }
}

void WinTrayIcon::popupMenu(const std::vector<std::string>& items, std::function<void(int)> chosen) {
    HMENU menu = CreatePopupMenu();
    for (std::size_t i = 0; i < items.size(); ++i)
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(i + 1), widen(items[i]).c_str());
    POINT at{};
    GetCursorPos(&at);
    // The menu closes when the user clicks elsewhere only if its window is
    // in front (and the WM_NULL after it lets the next click through).
    SetForegroundWindow(window_);
    int picked = 0;
    {
        NestedWaits::Scope nested;
        picked = static_cast<int>(
            TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr));
    }
    PostMessageW(window_, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (picked > 0 && chosen) chosen(picked - 1);
}

}  // namespace tovlo

#include "win_global_hot_key.h"

#include "win_helper_window.h"

namespace tovlo {

namespace {

constexpr const wchar_t* kWindowClass = L"TovloHotKey";

UINT modifiersOf(const HotKey& key) {
    // Holding the keys down counts once.
    UINT m = MOD_NOREPEAT;
    if (key.modifiers & HotKey::Ctrl) m |= MOD_CONTROL;
    if (key.modifiers & HotKey::Alt) m |= MOD_ALT;
    if (key.modifiers & HotKey::Shift) m |= MOD_SHIFT;
    if (key.modifiers & HotKey::Win) m |= MOD_WIN;
    return m;
}

}  // namespace

struct WinHotKeyWindow {
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* hotKey = reinterpret_cast<WinGlobalHotKey*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (hotKey && message == WM_HOTKEY && static_cast<int>(wParam) == hotKey->id_ && hotKey->pressed_) {
            hotKey->events_.deliver(hotKey->pressed_);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

WinGlobalHotKey::WinGlobalHotKey() { window_ = makeHelperWindow(kWindowClass, WinHotKeyWindow::proc, this); }

WinGlobalHotKey::~WinGlobalHotKey() {
    unbind();
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

bool WinGlobalHotKey::bind(const HotKey& key, std::function<void()> pressed) {
    if (id_ == 0 || !(key == bound_)) {
        const int next = id_ == 1 ? 2 : 1;
        // Refused when another program (or another copy of ours) holds it.
        if (!RegisterHotKey(window_, next, modifiersOf(key), static_cast<UINT>(key.key))) return false;
        if (id_ != 0) UnregisterHotKey(window_, id_);
        id_ = next;
        bound_ = key;
    }
    pressed_ = std::move(pressed);
    return true;
}

void WinGlobalHotKey::unbind() {
    if (id_ != 0) UnregisterHotKey(window_, id_);
    id_ = 0;
    pressed_ = nullptr;
}

}  // namespace tovlo

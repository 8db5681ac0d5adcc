#include "win_window_events.h"

#include <algorithm>

#include "platform/commands.h"
#include "win_handle.h"
#include "win_helper_window.h"

namespace tovlo {

namespace {

constexpr const wchar_t* kWindowClass = L"Tovlo.WindowEvents";
constexpr UINT kNoted = WM_APP + 1;

// Every watcher: a hook's callback finds its own by the hook.
std::vector<WinWindowEvents*>& watchers() {
    static std::vector<WinWindowEvents*> all;
    return all;
}

bool wholeWindow(LONG object, LONG child) { return object == OBJID_WINDOW && child == CHILDID_SELF; }

}  // namespace

WinWindowEvents::WinWindowEvents(std::function<void()> changed, std::vector<WindowHandle> ours)
    : changed_(std::move(changed)), ours_(std::move(ours)) {
    // Top level (never shown): the work area's changes are told only to those.
    window_ = makeHelperWindow(kWindowClass, windowProc, this, HelperWindow::TopLevel);
    watchers().push_back(this);
    foregroundHook_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, onEvent, 0, 0,
                                      WINEVENT_OUTOFCONTEXT);
    oursHook_ = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_HIDE, nullptr, onEvent, GetCurrentProcessId(), 0,
                                WINEVENT_OUTOFCONTEXT);
    followFront();
}

WinWindowEvents::~WinWindowEvents() {
    for (HWINEVENTHOOK hook : {foregroundHook_, oursHook_, frontHook_})
        if (hook) UnhookWinEvent(hook);
    auto& all = watchers();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

bool WinWindowEvents::hooked() const {
    // Nothing in front, nothing to follow.
    return foregroundHook_ && oursHook_ && (frontHook_ || frontThread_ == 0);
}

bool WinWindowEvents::systemRaisesThem() {
    static const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return !wine;
}

void WinWindowEvents::followFront() {
    front_ = GetForegroundWindow();
    DWORD process = 0;
    const DWORD thread = front_ ? GetWindowThreadProcessId(front_, &process) : 0;
    // Another window of the same thread: the hook already hears it.
    if (thread == frontThread_ && (frontHook_ || thread == 0)) return;
    if (frontHook_) UnhookWinEvent(frontHook_);
    frontHook_ = nullptr;
    frontThread_ = thread;
    if (thread == 0) return;
    // Wine refuses a thread of another program; the whole program will do,
    // as only the window in front counts. A failure leaves hooked() false,
    // and the next window in front tries again.
    for (const DWORD inThread : {thread, DWORD{0}}) {
        frontHook_ = SetWinEventHook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, onEvent, process,
                                     inThread, WINEVENT_OUTOFCONTEXT);
        if (frontHook_) break;
    }
}

void CALLBACK WinWindowEvents::onEvent(HWINEVENTHOOK hook, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    for (WinWindowEvents* w : watchers()) {
        if (hook == w->foregroundHook_) {
            w->note();
        } else if (hook == w->frontHook_) {
            // Not the caret's or a control's moves, and not another window of
            // that thread. A move of a window that has just come to the front
            // comes after the note of its coming, and the tick reads it then.
            if (wholeWindow(object, child) && window == w->front_) w->note();
        } else if (hook == w->oursHook_) {
            const auto& ours = w->ours_;
            if (wholeWindow(object, child) && std::find(ours.begin(), ours.end(), fromHwnd(window)) != ours.end())
                w->note();
        }
    }
}

void WinWindowEvents::note() {
    if (noted_) return;
    noted_ = PostMessageW(window_, kNoted, 0, 0) != 0;
}

void WinWindowEvents::deliver() {
    noted_ = false;
    followFront();
    // The call may end the watch (and this object) before it returns.
    const std::function<void()> changed = changed_;
    if (changed) Commands::report(changed, "a window change");
}

LRESULT CALLBACK WinWindowEvents::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<WinWindowEvents*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == kNoted) {
        self->deliver();
        return 0;
    }
    // Sent, and so possibly inside one of our calls that waits for another
    // program: noted like an event.
    if (self && ((message == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA) || message == WM_DISPLAYCHANGE))
        self->note();
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tovlo

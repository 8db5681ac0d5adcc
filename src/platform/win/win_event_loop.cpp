#include "win_event_loop.h"

#include <windows.h>

#include <stdexcept>

#include "platform/commands.h"
#include "platform/nested_wait.h"
#include "win_helper_window.h"

namespace tovlo {

namespace {

constexpr const wchar_t* kWindowClass = L"Tovlo.EventLoop";

// Milliseconds between 1601-01-01 (file times) and 1970-01-01.
constexpr std::int64_t kEpochOffsetMs = 11644473600000;

}  // namespace

// The message-only window that receives the loop's timer messages.
struct WinEventLoopWindow {
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_TIMER) {
            auto* loop = reinterpret_cast<WinEventLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (loop) loop->timerMessage(wParam);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

class WinTimer : public Timer {
public:
    WinTimer(WinEventLoop& loop, int interval, bool enabled, TimerKind kind)
        : loop_(&loop), interval_(interval), ticks_(*this, kind) {
        setEnabled(enabled);
    }
    ~WinTimer() override { stop(); }
    WinTimer(const WinTimer&) = delete;
    WinTimer& operator=(const WinTimer&) = delete;

    void setInterval(int ms) override {
        interval_ = ms;
        if (enabled_) restart();
    }
    int interval() const override { return interval_; }
    void setEnabled(bool on) override {
        if (on == enabled_) return;
        enabled_ = on;
        if (on)
            restart();
        else
            stop();
    }
    bool enabled() const override { return enabled_; }

    // The loop ends before the timer: it never fires again.
    void loopGone() {
        loop_ = nullptr;
        id_ = 0;
    }

    void fire(std::uintptr_t id) {
        // A message of a count that has since been stopped or restarted, or
        // one that arrives while the tick itself pumps messages, is not a tick.
        if (id != id_ || firing_ || !onTick) return;
        firing_ = true;
        ticks_.due([this] { restart(); });
        firing_ = false;
    }

private:
    // Every start gets an id of its own, so that a message left in the queue
    // by an earlier count can never be taken for the new one.
    void restart() {
        stop();
        // A timer without interval never fires.
        if (interval_ <= 0 || !loop_) return;
        id_ = loop_->nextTimerId_++;
        if (!SetTimer(loop_->window_, id_, static_cast<UINT>(interval_), nullptr)) {
            id_ = 0;
            return;
        }
        loop_->timers_[id_] = this;
    }
    void stop() {
        if (id_ == 0 || !loop_) return;
        KillTimer(loop_->window_, id_);
        loop_->timers_.erase(id_);
        id_ = 0;
    }

    WinEventLoop* loop_;
    int interval_;
    bool enabled_ = false;
    bool firing_ = false;
    std::uintptr_t id_ = 0;
    TimerTicks ticks_;
};

WinEventLoop::WinEventLoop() { window_ = makeHelperWindow(kWindowClass, WinEventLoopWindow::proc, this); }

WinEventLoop::~WinEventLoop() {
    // Timers that outlive the loop stop here; their messages go with the window.
    for (auto& [id, timer] : timers_) {
        KillTimer(window_, id);
        timer->loopGone();
    }
    timers_.clear();
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

std::unique_ptr<Timer> WinEventLoop::createTimer(int intervalMs, bool enabled, TimerKind kind) {
    return std::make_unique<WinTimer>(*this, intervalMs, enabled, kind);
}

void WinEventLoop::timerMessage(std::uintptr_t id) {
    auto it = timers_.find(id);
    if (it != timers_.end()) it->second->fire(id);
}

void WinEventLoop::processEvents() {
    NestedWaits::Scope pumping;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitRequested_ = true;
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void WinEventLoop::run() {
    MSG message;
    while (!quitRequested_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {  // WM_QUIT, or no queue to read
            quitRequested_ = true;
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::int64_t WinEventLoop::nowMs() const {
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    const std::int64_t ticks = (static_cast<std::int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return ticks / 10000 - kEpochOffsetMs;  // 100 ns units
}

void WinEventLoop::quit() {
    Commands::deliver([this] {
        quitRequested_ = true;
        PostQuitMessage(0);
    });
}

}  // namespace tovlo

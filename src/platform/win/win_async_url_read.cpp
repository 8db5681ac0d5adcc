#include "win_async_url_read.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/commands.h"
#include "platform/wire_url.h"
#include "win_helper_window.h"
#include "wininet_get.h"

namespace tovlo {

namespace {

constexpr const wchar_t* kWindowClass = L"Tovlo.UrlReads";
constexpr UINT kNewsMessage = WM_APP + 1;
constexpr UINT_PTR kStallCheck = 1;
constexpr UINT kStallCheckMs = 100;
// The error number of a URL the reader cannot use.
constexpr int kErrBadUrl = 5;

std::int64_t nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// What a read's thread and the reader share.
struct Transfer {
    std::atomic<bool> abandoned{false};
    std::atomic<std::int64_t> lastNewsMs{0};
};

}  // namespace

// The window the reads' threads post to. Posted news is a function to run
// on the window's thread; news that arrives after the window has gone is
// dropped with it.
struct WinAsyncUrlReads::Mailbox {
    HWND window = nullptr;
    // Run every stall check while reads are under way.
    std::map<void*, std::function<void()>> stallChecks;

    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* box = reinterpret_cast<Mailbox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == kNewsMessage) {
            std::unique_ptr<std::function<void()>> news(reinterpret_cast<std::function<void()>*>(lParam));
            if (box) (*news)();
            return 0;
        }
        if (message == WM_TIMER && wParam == kStallCheck && box) {
            // A copy: a check may end a read, and with it its entry.
            const auto checks = box->stallChecks;
            // A check may end a read whose news ends another reader.
            for (const auto& [owner, check] : checks)
                if (box->stallChecks.count(owner)) check();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    // Runs news on the window's thread; from any thread.
    void post(std::function<void()> news) {
        auto* held = new std::function<void()>(std::move(news));
        if (!PostMessageW(window, kNewsMessage, 0, reinterpret_cast<LPARAM>(held))) delete held;
    }
    void watch(void* owner, std::function<void()> check) {
        if (stallChecks.empty()) SetTimer(window, kStallCheck, kStallCheckMs, nullptr);
        stallChecks[owner] = std::move(check);
    }
    void unwatch(void* owner) {
        stallChecks.erase(owner);
        if (stallChecks.empty()) KillTimer(window, kStallCheck);
    }
};

namespace {

class WinAsyncUrlRead : public AsyncUrlRead {
public:
    WinAsyncUrlRead(std::shared_ptr<WinAsyncUrlReads::Mailbox> mailbox, const TextCodec& codec, int stallTimeoutMs)
        : mailbox_(std::move(mailbox)), codec_(codec), stallTimeoutMs_(stallTimeoutMs) {}
    ~WinAsyncUrlRead() override {
        for (auto& [tag, transfer] : transfers_) transfer->abandoned = true;
        mailbox_->unwatch(this);
    }

    void start(const std::string& url, const std::string& tag, std::int64_t maxBytes) override {
        if (transfers_.count(tag)) throw AsyncReadStartError(kErrBadUrl, "a read with this tag is running: " + tag);
        const std::string wire = wireUrl(codec_, url);
        if (!isWinInetUrl(wire)) throw AsyncReadStartError(kErrBadUrl, "not a usable address: " + url);
        auto transfer = std::make_shared<Transfer>();
        transfer->lastNewsMs = nowMs();
        transfers_[tag] = transfer;
        mailbox_->watch(this, [this] { checkStalls(); });

        FetchLimits limits;
        limits.stallTimeoutMs = stallTimeoutMs_;
        limits.maxBytes = maxBytes;
        std::weak_ptr<WinAsyncUrlReads::Mailbox> box = mailbox_;
        auto news = [this, box, tag, transfer](std::function<void()> told) {
            if (transfer->abandoned) return;
            if (auto mailbox = box.lock())
                mailbox->post([this, tag, transfer, told = std::move(told)] {
                    // A read cancelled, given up or replaced meanwhile hears nothing.
                    if (!transfer->abandoned) told();
                });
        };
        std::thread([wire, limits, transfer, tag, news, this] {
            const auto body = winInetGet(wire, limits, [&](std::int64_t got, std::int64_t total) {
                transfer->lastNewsMs = nowMs();
                if (got > 0)
                    news([this, got, total, tag] {
                        events_.deliver([this, got, total, tag] {
                            if (transfers_.count(tag) && onProgress) onProgress(got, total, kReadReceiving, tag);
                        });
                    });
                return !transfer->abandoned.load();
            });
            news([this, tag, body] { ended(tag, body); });
        }).detach();
    }

    bool cancel(const std::string& tag) override {
        auto it = transfers_.find(tag);
        if (it == transfers_.end()) return false;
        it->second->abandoned = true;
        transfers_.erase(it);
        if (transfers_.empty()) mailbox_->unwatch(this);
        return true;
    }

private:
    void ended(const std::string& tag, const std::optional<std::string>& body) {
        auto it = transfers_.find(tag);
        if (it == transfers_.end()) return;
        it->second->abandoned = true;  // nothing more of it is told
        transfers_.erase(it);
        if (transfers_.empty()) mailbox_->unwatch(this);
        events_.deliver([this, tag, body] {
            if (!onComplete) return;
            if (body)
                onComplete(kReadEndOfData, *body, static_cast<std::int64_t>(body->size()), tag);
            else
                onComplete(kReadError, std::string(), 0, tag);
        });
    }

    // A read with no news for the stall time has failed. One per check: its
    // news may end this reader.
    void checkStalls() {
        const std::int64_t now = nowMs();
        for (const auto& [tag, transfer] : transfers_)
            if (now - transfer->lastNewsMs > stallTimeoutMs_) {
                ended(std::string(tag), std::nullopt);
                return;
            }
    }

    std::shared_ptr<WinAsyncUrlReads::Mailbox> mailbox_;
    const TextCodec& codec_;
    int stallTimeoutMs_;
    std::map<std::string, std::shared_ptr<Transfer>> transfers_;
    EventSource events_{"a download's news"};
};

}  // namespace

WinAsyncUrlReads::WinAsyncUrlReads(const TextCodec& codec, int stallTimeoutMs)
    : codec_(codec), stallTimeoutMs_(stallTimeoutMs), mailbox_(std::make_shared<Mailbox>()) {
    mailbox_->window = makeHelperWindow(kWindowClass, Mailbox::proc, mailbox_.get());
}

WinAsyncUrlReads::~WinAsyncUrlReads() {
    // News still on its way is dropped with the window (the threads find the
    // mailbox gone and post nothing more).
    SetWindowLongPtrW(mailbox_->window, GWLP_USERDATA, 0);
    DestroyWindow(mailbox_->window);
}

std::unique_ptr<AsyncUrlRead> WinAsyncUrlReads::create() {
    return std::make_unique<WinAsyncUrlRead>(mailbox_, codec_, stallTimeoutMs_);
}

}  // namespace tovlo

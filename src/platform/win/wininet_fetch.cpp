#include "wininet_fetch.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/part_file.h"
#include "platform/wire_url.h"
#include "win_files.h"

namespace tovlo {

namespace {

// An internet handle, closed when it goes.
class InternetHandle {
public:
    explicit InternetHandle(HINTERNET h) : h_(h) {}
    ~InternetHandle() {
        if (h_) InternetCloseHandle(h_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    HINTERNET h_;
};

// The parts of an ASCII URL that a request needs.
struct UrlParts {
    bool secure = false;
    std::string host;
    INTERNET_PORT port = 0;
    std::string object;  // path and query, as they go on the wire
};

bool splitUrl(const std::string& url, UrlParts& parts) {
    URL_COMPONENTSA c{};
    c.dwStructSize = sizeof c;
    c.dwHostNameLength = 1;  // non-zero: point into the URL
    c.dwUrlPathLength = 1;
    c.dwExtraInfoLength = 1;
    if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &c)) return false;
    if (c.nScheme != INTERNET_SCHEME_HTTP && c.nScheme != INTERNET_SCHEME_HTTPS) return false;
    if (!c.lpszHostName || c.dwHostNameLength == 0) return false;
    parts.secure = c.nScheme == INTERNET_SCHEME_HTTPS;
    parts.host.assign(c.lpszHostName, c.dwHostNameLength);
    parts.port = c.nPort;
    if (c.lpszUrlPath) parts.object.assign(c.lpszUrlPath, c.dwUrlPathLength);
    if (c.lpszExtraInfo) parts.object.append(c.lpszExtraInfo, c.dwExtraInfoLength);
    if (parts.object.empty()) parts.object = "/";
    return true;
}

void setTimeout(HINTERNET h, DWORD option, long ms) {
    DWORD value = static_cast<DWORD>(ms);
    InternetSetOptionA(h, option, &value, sizeof value);
}

// A numeric header of the answer, or -1 when it is not there.
long long numberHeader(HINTERNET request, DWORD which) {
    char text[32] = {};
    DWORD size = sizeof text - 1;
    if (!HttpQueryInfoA(request, which, text, &size, nullptr)) return -1;
    text[size] = '\0';
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    return end != text ? value : -1;
}

using Clock = std::chrono::steady_clock;

// What the transfer thread and the waiting caller share. WinINet's own
// time-outs do not cover every wait (Wine ignores the receive time-out while
// a body is read, and closing the request from another thread does not end
// the read), so the transfer runs on a thread of its own and the caller
// waits for it only as long as the limits allow. A transfer given up on
// stops at its next piece and cleans up after itself.
struct Progress {
    std::mutex mutex;
    std::condition_variable changed;
    Clock::time_point waitEnds;  // when the current wait has lasted too long
    bool finished = false;
    bool abandoned = false;
    std::optional<std::string> body;

    // A new wait starts now, allowed to last ms. False when the caller has
    // given up on the transfer.
    bool expect(long ms) {
        std::lock_guard<std::mutex> lock(mutex);
        waitEnds = Clock::now() + std::chrono::milliseconds(ms);
        changed.notify_all();
        return !abandoned;
    }
    void finish(std::optional<std::string> result) {
        std::lock_guard<std::mutex> lock(mutex);
        body = std::move(result);
        finished = true;
        changed.notify_all();
    }
};

// Sends the request and reads the answer's body; nothing on any failure.
std::optional<std::string> readAnswer(HINTERNET request, const WinInetFetch::Limits& limits, Progress& progress) {
    if (!HttpSendRequestA(request, nullptr, 0, nullptr, 0)) return std::nullopt;
    // WinINet follows redirects itself (as the other systems' fetch does);
    // an answer that ends anywhere but 2xx is a failure.
    const long long status = numberHeader(request, HTTP_QUERY_STATUS_CODE);
    if (status < 200 || status >= 300) return std::nullopt;
    // A body announced over the bound fails before it is read.
    if (numberHeader(request, HTTP_QUERY_CONTENT_LENGTH) > limits.maxBytes) return std::nullopt;
    std::string body;
    char buffer[16 * 1024];
    for (;;) {
        if (!progress.expect(limits.stallTimeoutMs)) return std::nullopt;
        DWORD got = 0;
        if (!InternetReadFile(request, buffer, sizeof buffer, &got)) return std::nullopt;
        if (got == 0) return body;
        if (static_cast<std::int64_t>(body.size() + got) > limits.maxBytes) return std::nullopt;
        body.append(buffer, got);
    }
}

// The whole request, on the transfer thread.
std::optional<std::string> transfer(const UrlParts& parts, const WinInetFetch::Limits& limits, Progress& progress) {
    InternetHandle session(InternetOpenA("Tovlo", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return std::nullopt;
    setTimeout(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, limits.connectTimeoutMs);
    setTimeout(session.get(), INTERNET_OPTION_SEND_TIMEOUT, limits.stallTimeoutMs);
    setTimeout(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, limits.stallTimeoutMs);
    // One connection attempt: a refused port fails at once.
    DWORD retries = 1;
    InternetSetOptionA(session.get(), INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof retries);

    InternetHandle connection(
        InternetConnectA(session.get(), parts.host.c_str(), parts.port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return std::nullopt;
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                  INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH;
    if (parts.secure) flags |= INTERNET_FLAG_SECURE;
    InternetHandle request(
        HttpOpenRequestA(connection.get(), "GET", parts.object.c_str(), nullptr, nullptr, nullptr, flags, 0));
    if (!request) return std::nullopt;
    return readAnswer(request.get(), limits, progress);
}

}  // namespace

std::optional<std::string> WinInetFetch::fetchBytes(const std::string& url) {
    UrlParts parts;
    if (!splitUrl(wireUrl(codec_, url), parts)) return std::nullopt;

    auto progress = std::make_shared<Progress>();
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limits_.totalTimeoutMs);
    // Until the answer's head: the connection and one stall's time.
    progress->waitEnds = Clock::now() + std::chrono::milliseconds(limits_.connectTimeoutMs + limits_.stallTimeoutMs);
    std::thread worker([parts, limits = limits_, progress] { progress->finish(transfer(parts, limits, *progress)); });

    std::unique_lock<std::mutex> lock(progress->mutex);
    while (!progress->finished) {
        const Clock::time_point limit = std::min(deadline, progress->waitEnds);
        if (Clock::now() >= limit) break;
        progress->changed.wait_until(lock, limit);
    }
    if (!progress->finished) {
        progress->abandoned = true;
        lock.unlock();
        worker.detach();
        return std::nullopt;
    }
    std::optional<std::string> body = std::move(progress->body);
    lock.unlock();
    worker.join();
    return body;
}

bool WinInetFetch::fetchToFile(const std::string& url, const std::string& path) {
    auto body = fetchBytes(url);
    if (!body) return false;
    // Written beside the target and renamed, so a reader never sees half a file.
    const std::string temp = partFileOf(path);
    if (writeWholeFile(temp, *body) && moveOver(temp, path)) return true;
    removeFile(temp);
    return false;
}

}  // namespace tovlo

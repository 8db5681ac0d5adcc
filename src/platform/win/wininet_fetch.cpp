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
#include "wininet_get.h"

namespace tovlo {

namespace {

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

}  // namespace

std::optional<std::string> WinInetFetch::fetchBytes(const std::string& url) {
    const std::string wire = wireUrl(codec_, url);
    if (!isWinInetUrl(wire)) return std::nullopt;

    auto progress = std::make_shared<Progress>();
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limits_.totalTimeoutMs);
    // Until the answer's head: the connection and one stall's time.
    progress->waitEnds = Clock::now() + std::chrono::milliseconds(limits_.connectTimeoutMs + limits_.stallTimeoutMs);
    std::thread worker([wire, limits = limits_, progress] {
        progress->finish(winInetGet(
            wire, limits, [&](std::int64_t, std::int64_t) { return progress->expect(limits.stallTimeoutMs); }));
    });

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

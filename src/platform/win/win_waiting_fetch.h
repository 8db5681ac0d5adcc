#pragma once
// A synchronous fetch that keeps the program responsive: the blocking
// transfer runs on a worker thread while the caller waits with the thread's
// messages going on (a nested wait), so a slow or hostile service never
// freezes the windows: the tray menu, the pages and the tracking tick go on.
// For the caller it is still one call that returns the whole answer, within
// the fetch's own time limits.
#include "platform/url_fetch.h"

namespace tovlo {

class WinWaitingFetch : public UrlFetch {
public:
    // The fetch that does the work; it must be safe to call from another thread.
    explicit WinWaitingFetch(UrlFetch& inner) : inner_(inner) {}
    bool fetchToFile(const std::string& url, const std::string& path) override;
    std::optional<std::string> fetchBytes(const std::string& url) override;

private:
    UrlFetch& inner_;
};

}  // namespace tovlo

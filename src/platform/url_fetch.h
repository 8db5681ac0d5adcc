#pragma once
// Synchronous URL fetches of the service's texts. Both calls block until the
// transfer ends or its time-out passes; they never throw, a failure is simply
// reported as such. A body longer than limits::kTextBytes is a failure.
#include <optional>
#include <string>

namespace tovlo {

class UrlFetch {
public:
    virtual ~UrlFetch() = default;
    // Downloads the body into the file (replacing it). True on success.
    virtual bool fetchToFile(const std::string& url, const std::string& path) = 0;
    // The body's bytes, or nothing on failure.
    virtual std::optional<std::string> fetchBytes(const std::string& url) = 0;
};

}  // namespace tovlo

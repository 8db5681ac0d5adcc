#pragma once
// Blocking HTTP fetches with libcurl. They really block (no events run
// meanwhile), as the program's synchronous fetches must, but never for ever:
// a connection that cannot be made in connectTimeoutMs, or a transfer that
// stalls for stallTimeoutMs, fails; so does a body over maxBytes, and an
// HTTP error status.
#include <cstdint>

#include "platform/read_limits.h"
#include "platform/text_codec.h"
#include "platform/url_fetch.h"

namespace tovlo {

class CurlFetch : public UrlFetch {
public:
    using Limits = FetchLimits;
    explicit CurlFetch(const TextCodec& codec) : CurlFetch(codec, Limits{}) {}
    CurlFetch(const TextCodec& codec, Limits limits);
    bool fetchToFile(const std::string& url, const std::string& path) override;
    std::optional<std::string> fetchBytes(const std::string& url) override;

private:
    const TextCodec& codec_;
    Limits limits_;
};

}  // namespace tovlo

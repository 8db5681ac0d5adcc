#pragma once
// Blocking HTTP fetches with WinINet. They really block (no events run
// meanwhile), as the program's synchronous fetches must, but never for ever:
// the answer's head must come within connectTimeoutMs + stallTimeoutMs, each
// piece of the body within stallTimeoutMs of the one before, and the whole
// transfer within totalTimeoutMs; a body over maxBytes and an answer that
// ends (after redirects) with a status other than 2xx fail too. The URL goes
// on the wire in the ANSI code page, percent-encoded (platform/wire_url.h).
#include <cstdint>

#include "platform/read_limits.h"
#include "platform/text_codec.h"
#include "platform/url_fetch.h"

namespace tovlo {

class WinInetFetch : public UrlFetch {
public:
    using Limits = FetchLimits;
    explicit WinInetFetch(const TextCodec& codec) : WinInetFetch(codec, Limits{}) {}
    WinInetFetch(const TextCodec& codec, Limits limits) : codec_(codec), limits_(limits) {}
    bool fetchToFile(const std::string& url, const std::string& path) override;
    std::optional<std::string> fetchBytes(const std::string& url) override;

private:
    const TextCodec& codec_;
    Limits limits_;
};

}  // namespace tovlo

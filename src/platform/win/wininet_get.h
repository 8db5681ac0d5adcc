#pragma once
// One HTTP GET with WinINet, run on the calling thread: the request, the
// answer's status (redirects followed; anything but 2xx fails) and the body
// within maxBytes, announced or received. Before each piece of the body is
// read, `piece` hears how much has arrived and the announced total (0 while
// unknown); it returns false to give the read up. Shared by the blocking
// fetch and the asynchronous reads, which run it on threads of their own.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/read_limits.h"

namespace tovlo {

// Whether the ASCII URL is an http or https address WinINet can request.
bool isWinInetUrl(const std::string& wireUrl);

std::optional<std::string> winInetGet(const std::string& wireUrl, const FetchLimits& limits,
                                      const std::function<bool(std::int64_t got, std::int64_t total)>& piece);

}  // namespace tovlo

#pragma once
// UTF-8 (every string in memory) to and from UTF-16 (the "W" calls of the
// Win32 API). Malformed UTF-8 becomes U+FFFD, an unpaired surrogate the same.
#include <string>
#include <string_view>

namespace tovlo {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace tovlo

#pragma once
// Addresses. Every address the program builds goes through these: names of
// folders and files and query values may hold any character ("#", "?", "%",
// spaces, Chinese), and each is percent-encoded so that it stays what it is.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tovlo {

// Every byte other than ASCII letters, digits and "-._~" as "%XX" (upper case).
std::string percentEncode(std::string_view text);
// "%XX" back to its byte; anything else, including a broken "%", is kept.
std::string percentDecode(std::string_view text);
// A path of an address ("a/b c/d"): each "/"-separated name encoded, the
// "/" between them kept.
std::string urlPath(std::string_view path);
// A file: URL for an absolute local path (file:///home/u/x on Linux,
// file:///C:/x on Windows), each name of the path encoded.
std::string fileUrl(std::string_view path);
// The local path of a file: URL (the inverse of fileUrl); nothing for any
// other address, a file on another host, or a name that decodes to a path
// separator.
std::optional<std::string> localPathOf(std::string_view url);
// The URL with the parameters appended after "?" (or "&" when it already
// has a query), each value encoded.
using QueryParams = std::vector<std::pair<std::string, std::string>>;
std::string withQuery(std::string url, const QueryParams& params);

// Addresses of the service. Its names and values go on the wire in the ANSI
// code page (platform/wire_url.h encodes the non-ASCII text on the way out),
// so here only the ASCII characters that would change the address ("%", "#",
// "?", "&", "=", "+", spaces and the like) are encoded; other text stays.
std::string serviceEncode(std::string_view text);
// A "/"-separated path of the service, each name encoded as above.
std::string servicePath(std::string_view path);
// The service URL with the parameters appended, each value encoded as above.
std::string withServiceQuery(std::string url, const QueryParams& params);

}  // namespace tovlo

#pragma once
// Which pages may call the program through window.external: its own (local
// files, a blank page) and the service's pages (plain http on the service's
// host and port). Any other page a view may come to show (a link, a
// redirect) is refused. One rule for every browser engine.
#include <algorithm>
#include <cctype>
#include <string>

namespace tovlo {

// host[:port] lower-cased, without the default port.
inline std::string normalAuthority(std::string authority) {
    std::transform(authority.begin(), authority.end(), authority.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::string defaultPort = ":80";
    if (authority.size() > defaultPort.size() &&
        authority.compare(authority.size() - defaultPort.size(), defaultPort.size(), defaultPort) == 0)
        authority.resize(authority.size() - defaultPort.size());
    return authority;
}

// trustedHostPort: the service's host[:port]; empty trusts no service page.
inline bool pageMayCallHost(const std::string& url, const std::string& trustedHostPort) {
    std::string lower = url;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.empty() || lower.rfind("file:", 0) == 0 || lower == "about:blank") return true;
    const std::string http = "http://";
    if (lower.rfind(http, 0) != 0 || trustedHostPort.empty()) return false;
    const std::string authority = lower.substr(http.size(), lower.find_first_of("/?#\\", http.size()) - http.size());
    // A user name in front of the host could pass for the host itself.
    if (authority.find('@') != std::string::npos) return false;
    return normalAuthority(authority) == normalAuthority(trustedHostPort);
}

}  // namespace tovlo

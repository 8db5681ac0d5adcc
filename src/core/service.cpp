#include "service.h"

#include "text.h"

namespace tovlo {

std::string effectiveServiceHost(const std::string& configured) {
    return configured.empty() ? kDefaultServiceHost : configured;
}

std::string serviceUrl(const std::string& host, const std::string& path) {
    return "http://" + host + path;
}

std::string serviceBase(const std::string& host) { return serviceUrl(host, "/soft/"); }

std::string uploadHostField(const std::string& host) {
    // An IPv6 literal in brackets names a port only after the closing bracket.
    std::size_t close = host.rfind(']');
    std::size_t colon = host.rfind(':');
    bool hasPort = colon != std::string::npos && (close == std::string::npos || colon > close);
    return hasPort ? host : host + ":80";
}

}  // namespace tovlo

#include "service.h"

#include "text.h"

namespace tovlo {

std::string effectiveServiceHost(const std::string& configured) {
    return configured.empty() ? kDefaultServiceHost : configured;
}

std::string serviceUrl(const std::string& host, const std::string& path) { return "http://" + host + path; }

std::string serviceBase(const std::string& host) { return serviceUrl(host, "/soft/"); }

namespace {

// Where the port of "host:port" starts; npos when the host names no port.
// An IPv6 literal in brackets names a port only after the closing bracket.
std::size_t portColon(const std::string& host) {
    std::size_t close = host.rfind(']');
    std::size_t colon = host.rfind(':');
    bool hasPort = colon != std::string::npos && (close == std::string::npos || colon > close);
    return hasPort ? colon : std::string::npos;
}

}  // namespace

std::string uploadHostField(const std::string& host) {
    return portColon(host) != std::string::npos ? host : host + ":80";
}

ServiceEndpoint serviceEndpoint(const std::string& host) {
    ServiceEndpoint endpoint;
    const std::size_t colon = portColon(host);
    endpoint.name = host.substr(0, colon);
    if (colon != std::string::npos) {
        const std::string digits = host.substr(colon + 1);
        const bool numeric =
            !digits.empty() && digits.size() <= 5 && digits.find_first_not_of("0123456789") == std::string::npos;
        const int port = numeric ? std::stoi(digits) : 0;
        if (port > 0 && port <= 65535) endpoint.port = port;
    }
    if (endpoint.name.size() >= 2 && endpoint.name.front() == '[' && endpoint.name.back() == ']')
        endpoint.name = endpoint.name.substr(1, endpoint.name.size() - 2);
    return endpoint;
}

}  // namespace tovlo

#pragma once
// Addresses on the web service. The host is the setting
// application/serviceHost (host or host:port), the built-in one when empty.
#include <string>

namespace tovlo {

inline constexpr const char* kDefaultServiceHost = "face.tovlo.net";

// The configured host, or the built-in one for an empty setting.
std::string effectiveServiceHost(const std::string& configured);
// "http://" + host + path; path starts with "/".
std::string serviceUrl(const std::string& host, const std::string& path);
// The base of face files: "http://" + host + "/soft/".
std::string serviceBase(const std::string& host);
// The upload's Host field: the host, with ":80" when it names no port.
std::string uploadHostField(const std::string& host);

// Where the upload connects: the host name (without the brackets of an IPv6
// literal) and the port it names, 80 when it names none or no valid one.
struct ServiceEndpoint {
    std::string name;
    int port = 80;
};
ServiceEndpoint serviceEndpoint(const std::string& host);

}  // namespace tovlo

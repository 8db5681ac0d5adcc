#include "wininet_get.h"

#include <windows.h>
#include <wininet.h>

#include <cstdlib>

namespace tovlo {

namespace {

// An internet handle, closed when it goes.
class InternetHandle {
public:
    explicit InternetHandle(HINTERNET h) : h_(h) {}
    ~InternetHandle() {
        if (h_) InternetCloseHandle(h_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    HINTERNET h_;
};

// The parts of an ASCII URL that a request needs.
struct UrlParts {
    bool secure = false;
    std::string host;
    INTERNET_PORT port = 0;
    std::string object;  // path and query, as they go on the wire
};

bool splitUrl(const std::string& url, UrlParts& parts) {
    URL_COMPONENTSA c{};
    c.dwStructSize = sizeof c;
    c.dwHostNameLength = 1;  // non-zero: point into the URL
    c.dwUrlPathLength = 1;
    c.dwExtraInfoLength = 1;
    if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &c)) return false;
    if (c.nScheme != INTERNET_SCHEME_HTTP && c.nScheme != INTERNET_SCHEME_HTTPS) return false;
    if (!c.lpszHostName || c.dwHostNameLength == 0) return false;
    parts.secure = c.nScheme == INTERNET_SCHEME_HTTPS;
    parts.host.assign(c.lpszHostName, c.dwHostNameLength);
    parts.port = c.nPort;
    if (c.lpszUrlPath) parts.object.assign(c.lpszUrlPath, c.dwUrlPathLength);
    if (c.lpszExtraInfo) parts.object.append(c.lpszExtraInfo, c.dwExtraInfoLength);
    if (parts.object.empty()) parts.object = "/";
    return true;
}

void setTimeout(HINTERNET h, DWORD option, long ms) {
    DWORD value = static_cast<DWORD>(ms);
    InternetSetOptionA(h, option, &value, sizeof value);
}

// A numeric header of the answer, or -1 when it is not there.
long long numberHeader(HINTERNET request, DWORD which) {
    char text[32] = {};
    DWORD size = sizeof text - 1;
    if (!HttpQueryInfoA(request, which, text, &size, nullptr)) return -1;
    text[size] = '\0';
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    return end != text ? value : -1;
}

}  // namespace

bool isWinInetUrl(const std::string& wireUrl) {
    UrlParts parts;
    return splitUrl(wireUrl, parts);
}

std::optional<std::string> winInetGet(const std::string& wireUrl, const FetchLimits& limits,
                                      const std::function<bool(std::int64_t got, std::int64_t total)>& piece) {
    UrlParts parts;
    if (!splitUrl(wireUrl, parts)) return std::nullopt;
    InternetHandle session(InternetOpenA("Tovlo", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return std::nullopt;
    setTimeout(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, limits.connectTimeoutMs);
    setTimeout(session.get(), INTERNET_OPTION_SEND_TIMEOUT, limits.stallTimeoutMs);
    setTimeout(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, limits.stallTimeoutMs);
    // One connection attempt: a refused port fails at once.
    DWORD retries = 1;
    InternetSetOptionA(session.get(), INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof retries);

    InternetHandle connection(
        InternetConnectA(session.get(), parts.host.c_str(), parts.port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return std::nullopt;
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                  INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH;
    if (parts.secure) flags |= INTERNET_FLAG_SECURE;
    InternetHandle request(
        HttpOpenRequestA(connection.get(), "GET", parts.object.c_str(), nullptr, nullptr, nullptr, flags, 0));
    if (!request) return std::nullopt;

    if (!HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return std::nullopt;
    // WinINet follows redirects itself (as the other systems' fetch does);
    // an answer that ends anywhere but 2xx is a failure.
    const long long status = numberHeader(request.get(), HTTP_QUERY_STATUS_CODE);
    if (status < 200 || status >= 300) return std::nullopt;
    // A body announced over the bound fails before it is read.
    const long long announced = numberHeader(request.get(), HTTP_QUERY_CONTENT_LENGTH);
    if (announced > limits.maxBytes) return std::nullopt;
    std::string body;
    char buffer[16 * 1024];
    for (;;) {
        if (!piece(static_cast<std::int64_t>(body.size()), announced < 0 ? 0 : announced)) return std::nullopt;
        DWORD got = 0;
        if (!InternetReadFile(request.get(), buffer, sizeof buffer, &got)) return std::nullopt;
        if (got == 0) {
            // A body shorter than announced was cut off.
            if (announced >= 0 && static_cast<long long>(body.size()) != announced) return std::nullopt;
            return body;
        }
        if (static_cast<std::int64_t>(body.size() + got) > limits.maxBytes) return std::nullopt;
        body.append(buffer, got);
    }
}

}  // namespace tovlo

#include "curl_fetch.h"

#include <curl/curl.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>

#include "platform/part_file.h"
#include "platform/wire_url.h"

namespace tovlo {

namespace {

struct Body {
    std::string bytes;
    std::int64_t maxBytes;
};

// Taking less than was given makes curl fail the transfer: a body over its
// bound ends there.
std::size_t appendBody(char* data, std::size_t size, std::size_t count, void* target) {
    auto* body = static_cast<Body*>(target);
    const std::size_t n = size * count;
    if (static_cast<std::int64_t>(body->bytes.size() + n) > body->maxBytes) return 0;
    body->bytes.append(data, n);
    return n;
}

}  // namespace

CurlFetch::CurlFetch(const TextCodec& codec, Limits limits) : codec_(codec), limits_(limits) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::optional<std::string> CurlFetch::fetchBytes(const std::string& url) {
    CURL* curl = curl_easy_init();
    if (!curl) return std::nullopt;
    Body body{std::string(), limits_.maxBytes};
    std::string wire = wireUrl(codec_, url);
    curl_easy_setopt(curl, CURLOPT_URL, wire.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits_.connectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits_.totalTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, (limits_.stallTimeoutMs + 999) / 1000);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    CURLcode rc = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    if (rc != CURLE_OK) return std::nullopt;
    return std::move(body.bytes);
}

bool CurlFetch::fetchToFile(const std::string& url, const std::string& path) {
    auto body = fetchBytes(url);
    if (!body) return false;
    // Written beside the target and renamed, so a reader never sees half a file.
    const std::string temp = partFileOf(path);
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(body->data(), 1, body->size(), f) == body->size();
    ok = std::fclose(f) == 0 && ok;
    if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) std::remove(temp.c_str());
    return ok;
}

}  // namespace tovlo

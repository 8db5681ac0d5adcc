#include "functions.h"

#include <ctime>
#include <filesystem>

#include "errors.h"
#include "files.h"
#include "paths.h"
#include "text.h"

namespace tovlo {

std::string readTextFile(const TextCodec& codec, const std::string& path) {
    if (!fileExists(path)) throw FileNotFoundError(path);
    auto bytes = readFileBytes(path);
    if (!bytes) throw TovloError(kErrFileAccess, "cannot read: " + path);
    return codec.ansiToUtf8(*bytes);
}

void writeTextFile(const TextCodec& codec, const std::string& path, const std::string& text) {
    // Written beside and renamed over it: a program killed half way leaves
    // the old file or the new one, never a page cut short.
    if (!replaceFileAtomically(path, codec.utf8ToAnsi(text))) throw TovloError(kErrFileAccess, "cannot write: " + path);
}

void makeDirectories(const std::string& path) {
    std::string p = path;
    if (p.empty() || p.back() != kPathSep) p.push_back(kPathSep);
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] != kPathSep || i == 0) continue;
        std::error_code ec;
        std::filesystem::create_directory(fsPath(p.substr(0, i)), ec);
    }
}

std::string joinArray(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& part : parts) out += part;
    return out;
}

void runPageScript(BrowserView& view, const std::string& code) { view.runScript(code); }

void callPageFunction(BrowserView& view, std::string_view function, std::initializer_list<std::string_view> args) {
    std::string code(function);
    code += '(';
    bool first = true;
    for (std::string_view arg : args) {
        if (!first) code += ',';
        first = false;
        code += scriptLiteral(arg);
    }
    view.runScript(code + ')');
}

namespace {

std::tm localTm(std::int64_t epochMs) {
    std::time_t t = static_cast<std::time_t>(epochMs / 1000);
    // The program has one thread, so the C library's shared result is safe
    // to copy out at once (and std::localtime is there on every system).
    const std::tm* local = std::localtime(&t);
    return local ? *local : std::tm{};
}

}  // namespace

std::string timeStamp(std::int64_t epochMs) {
    std::tm tm = localTm(epochMs);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec, tm.tm_sec);
    return buf;
}

std::string dateTimeText(std::int64_t epochMs) {
    std::tm tm = localTm(epochMs);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%d/%d/%d %02d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                  tm.tm_min, tm.tm_sec);
    return buf;
}

std::string stampedUrl(const std::string& url, std::int64_t epochMs) {
    if (!contains(url, "?")) return url;
    return url + "&t=" + timeStamp(epochMs);
}

std::string fetchUrlText(Platform& platform, const std::string& url) {
    // The body stays in memory: no scratch file that two fetches could share.
    const auto bytes = platform.fetch.fetchBytes(stampedUrl(url, platform.loop.nowMs()));
    return bytes ? platform.codec.ansiToUtf8(*bytes) : std::string();
}

}  // namespace tovlo

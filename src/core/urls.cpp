#include "urls.h"

#include "paths.h"
#include "text.h"

namespace tovlo {

namespace {

bool isUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// "C:" at the start of a Windows path stays as it is.
bool isDriveLetter(std::string_view name) {
    return name.size() == 2 && name[1] == ':' &&
           ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
}

}  // namespace

std::string percentEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (isUnreserved(c)) {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0x0F]);
        }
    }
    return out;
}

std::string percentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::string urlPath(std::string_view path) {
    const std::vector<std::string> names = split(path, "/");
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) out += '/';
        out += percentEncode(names[i]);
    }
    return out;
}

std::string fileUrl(std::string_view path) {
    const std::vector<std::string> names = split(pageSlashes(path), "/");
    std::string out = "file://";
    for (std::size_t i = 0; i < names.size(); ++i) {
        // An absolute path starts with "/": its first name is empty.
        if (i == 0 && names[i].empty()) continue;
        out += '/';
        out += i == 0 && isDriveLetter(names[i]) ? names[i] : percentEncode(names[i]);
    }
    return out;
}

std::optional<std::string> localPathOf(std::string_view url) {
    constexpr std::string_view kScheme = "file:///";
    if (!startsWith(url, kScheme)) return std::nullopt;
    std::string_view rest = url.substr(kScheme.size());
    rest = rest.substr(0, rest.find_first_of("?#"));
    std::string out;
    const std::vector<std::string> names = split(rest, "/");
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string name = percentDecode(names[i]);
        if (name.find_first_of("/\\") != std::string::npos) return std::nullopt;
        if (i == 0 && isDriveLetter(name))
            out = name;
        else
            out += kPathSep + name;
    }
    return out;
}

std::string withQuery(std::string url, const QueryParams& params) {
    for (const auto& [name, value] : params) {
        url += contains(url, "?") ? '&' : '?';
        url += name + "=" + percentEncode(value);
    }
    return url;
}

std::string serviceEncode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x80)
            out.push_back(ch);
        else
            out += percentEncode(std::string_view(&ch, 1));
    }
    return out;
}

std::string servicePath(std::string_view path) {
    const std::vector<std::string> names = split(path, "/");
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) out += '/';
        out += serviceEncode(names[i]);
    }
    return out;
}

std::string withServiceQuery(std::string url, const QueryParams& params) {
    for (const auto& [name, value] : params) {
        url += contains(url, "?") ? '&' : '?';
        url += name + "=" + serviceEncode(value);
    }
    return url;
}

}  // namespace tovlo

#include "paths.h"

#include <algorithm>

#include "text.h"

namespace tovlo {

std::string joinPath(std::string_view base, std::initializer_list<std::string_view> parts) {
    std::string out(base);
    for (std::string_view part : parts) {
        bool endsWithSep = !out.empty() && out.back() == kPathSep;
        bool startsWithSep = !part.empty() && part.front() == kPathSep;
        if (endsWithSep && startsWithSep)
            part.remove_prefix(1);
        else if (!endsWithSep && !startsWithSep)
            out.push_back(kPathSep);
        out.append(part);
    }
    return out;
}

std::string pageSlashes(std::string_view path) { return replaceAll(std::string(path), std::string(1, kPathSep), "/"); }

bool isAbsolutePath(std::string_view path) {
#ifdef _WIN32
    if (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) return true;
    return path.size() >= 2 && (path[0] == '\\' || path[0] == '/') && path[0] == path[1];
#else
    return !path.empty() && path.front() == '/';
#endif
}

std::string withoutTrailingSeparators(std::string_view path) {
    while (path.size() > 1 && (path.back() == kPathSep || path.back() == '/')) path.remove_suffix(1);
#ifdef _WIN32
    if (path.size() == 2 && path[1] == ':') return std::string(path) + kPathSep;  // a drive's root
#endif
    return std::string(path);
}

namespace {

bool hasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

}  // namespace

bool isSafeName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of("/\\") == std::string_view::npos && !hasControlCharacter(name);
}

bool isSafeRelativePath(std::string_view path) {
    if (path.empty() || path.front() == '/') return false;
    if (path.find_first_of("\\:") != std::string_view::npos || hasControlCharacter(path)) return false;
    for (const std::string& segment : split(path, "/"))
        if (segment.empty() || segment == "." || segment == "..") return false;
    return true;
}

std::string localPath(const std::string& base, std::string_view relative) {
    std::string out = base;
    for (const std::string& segment : split(relative, "/")) out = joinPath(out, {segment});
    return out;
}

}  // namespace tovlo

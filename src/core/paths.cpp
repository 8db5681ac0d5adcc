#include "paths.h"

#include <algorithm>
#include <cctype>

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

// The names Windows keeps for its devices, with or without an extension:
// such a file cannot be made, or opens the device instead.
bool isDeviceName(std::string_view name) {
    std::string base(name.substr(0, name.find('.')));
    for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' && base[3] <= '9';
}

// One name of a path that means the same file on every system: no separator,
// no ":" (a drive or a stream on Windows), no control character, no device
// name, no "." or space at its end (Windows drops them), and no longer than
// the 255 bytes a name may have on the common file systems.
bool isPortableName(std::string_view name) {
    constexpr std::size_t kLongestName = 255;
    if (name.empty() || name.size() > kLongestName || name == "." || name == "..") return false;
    if (name.find_first_of("/\\:") != std::string_view::npos || hasControlCharacter(name)) return false;
    if (name.back() == '.' || name.back() == ' ') return false;
    return !isDeviceName(name);
}

}  // namespace

bool isSafeName(std::string_view name) { return isPortableName(name); }

bool isSafeRelativePath(std::string_view path) {
    if (path.empty() || path.front() == '/') return false;
    for (const std::string& segment : split(path, "/"))
        if (!isPortableName(segment)) return false;
    return true;
}

std::string localPath(const std::string& base, std::string_view relative) {
    std::string out = base;
    for (const std::string& segment : split(relative, "/")) out = joinPath(out, {segment});
    return out;
}

}  // namespace tovlo

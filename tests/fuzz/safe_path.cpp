#include "safe_path.h"

#include <string>

namespace tovlo::fuzz {

namespace {

bool isDeviceName(std::string_view name) {
    std::string base(name.substr(0, name.find('.')));
    for (char& c : base)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
        if (base == device) return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

}  // namespace

bool isHarmlessRelativePath(std::string_view path) {
    if (path.empty() || path.front() == '/') return false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find('/', start);
        const std::string_view level = path.substr(start, end == std::string_view::npos ? path.npos : end - start);
        if (level.empty() || level == "." || level == ".." || level.size() > 255) return false;
        for (char c : level)
            if (c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20) return false;
        // Windows drops a dot or space at the end, and keeps device names.
        if (level.back() == '.' || level.back() == ' ' || isDeviceName(level)) return false;
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
}

}  // namespace tovlo::fuzz

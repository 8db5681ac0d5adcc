#include "safe_path.h"

namespace tovlo::fuzz {

bool isHarmlessRelativePath(std::string_view path) {
    if (path.empty() || path.front() == '/') return false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find('/', start);
        const std::string_view level = path.substr(start, end == std::string_view::npos ? path.npos : end - start);
        if (level.empty() || level == "." || level == "..") return false;
        for (char c : level)
            if (c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20) return false;
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
}

}  // namespace tovlo::fuzz

#include "library_helpers.h"

#include <cmath>

#include "core/paths.h"
#include "core/text.h"

namespace tovlo {

int percentOf(double part, double whole) {
    if (whole <= 0) return 0;
    double p = std::round(100.0 / whole * part);
    return p < 0 ? 0 : p > 100 ? 100 : static_cast<int>(p);
}

std::string fillPlaceholders(std::string text, const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [placeholder, value] : values) text = replaceAll(std::move(text), placeholder, value);
    return text;
}

bool isSafeRelativePath(std::string_view path) {
    if (path.empty() || path.front() == '/') return false;
    if (path.find_first_of(std::string_view("\\:\0", 3)) != std::string_view::npos) return false;
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

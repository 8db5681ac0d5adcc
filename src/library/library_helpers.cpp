#include "library_helpers.h"

#include <cmath>

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

}  // namespace tovlo

#pragma once
// Small rules the face library's panels share: percentages and template
// placeholders.
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/debug_form.h"

namespace tovlo {

// part of whole in percent, rounded, within 0..100; 0 for an empty whole.
int percentOf(double part, double whole);

// Replaces each placeholder in turn (every occurrence, literal), in the
// order given; values go in unchanged.
std::string fillPlaceholders(std::string text, const std::vector<std::pair<std::string, std::string>>& values);

}  // namespace tovlo

#pragma once
// Small rules the face library's panels share: percentages, template
// placeholders, paths from the service, and the guard around events.
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

// Whether a "/"-separated path from the service stays inside the folder it
// is joined to: not empty, not absolute, no drive, no "." or ".." segment,
// no empty segment, no "\" or NUL.
bool isSafeRelativePath(std::string_view path);
// base joined with the "/"-separated relative path, in local separators.
std::string localPath(const std::string& base, std::string_view relative);

}  // namespace tovlo

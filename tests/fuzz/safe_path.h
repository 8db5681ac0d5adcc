#pragma once
// The fuzz targets' own reading of "a relative path from outside that stays
// inside its folder", written apart from the program's so the two can be
// compared.
#include <string_view>

namespace tovlo::fuzz {

// Not empty, not starting with "/", every "/"-separated level a name (not
// empty, not "." or ".."), and no "\", ":" or NUL anywhere.
bool isHarmlessRelativePath(std::string_view path);

}  // namespace tovlo::fuzz

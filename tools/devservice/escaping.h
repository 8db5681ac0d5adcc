#pragma once
// Putting values into pages and scripts safely.
#include <string>
#include <string_view>

namespace tovlo::devservice {

// Text for HTML content and attribute values: & < > " ' as entities.
std::string htmlEscape(std::string_view text);
// A quoted JavaScript/JSON string literal made only of ASCII: everything
// outside printable ASCII, and the characters that could end a string or a
// script element, as \uXXXX. Being ASCII, it reads the same as GBK and UTF-8.
std::string jsString(std::string_view utf8);

}  // namespace tovlo::devservice

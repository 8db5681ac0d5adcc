#pragma once
// Cutting UTF-8 text to a number of characters (not bytes), in place, so a
// limit taken from a character buffer never splits a character.
#include <cstddef>
#include <string>

namespace tovlo {

// Keeps the first maxChars characters of the text; shorter text is kept whole.
void keepFirstChars(std::string& text, std::size_t maxChars);

}  // namespace tovlo

#pragma once
// Small text helpers shared by every subsystem: one split, one replace.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tovlo {

bool contains(std::string_view text, std::string_view part);
bool startsWith(std::string_view text, std::string_view prefix);
// Every occurrence, left to right, literal and case-sensitive.
std::string replaceAll(std::string text, std::string_view from, std::string_view to);
// Splits at every occurrence of sep; an empty text gives one empty element.
std::vector<std::string> split(std::string_view text, std::string_view sep);
// The parts with the separator between them.
std::string join(const std::vector<std::string>& parts, std::string_view sep);
// The text before the first sep and the text after it; nothing when sep is absent.
std::optional<std::pair<std::string, std::string>> splitFirst(std::string_view text, std::string_view sep);
// Leading and trailing spaces and tabs removed.
std::string_view trimBlanks(std::string_view text);
// Leading and trailing spaces, tabs and line breaks removed.
std::string_view trimSpace(std::string_view text);
// The text made safe inside a quoted script string literal: "\", both
// quotes, line breaks, other control characters and the Unicode line and
// paragraph separators are escaped, so the page receives exactly the text.
std::string scriptStringText(std::string_view text);
// The text as a single-quoted script string literal.
std::string scriptLiteral(std::string_view text);
// The text made safe as the content of a page's <script> element: a
// "</script" in it (any case) becomes "<\/script", so it cannot end the
// element early.
std::string scriptBlockText(std::string_view text);
// ASCII letters compared without regard to case; other bytes exactly.
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace tovlo

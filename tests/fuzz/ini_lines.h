#pragma once
// The lines of an INI file as the fuzz target compares them: split at "\n",
// without the "\r" bytes at their ends, no empty line after the last line
// end. A rewrite that keeps a line keeps exactly these bytes; carriage
// returns at a line's end belong to the line end, and a rewrite may write
// them as the file's line end instead (the last line of a file that has no
// line end after it, for one).
#include <string>
#include <string_view>
#include <vector>

namespace tovlo::fuzz {

std::vector<std::string> iniLines(std::string_view bytes);

// How two versions of a file differ: the lines that changed between the
// longest common head and the longest common tail.
struct LineChange {
    std::vector<std::string> removed;
    std::vector<std::string> added;
    std::size_t at = 0;  // index of the first changed line
};
LineChange lineChange(const std::vector<std::string>& before, const std::vector<std::string>& after);

// The text without the "\r" bytes at its end.
std::string withoutTrailingReturns(std::string text);

// Whether the line opens a section ("[" after leading blanks).
bool isSectionLine(std::string_view line);

}  // namespace tovlo::fuzz

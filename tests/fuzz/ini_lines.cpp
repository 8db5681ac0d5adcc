#include "ini_lines.h"

#include <algorithm>

namespace tovlo::fuzz {

std::vector<std::string> iniLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const bool last = end == std::string_view::npos;
        if (last) end = bytes.size();
        std::string line(bytes.substr(start, end - start));
        while (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        if (last) break;
        start = end + 1;
    }
    return lines;
}

LineChange lineChange(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    LineChange change;
    change.at = head;
    change.removed.assign(before.begin() + static_cast<std::ptrdiff_t>(head),
                          before.end() - static_cast<std::ptrdiff_t>(tail));
    change.added.assign(after.begin() + static_cast<std::ptrdiff_t>(head),
                        after.end() - static_cast<std::ptrdiff_t>(tail));
    return change;
}

std::string withoutTrailingReturns(std::string text) {
    while (!text.empty() && text.back() == '\r') text.pop_back();
    return text;
}

bool isSectionLine(std::string_view line) {
    const std::size_t first = line.find_first_not_of(" \t");
    return first != std::string_view::npos && line[first] == '[';
}

}  // namespace tovlo::fuzz

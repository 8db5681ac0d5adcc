#include "version_list.h"

#include <vector>

#include "core/text.h"

namespace tovlo {

VersionStep stepFrom(std::string_view list, std::string_view version) {
    std::vector<std::string> entries = split(trimSpace(list), "-");
    // The "-" that closes the last version leaves an empty piece behind it.
    if (!entries.empty() && entries.back().empty()) entries.pop_back();
    if (version.empty()) return {};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] != version) continue;
        if (i + 1 == entries.size()) return {VersionStep::kLast, {}};
        // An empty entry ("1.0--1.1") names no version to move to.
        if (entries[i + 1].empty()) return {};
        return {VersionStep::kNext, entries[i + 1]};
    }
    return {};
}

}  // namespace tovlo

#pragma once
// What a folder holds, every level down: each entry by its path relative to
// the folder, with its kind and, for files, its bytes. Two snapshots tell
// what was made, changed or removed in between.
#include <map>
#include <string>
#include <vector>

namespace tovlo::fuzz {

struct Entry {
    char kind = '?';  // 'd' folder, 'f' file, 'l' link, '?' anything else
    std::string bytes;
    bool operator==(const Entry&) const = default;
};
using TreeSnapshot = std::map<std::string, Entry>;

// The folder's entries; `skip` names relative paths not looked into (nor listed).
TreeSnapshot snapshotOf(const std::string& folder, const std::vector<std::string>& skip = {});

// The relative paths made, changed or removed between the two snapshots.
std::vector<std::string> differences(const TreeSnapshot& before, const TreeSnapshot& after);

// Puts the folder back as the snapshot has it: what was made is removed,
// what was changed or removed is written again.
void restoreTo(const std::string& folder, const TreeSnapshot& wanted);

}  // namespace tovlo::fuzz

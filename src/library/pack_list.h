#pragma once
// A public pack's file list (imgs.txt): file names separated by "/", in
// download order. The names "ver-" + version + ".txt" are the pack's version
// markers. A list is the service's text: a name that is no single file name
// (empty, "..", with a separator), a name given twice, and names beyond what
// one batch can hold are not downloaded.
#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tovlo {

struct PackList {
    std::vector<std::string> names;    // usable names, each once, in list order
    std::vector<std::string> refused;  // unusable names, and those beyond the bound
    // The list's version markers, in list order, joined by "/": which version
    // of the pack the list is.
    std::string version;
};

PackList parsePackList(std::string_view text, std::size_t maxNames);

// What arrived of a download of a pack that did not complete, kept in the
// pack folder as kPartialFile: the version of the list, then the names that
// arrived, one per line in UTF-8 (the program's own file: every name comes
// back as it went in, whatever the code page holds). The next download of
// the same version fetches the rest only.
inline constexpr const char* kPartialFile = ".tovlo-partial";

// The names recorded for this version that are still in the folder; nothing
// when the record is missing, unreadable or of another version.
std::set<std::string> partialArrived(const std::string& packFolder, const std::string& version);
// Replaces the record (written whole or not at all). False when it cannot be written.
bool writePartial(const std::string& packFolder, const std::string& version, const std::set<std::string>& arrived);
void forgetPartial(const std::string& packFolder);

}  // namespace tovlo

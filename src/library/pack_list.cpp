#include "pack_list.h"

#include <filesystem>
#include <unordered_set>

#include "core/files.h"
#include "core/paths.h"
#include "core/text.h"

namespace tovlo {

// The list is walked in place: a service's list may be long, and only the
// names kept are copied.
PackList parsePackList(std::string_view text, std::size_t maxNames) {
    PackList list;
    std::unordered_set<std::string_view> seen;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('/', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view name = text.substr(start, end - start);
        start = end + 1;
        // An empty element (two "/" in a row, a trailing "/") names nothing.
        if (name.empty() || !seen.insert(name).second) continue;
        if (!isSafeName(name) || name == kPartialFile || list.names.size() >= maxNames) {
            list.refused.emplace_back(name);
            continue;
        }
        list.names.emplace_back(name);
        if (startsWith(name, "ver-")) list.version += (list.version.empty() ? "" : "/") + std::string(name);
    }
    return list;
}

namespace {

std::string partialPath(const std::string& packFolder) { return joinPath(packFolder, {kPartialFile}); }

}  // namespace

std::set<std::string> partialArrived(const std::string& packFolder, const std::string& version) {
    std::set<std::string> arrived;
    const auto bytes = readFileBytes(partialPath(packFolder));
    if (!bytes) return arrived;
    const std::vector<std::string> lines = split(*bytes, "\n");
    if (lines.empty() || lines[0] != version) return arrived;
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (isSafeName(lines[i]) && fileExists(joinPath(packFolder, {lines[i]}))) arrived.insert(lines[i]);
    return arrived;
}

bool writePartial(const std::string& packFolder, const std::string& version, const std::set<std::string>& arrived) {
    std::string text = version;
    for (const std::string& name : arrived) text += "\n" + name;
    return replaceFileAtomically(partialPath(packFolder), text);
}

void forgetPartial(const std::string& packFolder) {
    std::error_code ignored;
    std::filesystem::remove(fsPath(partialPath(packFolder)), ignored);
}

}  // namespace tovlo

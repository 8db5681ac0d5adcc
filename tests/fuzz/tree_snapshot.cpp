#include "tree_snapshot.h"

#include <algorithm>
#include <filesystem>

#include "scratch_folder.h"

namespace tovlo::fuzz {

namespace fs = std::filesystem;

TreeSnapshot snapshotOf(const std::string& folder, const std::vector<std::string>& skip) {
    TreeSnapshot snapshot;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::none, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string rel = it->path().lexically_relative(folder).string();
        if (std::find(skip.begin(), skip.end(), rel) != skip.end()) {
            it.disable_recursion_pending();
            continue;
        }
        Entry entry;
        std::error_code kindError;
        const fs::file_status status = it->symlink_status(kindError);
        if (fs::is_symlink(status)) {
            entry.kind = 'l';
            entry.bytes = fs::read_symlink(it->path(), kindError).string();
        } else if (fs::is_directory(status)) {
            entry.kind = 'd';
        } else if (fs::is_regular_file(status)) {
            entry.kind = 'f';
            entry.bytes = fileBytes(it->path().string());
        }
        snapshot[rel] = std::move(entry);
    }
    return snapshot;
}

std::vector<std::string> differences(const TreeSnapshot& before, const TreeSnapshot& after) {
    std::vector<std::string> changed;
    for (const auto& [path, entry] : before) {
        auto it = after.find(path);
        if (it == after.end() || !(it->second == entry)) changed.push_back(path);
    }
    for (const auto& [path, entry] : after)
        if (!before.count(path)) changed.push_back(path);
    return changed;
}

void restoreTo(const std::string& folder, const TreeSnapshot& wanted) {
    const TreeSnapshot now = snapshotOf(folder);
    std::error_code ignored;
    for (const auto& [path, entry] : now) {
        auto it = wanted.find(path);
        if (it == wanted.end() || it->second.kind != entry.kind) fs::remove_all(fs::path(folder) / path, ignored);
    }
    // Parents come before their entries in the map's order.
    for (const auto& [path, entry] : wanted) {
        auto it = now.find(path);
        if (it != now.end() && it->second == entry) continue;
        const fs::path where = fs::path(folder) / path;
        if (entry.kind == 'd')
            fs::create_directories(where, ignored);
        else if (entry.kind == 'f')
            putFile(where.string(), entry.bytes);
    }
}

}  // namespace tovlo::fuzz

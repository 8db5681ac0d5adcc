#include "folder_check.h"

#include <filesystem>

namespace tovlo::fuzz {

namespace fs = std::filesystem;

namespace {

// The path below the folder, or empty when it is not below it.
fs::path below(const std::string& folder, const std::string& path) {
    const fs::path base = fs::path(folder).lexically_normal();
    const fs::path normal = fs::path(path).lexically_normal();
    if (!normal.is_absolute() || !base.is_absolute()) return {};
    const fs::path rel = normal.lexically_relative(base);
    if (rel.empty() || rel == "." || *rel.begin() == "..") return {};
    return rel;
}

}  // namespace

bool staysUnder(const std::string& folder, const std::string& path) { return !below(folder, path).empty(); }

bool staysDirectlyIn(const std::string& folder, const std::string& path) {
    const fs::path rel = below(folder, path);
    return !rel.empty() && std::distance(rel.begin(), rel.end()) == 1;
}

}  // namespace tovlo::fuzz

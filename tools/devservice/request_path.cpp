#include "request_path.h"

#include <algorithm>
#include <filesystem>

#include "core/text.h"

namespace tovlo::devservice {

namespace fs = std::filesystem;

namespace {

bool isSafeSegment(const std::string& segment) {
    if (segment.empty() || segment[0] == '.') return false;
    for (unsigned char c : segment)
        if (c < 0x20 || c == 0x7F || c == '\\') return false;
    return true;
}

}  // namespace

std::optional<std::string> fileUnder(const std::string& base, const std::string& relative) {
    for (const std::string& segment : split(relative, "/"))
        if (!isSafeSegment(segment)) return std::nullopt;
    std::error_code ec;
    fs::path root = fs::canonical(base, ec);
    if (ec) return std::nullopt;
    fs::path file = fs::weakly_canonical(root / relative, ec);
    if (ec) return std::nullopt;
    // Compare whole path elements, so that "soft2" never passes for "soft".
    auto [rootEnd, fileAt] = std::mismatch(root.begin(), root.end(), file.begin(), file.end());
    if (rootEnd != root.end() || fileAt == file.end()) return std::nullopt;
    return file.string();
}

}  // namespace tovlo::devservice

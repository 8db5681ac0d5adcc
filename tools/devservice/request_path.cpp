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

std::optional<std::string> gbkToUtf8(const TextCodec& codec, std::string_view gbk) {
    // The codec marks bytes it cannot read instead of failing, so valid GBK
    // is what comes back unchanged from the way there and back.
    std::string utf8 = codec.ansiToUtf8(gbk);
    if (codec.utf8ToAnsi(utf8) != gbk) return std::nullopt;
    return utf8;
}

std::optional<std::string> requestedFile(const std::string& base, const std::string& gbkRelative,
                                         const TextCodec& codec) {
    std::optional<std::string> relative = gbkToUtf8(codec, gbkRelative);
    if (!relative) return std::nullopt;
    return fileUnder(base, *relative);
}

}  // namespace tovlo::devservice

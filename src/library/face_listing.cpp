#include "face_listing.h"

#include "core/paths.h"
#include "core/text.h"

namespace tovlo {

std::vector<std::string> faceListOf(std::string_view listing) {
    const auto head = splitFirst(listing, "--");
    return split(head ? std::string_view(head->first) : listing, "||");
}

FacePaths facePathsOf(std::string_view entry) {
    const std::vector<std::string> paths = split(entry, "$$");
    auto usable = [](const std::string& path) { return isSafeRelativePath(path) ? path : std::string(); };
    return {usable(paths[0]), paths.size() > 1 ? usable(paths[1]) : std::string()};
}

}  // namespace tovlo

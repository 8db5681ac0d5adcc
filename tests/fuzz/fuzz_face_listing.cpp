// One page of an account's class as the service lists it (showFace.asp):
// the paths of its faces are joined to the account's folder and written.
//
// Input: the listing's bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "check.h"
#include "core/paths.h"
#include "core/text.h"
#include "folder_check.h"
#include "fuzz_input.h"
#include "library/face_listing.h"
#include "platform/posix/iconv_codec.h"
#include "safe_path.h"

namespace {

using namespace tovlo;
using namespace tovlo::fuzz;

const std::string kAccountFolder = "/home/someone/Tovlo/w/CustomFace/demo";

// A path of an entry: empty, or one that stays in the account's folder and
// is the entry's own text.
void checkPath(const std::string& path, const std::string& fromEntry, const char* which) {
    if (path.empty()) return;
    CHECK(path == fromEntry, std::string(which) + " " + shown(path) + " is not the entry's " + shown(fromEntry));
    CHECK(isSafeRelativePath(path) && isHarmlessRelativePath(path), std::string(which) + " unsafe: " + shown(path));
    CHECK(staysUnder(kAccountFolder, localPath(kAccountFolder, path)),
          std::string(which) + " leaves the folder: " + shown(path));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const IconvCodec codec;
    // The listing is read as a text file in the code page.
    const std::string listing = codec.ansiToUtf8(asText(data, size));
    const std::vector<std::string> elements = faceListOf(listing);

    // The elements are the text before the first "--", cut at each "||".
    const std::string list = listing.substr(0, listing.find("--"));
    CHECK(!elements.empty(), "no element at all");
    CHECK(join(elements, "||") == list, "the elements do not make up the list part " + shown(list));
    for (const std::string& element : elements) CHECK(!contains(element, "||"), "element " + shown(element));

    for (const std::string& entry : elements) {
        const FacePaths paths = facePathsOf(entry);
        const std::vector<std::string> parts = split(entry, "$$");
        checkPath(paths.thumbnail, parts[0], "thumbnail");
        checkPath(paths.picture, parts.size() > 1 ? parts[1] : std::string(), "picture");
        // A usable path is not thrown away.
        CHECK(!paths.thumbnail.empty() || !isHarmlessRelativePath(parts[0]), "thumbnail path dropped: " + shown(parts[0]));
    }
    return 0;
}

// A version's file list (urls.txt) as the update service sends it: each
// path names a file the updater writes below the program folder.
//
// Input: the list's bytes.
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "check.h"
#include "core/paths.h"
#include "core/text.h"
#include "folder_check.h"
#include "fuzz_input.h"
#include "safe_path.h"
#include "updater/install_list.h"

namespace {

using namespace tovlo;
using namespace tovlo::fuzz;

const std::string kProgramFolder = "/opt/Tovlo";

// The name a stored file is installed under stays a name of a size like its
// own: a list cannot make the updater build huge texts. Each ".txt" (4 bytes)
// becomes "." and an extension of at most kMaxExtensionBytes.
void checkRealName(const std::string& stored) {
    const std::string real = getRealFileName(stored);
    CHECK(real.size() <= stored.size() + (stored.size() / 4) * (kMaxExtensionBytes - 3),
          shown(stored) + " (" + std::to_string(stored.size()) + " bytes) becomes " + std::to_string(real.size()) +
              " bytes");
}

// The pieces of the list as the updater cuts them.
std::vector<std::string> piecesOf(const std::string& text) {
    const std::string_view trimmed = trimSpace(text);
    if (trimmed.empty()) return {};
    return split(trimmed, "--");
}

bool harmless(const std::string& remote) {
    return isHarmlessRelativePath(remote) && isHarmlessRelativePath(getRealFileName(remote));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(asText(data, size));
    const std::vector<std::string> pieces = piecesOf(text);
    for (const std::string& piece : pieces) checkRealName(piece);

    const InstallList list = readInstallList(text);
    bool anyUnsafe = false;
    for (const std::string& piece : pieces) anyUnsafe = anyUnsafe || !harmless(piece);

    if (list.refused) {
        CHECK(list.entries.empty(), "a refused list still installs " + std::to_string(list.entries.size()));
        CHECK(anyUnsafe, "refused " + shown(*list.refused) + " from a list of harmless paths");
        CHECK(!harmless(*list.refused), "the refused entry " + shown(*list.refused) + " is harmless");
        return 0;
    }
    CHECK(!anyUnsafe, "a list with an unsafe path is accepted: " + shown(text));

    std::set<std::string> installed;
    std::size_t next = 0;
    for (const InstallEntry& entry : list.entries) {
        // In list order, each entry a piece of the list.
        while (next < pieces.size() && pieces[next] != entry.remote) ++next;
        CHECK(next < pieces.size(), "entry " + shown(entry.remote) + " is no piece of the list, or out of order");
        CHECK(entry.installed == getRealFileName(replaceAll(entry.remote, "/", std::string(1, kPathSep))),
              "installed as " + shown(entry.installed));
        CHECK(!isAbsolutePath(entry.installed) && isHarmlessRelativePath(pageSlashes(entry.installed)),
              "unsafe installed path " + shown(entry.installed));
        CHECK(staysUnder(kProgramFolder, joinPath(kProgramFolder, {entry.installed})),
              "installed path leaves the program folder: " + shown(entry.installed));
        CHECK(installed.insert(entry.installed).second, "installed twice: " + shown(entry.installed));
    }
    // Every piece is installed once, under its own name.
    std::set<std::string> expected;
    for (const std::string& piece : pieces) expected.insert(getRealFileName(piece));
    CHECK(installed.size() == expected.size(),
          std::to_string(installed.size()) + " files installed of " + std::to_string(expected.size()) + " listed");
    return 0;
}

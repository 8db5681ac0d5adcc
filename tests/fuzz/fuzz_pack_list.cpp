// A public pack's file list (imgs.txt) as the service may send it, with the
// record of a download that did not complete kept beside the pack's files.
//
// Input: one byte, the most names a batch takes; then the list's bytes.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "check.h"
#include "core/paths.h"
#include "core/text.h"
#include "folder_check.h"
#include "fuzz_input.h"
#include "library/pack_list.h"
#include "platform/posix/iconv_codec.h"
#include "scratch_folder.h"

namespace {

using namespace tovlo;
using namespace tovlo::fuzz;

struct Setup {
    IconvCodec codec;
    ScratchFolder folder;
};

// The text's elements between "/" as a page of the list would show them.
std::vector<std::string> elementsOf(const std::string& text) {
    std::vector<std::string> elements(1);
    for (char c : text) {
        if (c == '/')
            elements.emplace_back();
        else
            elements.back().push_back(c);
    }
    return elements;
}

void checkNames(const std::string& text, const PackList& list, std::size_t maxNames, const std::string& folder) {
    const std::vector<std::string> elements = elementsOf(text);
    CHECK(list.names.size() <= maxNames,
          std::to_string(list.names.size()) + " names for a batch of " + std::to_string(maxNames));
    CHECK(list.names.size() + list.refused.size() <= elements.size(),
          std::to_string(list.names.size()) + " names and " + std::to_string(list.refused.size()) + " refused from " +
              std::to_string(elements.size()) + " elements");

    // Each name once, safe, right inside the pack folder, in list order.
    std::set<std::string> seen;
    std::size_t next = 0;
    std::string version;
    for (const std::string& name : list.names) {
        CHECK(isSafeName(name) && name != kPartialFile, "unsafe name " + shown(name));
        CHECK(seen.insert(name).second, "name twice: " + shown(name));
        CHECK(staysDirectlyIn(folder, joinPath(folder, {name})), "name leaves the folder: " + shown(name));
        while (next < elements.size() && elements[next] != name) ++next;
        CHECK(next < elements.size(), "name out of list order or not in the list: " + shown(name));
        if (startsWith(name, "ver-")) version += (version.empty() ? "" : "/") + name;
    }
    CHECK(list.version == version, "version " + shown(list.version) + ", markers " + shown(version));

    // A refused element is unusable or beyond the bound; below the bound no
    // usable element is left out.
    const bool full = list.names.size() == maxNames;
    for (const std::string& name : list.refused)
        CHECK(!name.empty() && (!isSafeName(name) || name == kPartialFile || full), "refused " + shown(name));
    if (!full)
        for (const std::string& element : elements)
            CHECK(!isSafeName(element) || element == kPartialFile || seen.count(element),
                  "usable name left out: " + shown(element));
}

// Creates an empty file; false when the name cannot be a file here (too
// long for the file system, say).
bool touch(const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    return static_cast<bool>(out);
}

// The record of what arrived gives back the names written whose files are
// still in the folder.
void checkPartialRecord(const Setup& s, const PackList& list) {
    s.folder.clear();
    const std::string pack = s.folder.path();
    std::set<std::string> written, present;
    for (std::size_t i = 0; i < list.names.size() && i < 12; ++i) {
        written.insert(list.names[i]);
        if (i % 3 != 2 && touch(joinPath(pack, {list.names[i]}))) present.insert(list.names[i]);
    }
    CHECK(writePartial(pack, list.version, written), "the record cannot be written");
    const std::set<std::string> arrived = partialArrived(pack, list.version);
    const std::string detail = std::to_string(present.size()) + " names present, " + std::to_string(arrived.size()) +
                               " read back; version " + shown(list.version);
    // Every name that arrived comes back, whatever bytes it holds.
    CHECK(arrived == present, detail);
    CHECK(partialArrived(pack, list.version + "x").empty(), "a record of another version gave names");
    forgetPartial(pack);
    CHECK(partialArrived(pack, list.version).empty(), "a forgotten record gave names");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Setup setup;
    std::string_view input = asText(data, size);
    const std::size_t maxNames = takeByte(input);
    // The list is read as a text file in the code page.
    const std::string text = setup.codec.ansiToUtf8(input);
    const PackList list = parsePackList(text, maxNames);
    checkNames(text, list, maxNames, setup.folder.path());
    checkPartialRecord(setup, list);
    return 0;
}

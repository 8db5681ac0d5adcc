// config.ini and plug-in descriptions as others may have written them: keys
// are read, one is written, one key and one section are deleted, each on a
// fresh copy of the fuzzed file.
//
// Input: one byte choosing the section and key, the value to write up to a
// NUL, then the file's bytes.
#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "check.h"
#include "core/ini_cls.h"
#include "core/ini_file.h"
#include "core/text.h"
#include "fuzz_input.h"
#include "ini_lines.h"
#include "platform/posix/iconv_codec.h"
#include "scratch_folder.h"

namespace {

using namespace tovlo;
using namespace tovlo::fuzz;

// Sections and keys the programs read and write.
constexpr std::array<std::pair<const char*, const char*>, 16> kKeys = {{
    {"application", "name"},
    {"application", "ver"},
    {"application", "serviceHost"},
    {"run", "facePath"},
    {"run", "historyNub"},
    {"run", "autoLoginName"},
    {"run", "faceHttpPath"},
    {"run", "showModel"},
    {"run", "updateFaseMainhtml"},
    {"run", "defaultFaceClass"},
    {"run", "startWith"},
    {"run", "autoUpdate"},
    {"run", "debug"},
    {"main", "id"},
    {"main", "name"},
    {"main", "version"},
}};

std::string upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

struct Setup {
    IconvCodec codec;
    ScratchFolder folder;
    std::string file = folder / "config.ini";
};

// Every known key's raw value in the file, in kKeys order, from one reading
// of the file (reading each through IniCls would parse the file each time).
// Carriage returns at a value's end are left out, as in the line comparison.
std::vector<std::optional<std::string>> knownValues(const Setup& s) {
    const IniFile file(s.codec, fileBytes(s.file));
    std::vector<std::optional<std::string>> values;
    for (const auto& [section, key] : kKeys) {
        const std::optional<std::string> raw = file.rawValue(section, key);
        values.push_back(raw ? std::optional(withoutTrailingReturns(*raw)) : std::nullopt);
    }
    return values;
}

std::string shownValue(const std::optional<std::string>& value) { return value ? shown(*value) : "missing"; }

// Known keys of other sections, and other keys of the same section, keep
// their values when one key or section changes.
void checkOthersKept(const std::vector<std::optional<std::string>>& before,
                     const std::vector<std::optional<std::string>>& after, const std::string& section,
                     const std::string* key) {
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        const bool sameSection = equalsNoCase(kKeys[i].first, section);
        if (sameSection && (!key || equalsNoCase(kKeys[i].second, *key))) continue;
        CHECK(before[i] == after[i], std::string("[") + kKeys[i].first + "] " + kKeys[i].second + " was " +
                                         shownValue(before[i]) + ", is " + shownValue(after[i]));
    }
}

// Nothing but the file is left in the folder (the rewrite's temporary file
// is renamed or removed).
void checkOnlyTheFile(const Setup& s) {
    std::size_t entries = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(s.folder.path(), ec), end; !ec && it != end; it.increment(ec))
        ++entries;
    CHECK(entries == 1, "the folder holds " + std::to_string(entries) + " entries after a rewrite");
}

// A value the file can hold and give back unchanged: one line, no blanks
// at its ends (reads trim them), in the code page, not longer than a read
// returns.
bool isPlainValue(const TextCodec& codec, const std::string& value) {
    if (value.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return false;
    if (trimBlanks(value).size() != value.size()) return false;
    const std::string ansi = codec.utf8ToAnsi(value);
    return ansi.size() <= IniCls::kMaxValueBytes && codec.ansiToUtf8(ansi) == value;
}

void checkWrite(Setup& s, const std::string& original, const std::string& section, const std::string& key,
                const std::string& value) {
    putFile(s.file, original);
    IniCls ini(s.codec);
    ini.setINIFileName(s.file);
    const auto before = knownValues(s);
    ini.WriteIniKey(section, key, value);
    const std::string written = fileBytes(s.file);
    checkOnlyTheFile(s);

    if (value.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
        CHECK(written == original, "a value with a line break changed the file: " + shown(value));
        return;
    }
    if (isPlainValue(s.codec, value)) {
        const std::string read = ini.GetIniKey(section, key);
        CHECK(read == value, "[" + section + "] " + key + " written " + shown(value) + ", read " + shown(read));
    }
    checkOthersKept(before, knownValues(s), section, &key);

    // The other lines stay as they were: at most the key's old line goes,
    // and at most a section header and the key's line come.
    const std::vector<std::string> oldLines = iniLines(original);
    const LineChange change = lineChange(oldLines, iniLines(written));
    CHECK(change.removed.size() <= 1 && change.added.size() <= 2,
          "write changed " + std::to_string(change.removed.size()) + " lines into " +
              std::to_string(change.added.size()) + " at line " + std::to_string(change.at));
    if (!change.added.empty()) {
        const std::string keyLine = s.codec.utf8ToAnsi(trimBlanks(key)) + "=" + s.codec.utf8ToAnsi(value);
        CHECK(change.added.back() == keyLine, "the new line is " + shown(change.added.back()));
    }
    for (const std::string& line : change.removed)
        CHECK(line.find('=') != std::string::npos, "write removed a line that is no key: " + shown(line));

    // Growth: the new lines, and at most one byte per line where a "\n"
    // becomes the file's "\r\n".
    const std::size_t bound = original.size() + oldLines.size() + section.size() + key.size() + value.size() + 16;
    CHECK(written.size() <= bound,
          "grew from " + std::to_string(original.size()) + " to " + std::to_string(written.size()) + " bytes");
}

void checkDeleteKey(Setup& s, const std::string& original, const std::string& section, const std::string& key) {
    putFile(s.file, original);
    IniCls ini(s.codec);
    ini.setINIFileName(s.file);
    const auto before = knownValues(s);
    ini.DelIniKey(section, key);
    const std::string after = fileBytes(s.file);
    checkOnlyTheFile(s);
    checkOthersKept(before, knownValues(s), section, &key);
    const std::vector<std::string> oldLines = iniLines(original);
    const LineChange change = lineChange(oldLines, iniLines(after));
    CHECK(change.added.empty() && change.removed.size() <= 1,
          "deleting a key added " + std::to_string(change.added.size()) + " and removed " +
              std::to_string(change.removed.size()) + " lines");
    for (const std::string& line : change.removed)
        CHECK(line.find('=') != std::string::npos, "deleting a key removed " + shown(line));
    CHECK(after.size() <= original.size() + oldLines.size() + 2, "deleting a key grew the file");
}

void checkDeleteSection(Setup& s, const std::string& original, const std::string& section) {
    putFile(s.file, original);
    IniCls ini(s.codec);
    ini.setINIFileName(s.file);
    const auto before = knownValues(s);
    ini.DelIniSec(section);
    const std::string after = fileBytes(s.file);
    checkOnlyTheFile(s);
    checkOthersKept(before, knownValues(s), section, nullptr);
    const std::vector<std::string> oldLines = iniLines(original);
    const LineChange change = lineChange(oldLines, iniLines(after));
    CHECK(change.added.empty(), "deleting a section added lines");
    // One block: the section's header and its lines up to the next header.
    // Where the lines after the block repeat its start, the difference shows
    // the block rotated, so the header is counted rather than looked for first.
    if (!change.removed.empty()) {
        const auto headers = std::count_if(change.removed.begin(), change.removed.end(),
                                           [](const std::string& line) { return isSectionLine(line); });
        CHECK(headers == 1, "deleting a section removed " + std::to_string(change.removed.size()) + " lines with " +
                                std::to_string(headers) + " headers, from line " + std::to_string(change.at));
    }
    CHECK(after.size() <= original.size() + oldLines.size() + 2, "deleting a section grew the file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Setup setup;
    std::string_view input = asText(data, size);
    const std::uint8_t choice = takeByte(input);
    const auto& known = kKeys[(choice & 0x1f) % kKeys.size()];
    // Names match without regard to letter case.
    const std::string section = choice & 0x20 ? upper(known.first) : known.first;
    const std::string key = choice & 0x40 ? upper(known.second) : known.second;
    const std::string value(takeField(input));
    const std::string original(input);

    checkWrite(setup, original, section, key, value);
    checkDeleteKey(setup, original, section, key);
    checkDeleteSection(setup, original, section);

    // A read of a file nobody wrote for the program never gives more than a
    // value's bound, decoded (at most three bytes of UTF-8 per byte).
    putFile(setup.file, original);
    IniCls ini(setup.codec);
    ini.setINIFileName(setup.file);
    const std::string read = ini.GetIniKey(section, key);
    CHECK(read.size() <= 3 * IniCls::kMaxValueBytes, "a read gave " + std::to_string(read.size()) + " bytes");
    return 0;
}

// What the chat client puts on the clipboard when a picture is copied: the
// format is found by its registered name, its block is read in the code
// page, and the picture's path taken from it.
//
// Input: formats separated by \x1e, each a name, \x1f, and the format's
// bytes (a format without \x1f is listed but has no data). An empty name
// makes a standard format. A first byte \x1d makes the clipboard refuse to
// open.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "core/text.h"
#include "fuzz_input.h"
#include "platform/fake/fake_clipboard.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/posix/iconv_codec.h"
#include "qq/qq_clipboard.h"

namespace {

using namespace tovlo;
using namespace tovlo::fuzz;

constexpr std::size_t kMaxFormats = 12;
constexpr ClipboardFormat kFirstRegistered = 0xC000;

FakeClipboard clipboardOf(std::string_view input) {
    FakeClipboard clipboard;
    if (!input.empty() && input.front() == '\x1d') {
        clipboard.refuseOpen = true;
        input.remove_prefix(1);
    }
    ClipboardFormat standard = 1;
    ClipboardFormat registered = kFirstRegistered;
    for (const std::string& piece : split(input, "\x1e")) {
        if (clipboard.formats.size() == kMaxFormats) break;
        const auto nameBytes = splitFirst(piece, "\x1f");
        const std::string name = nameBytes ? nameBytes->first : piece;
        std::optional<std::string> bytes;
        if (nameBytes) bytes = nameBytes->second;
        // Ids are unique, as on a real clipboard.
        clipboard.put(name.empty() ? standard++ : registered++, name, bytes);
    }
    return clipboard;
}

// The path is the text of the first filepath="..." attribute.
void checkFilePath(const std::string& text) {
    const std::string path = getFilePath(text);
    const std::size_t marker = text.find("filepath=\"");
    if (marker == std::string::npos) {
        CHECK(path.empty(), "a path " + shown(path) + " without an attribute");
        return;
    }
    const std::size_t start = marker + 10;
    if (text.find('"', start) == std::string::npos) {
        CHECK(path.empty(), "a path " + shown(path) + " without its closing quote");
        return;
    }
    CHECK(text.compare(start, path.size(), path) == 0 && text.size() > start + path.size() &&
              text[start + path.size()] == '"',
          "the path " + shown(path) + " is not the attribute's text");
    CHECK(path.find('"') == std::string::npos, "the path holds a quote: " + shown(path));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const IconvCodec codec;
    static FakeEventLoop loop;
    const std::string_view input = asText(data, size);
    checkFilePath(std::string(input));

    FakeClipboard clipboard = clipboardOf(input);
    const ClipboardFormat found = findQQRichEditFormat(clipboard, loop);
    CHECK(!clipboard.isOpen, "the clipboard was left open after looking for the format");

    // The format found is the first whose name holds the chat client's
    // name, and none is found on a clipboard that does not open.
    std::size_t first = clipboard.formats.size();
    for (std::size_t i = 0; i < clipboard.formats.size() && first == clipboard.formats.size(); ++i) {
        const std::string name = getFormatName(clipboard, clipboard.formats[i].id);
        if (clipboard.formats[i].id >= kFirstRegistered)
            CHECK(startsWith(clipboard.formats[i].name, name),
                  "format name " + shown(name) + " is not the name's start");
        if (contains(name, kQQRichEditFormat)) first = i;
    }
    if (clipboard.refuseOpen || first == clipboard.formats.size())
        CHECK(found == 0, "found format " + std::to_string(found));
    else
        CHECK(found == clipboard.formats[first].id, "found format " + std::to_string(found) + ", the first is " +
                                                        std::to_string(clipboard.formats[first].id));

    // Its block comes back whole, decoded; then the path is read from it.
    for (const FakeClipboard::Format& format : clipboard.formats) {
        const std::string text = getClipboardText(clipboard, codec, format.id);
        CHECK(!clipboard.isOpen, "the clipboard was left open after reading");
        const std::string expected = clipboard.refuseOpen || !format.bytes ? "" : codec.ansiToUtf8(*format.bytes);
        CHECK(text == expected, "format " + std::to_string(format.id) + " read as " + shown(text));
        checkFilePath(text);
    }
    CHECK(getClipboardText(clipboard, codec, 0).empty(), "format 0 gave text");
    return 0;
}

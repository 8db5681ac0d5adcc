#include "qq_clipboard.h"

#include <array>

#include "char_limit.h"

namespace tovlo {

namespace {

constexpr std::array<std::string_view, 17> kStandardNames = {
    "CF_Text",        "CF_Bitmap",      "CF_MetaFilePict", "CF_SYLK",    "CF_Dif",  "CF_Tiff",
    "CF_OEMText",     "CF_DIB",         "CF_Pallette",     "CF_PenData", "CF_Riff", "CF_Wave",
    "CF_UnicodeText", "CF_EnhMetaFile", "CF_HDrop",        "CF_Locale",  "CF_Max",
};

// Registered names come back through a buffer of 100 characters.
constexpr std::size_t kMaxFormatNameChars = 99;

constexpr std::string_view kFilePathMarker = "filepath=\"";

// Holds the clipboard open for one reading operation.
class OpenClipboard {
public:
    explicit OpenClipboard(Clipboard& c) : clipboard_(c), open_(c.open()) {}
    ~OpenClipboard() {
        if (open_) clipboard_.close();
    }
    OpenClipboard(const OpenClipboard&) = delete;
    OpenClipboard& operator=(const OpenClipboard&) = delete;
    explicit operator bool() const { return open_; }

private:
    Clipboard& clipboard_;
    bool open_;
};

}  // namespace

std::string getFormatName(Clipboard& clipboard, ClipboardFormat format) {
    if (format >= 1 && format <= kStandardNames.size()) return std::string(kStandardNames[format - 1]);
    std::string name = clipboard.formatName(format);
    keepFirstChars(name, kMaxFormatNameChars);
    return name;
}

ClipboardFormat findQQRichEditFormat(Clipboard& clipboard, EventLoop& loop) {
    OpenClipboard open(clipboard);
    if (!open) return 0;
    for (ClipboardFormat f = clipboard.enumFormats(0); f != 0; f = clipboard.enumFormats(f)) {
        loop.processEvents();
        if (getFormatName(clipboard, f).find(kQQRichEditFormat) != std::string::npos) return f;
    }
    return 0;
}

std::string getClipboardText(Clipboard& clipboard, const TextCodec& codec, ClipboardFormat format) {
    if (format == 0) return std::string();
    std::optional<std::string> bytes;
    {
        OpenClipboard open(clipboard);
        if (!open) return std::string();
        bytes = clipboard.data(format);
    }
    return bytes ? codec.ansiToUtf8(*bytes) : std::string();
}

std::string getFilePath(std::string_view text) {
    std::size_t marker = text.find(kFilePathMarker);
    if (marker == std::string_view::npos) return std::string();
    std::size_t start = marker + kFilePathMarker.size();
    // The path ends at the first quote after the marker: a short path (even
    // an empty one) ends at its own quote, not at some later attribute's.
    std::size_t end = text.find('"', start);
    if (end == std::string_view::npos) return std::string();
    return std::string(text.substr(start, end - start));
}

}  // namespace tovlo

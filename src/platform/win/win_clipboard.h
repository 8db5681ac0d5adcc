#pragma once
// The system clipboard through the Win32 API, opened without an owner window
// for one reading operation. Formats are the system's format numbers, their
// names the registered names; a format's data is the bytes of its memory
// block. Formats held as drawing objects (bitmaps, palettes, metafiles)
// have no block of bytes and read as absent.
#include "platform/clipboard.h"

namespace tovlo {

class WinClipboard : public Clipboard {
public:
    ~WinClipboard() override;
    bool open() override;
    void close() override;
    ClipboardFormat enumFormats(ClipboardFormat after) override;
    std::string formatName(ClipboardFormat format) override;
    std::optional<std::string> data(ClipboardFormat format) override;

private:
    bool isOpen_ = false;
};

}  // namespace tovlo

#include "win_clipboard.h"

#include <windows.h>

#include "win_text.h"

namespace tovlo {

namespace {

// Registered format names are at most 255 characters long.
constexpr int kNameChars = 256;

bool isDrawingObject(ClipboardFormat format) {
    switch (format) {
        case CF_BITMAP:
        case CF_PALETTE:
        case CF_ENHMETAFILE:
        case CF_DSPBITMAP:
        case CF_DSPENHMETAFILE: return true;
        default: return false;
    }
}

}  // namespace

WinClipboard::~WinClipboard() { close(); }

bool WinClipboard::open() {
    if (isOpen_) return false;
    isOpen_ = OpenClipboard(nullptr) != 0;
    return isOpen_;
}

void WinClipboard::close() {
    if (!isOpen_) return;
    CloseClipboard();
    isOpen_ = false;
}

ClipboardFormat WinClipboard::enumFormats(ClipboardFormat after) {
    if (!isOpen_) return 0;
    return EnumClipboardFormats(after);
}

std::string WinClipboard::formatName(ClipboardFormat format) {
    wchar_t name[kNameChars];
    const int copied = GetClipboardFormatNameW(format, name, kNameChars);
    if (copied <= 0) return {};
    return narrow(std::wstring_view(name, static_cast<std::size_t>(copied)));
}

std::optional<std::string> WinClipboard::data(ClipboardFormat format) {
    if (!isOpen_ || format == 0 || isDrawingObject(format)) return std::nullopt;
    HANDLE block = GetClipboardData(format);
    if (!block) return std::nullopt;
    const SIZE_T size = GlobalSize(block);
    const void* bytes = GlobalLock(block);
    if (!bytes) return std::nullopt;
    std::string copy(static_cast<const char*>(bytes), size);
    GlobalUnlock(block);
    return copy;
}

}  // namespace tovlo

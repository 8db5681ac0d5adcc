#pragma once
// The clipboard as this process's Qt holds it, for the times when the process
// itself owns the system clipboard (a page copied a face): Qt answers from
// its own data, with no round trip through the window system. Format names
// are MIME types; their ids come from the system clipboard's naming, so an
// id means the same format whichever way the clipboard is read.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/clipboard.h"

namespace tovlo {

class QtClipboard : public Clipboard {
public:
    using FormatId = std::function<ClipboardFormat(const std::string& name)>;
    explicit QtClipboard(FormatId formatId) : formatId_(std::move(formatId)) {}

    // This process's Qt owns the system clipboard.
    bool ownsClipboard() const;

    bool open() override;
    void close() override;
    ClipboardFormat enumFormats(ClipboardFormat after) override;
    std::string formatName(ClipboardFormat format) override;
    std::optional<std::string> data(ClipboardFormat format) override;

private:
    const std::string* nameOf(ClipboardFormat format) const;

    FormatId formatId_;
    bool isOpen_ = false;
    std::vector<std::pair<ClipboardFormat, std::string>> formats_;  // listed at open()
};

}  // namespace tovlo

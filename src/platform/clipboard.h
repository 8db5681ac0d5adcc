#pragma once
// Reading the system clipboard format by format. The clipboard is opened for
// one reading operation and closed again; formats are only listed and read
// while it is open.
#include <cstdint>
#include <optional>
#include <string>

namespace tovlo {

// A clipboard format: 1 to 17 are the system's standard formats, any other
// value is a format registered by name.
using ClipboardFormat = std::uint32_t;

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // False when the clipboard cannot be opened (another program holds it).
    virtual bool open() = 0;
    virtual void close() = 0;
    // The format after `after` in the clipboard's order; 0 starts the list,
    // and 0 comes back after the last one.
    virtual ClipboardFormat enumFormats(ClipboardFormat after) = 0;
    // The registered name of a format ("" for standard or unknown formats).
    virtual std::string formatName(ClipboardFormat format) = 0;
    // The whole data block of a format, or nothing when it is not there.
    virtual std::optional<std::string> data(ClipboardFormat format) = 0;
};

}  // namespace tovlo

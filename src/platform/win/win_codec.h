#pragma once
// GBK (code page 936) <-> UTF-8 through the system's conversion tables, with
// the results of the iconv codec for valid text. Bytes that are not valid
// GBK become U+FFFD, one per byte that starts no character (decoding);
// characters that GBK lacks and malformed UTF-8 become "?" (encoding).
// Nothing is dropped silently.
#include "platform/text_codec.h"

namespace tovlo {

class WinCodec : public TextCodec {
public:
    std::string ansiToUtf8(std::string_view ansi) const override;
    std::string utf8ToAnsi(std::string_view utf8) const override;
};

}  // namespace tovlo

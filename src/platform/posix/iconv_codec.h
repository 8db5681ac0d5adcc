#pragma once
// GBK <-> UTF-8 with iconv. Bytes that are not valid in the source encoding
// become U+FFFD (decoding) or "?" (encoding); nothing is dropped silently.
#include "platform/text_codec.h"

namespace tovlo {

class IconvCodec : public TextCodec {
public:
    std::string ansiToUtf8(std::string_view ansi) const override;
    std::string utf8ToAnsi(std::string_view utf8) const override;
};

}  // namespace tovlo

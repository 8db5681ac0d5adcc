#pragma once
// Conversion between the ANSI code page of text files (GBK) and UTF-8, the
// encoding of every string in memory.
#include <string>
#include <string_view>

namespace tovlo {

class TextCodec {
public:
    virtual ~TextCodec() = default;
    virtual std::string ansiToUtf8(std::string_view ansi) const = 0;
    virtual std::string utf8ToAnsi(std::string_view utf8) const = 0;
};

}  // namespace tovlo

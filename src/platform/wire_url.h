#pragma once
// The bytes of a URL as they go on the wire: the text in the ANSI code page,
// with spaces, controls and non-ASCII bytes percent-encoded. Existing "%"
// escapes and the URL's own punctuation are left as they are.
#include <string>

#include "text_codec.h"

namespace tovlo {

inline std::string wireUrl(const TextCodec& codec, const std::string& url) {
    static const char* hex = "0123456789ABCDEF";
    std::string bytes = codec.utf8ToAnsi(url);
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if (c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\' || c == '^' || c == '`' ||
            c == '{' || c == '|' || c == '}') {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

}  // namespace tovlo

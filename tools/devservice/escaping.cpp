#include "escaping.h"

#include <cstdio>

namespace tovlo::devservice {

namespace {

void appendUnit(std::string& out, unsigned unit) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\u%04x", unit & 0xFFFF);
    out += buf;
}

// The code point of the UTF-8 sequence at pos (advancing pos); U+FFFD for a
// broken sequence.
char32_t nextCodePoint(std::string_view text, std::size_t& pos) {
    unsigned char c = static_cast<unsigned char>(text[pos++]);
    int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (c >= 0x80 && more == 0) return 0xFFFD;
    char32_t cp = more == 3 ? c & 0x07 : more == 2 ? c & 0x0F : more == 1 ? c & 0x1F : c;
    for (int i = 0; i < more; ++i) {
        if (pos >= text.size() || (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80) return 0xFFFD;
        cp = cp << 6 | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    }
    return cp;
}

}  // namespace

std::string htmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string jsString(std::string_view utf8) {
    std::string out = "\"";
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t cp = nextCodePoint(utf8, pos);
        bool plain =
            cp >= 0x20 && cp < 0x7F && cp != '"' && cp != '\\' && cp != '\'' && cp != '<' && cp != '>' && cp != '&';
        if (plain) {
            out += static_cast<char>(cp);
        } else if (cp > 0xFFFF) {
            cp -= 0x10000;
            appendUnit(out, 0xD800 + (cp >> 10));
            appendUnit(out, 0xDC00 + (cp & 0x3FF));
        } else {
            appendUnit(out, cp);
        }
    }
    return out + "\"";
}

}  // namespace tovlo::devservice

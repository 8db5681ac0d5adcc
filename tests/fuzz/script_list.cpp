#include "script_list.h"

#include <string_view>

namespace tovlo::fuzz {

namespace {

bool take(std::string_view& text, std::string_view expected) {
    if (text.substr(0, expected.size()) != expected) return false;
    text.remove_prefix(expected.size());
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Appends the code point as UTF-8 (only the ones the escaping produces).
void appendCodePoint(std::string& out, unsigned code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// One '...' literal off the front of the text, decoded.
std::optional<std::string> takeLiteral(std::string_view& text) {
    if (!take(text, "'")) return std::nullopt;
    std::string out;
    while (!text.empty()) {
        const char c = text.front();
        text.remove_prefix(1);
        if (c == '\'') return out;
        // What would end the literal or the page's script block early.
        if (c == '\r' || c == '\n' || c == '<') return std::nullopt;
        if (text.substr(0, 2) == "\x80\xA8" && c == '\xE2') return std::nullopt;
        if (text.substr(0, 2) == "\x80\xA9" && c == '\xE2') return std::nullopt;
        if (c != '\\') {
            out.push_back(c);
            continue;
        }
        if (text.empty()) return std::nullopt;
        const char e = text.front();
        text.remove_prefix(1);
        switch (e) {
            case '\\': out.push_back('\\'); break;
            case '\'': out.push_back('\''); break;
            case '"': out.push_back('"'); break;
            case 'r': out.push_back('\r'); break;
            case 'n': out.push_back('\n'); break;
            case 'u': {
                if (text.size() < 4) return std::nullopt;
                unsigned code = 0;
                for (int i = 0; i < 4; ++i) {
                    const int d = hexDigit(text[static_cast<std::size_t>(i)]);
                    if (d < 0) return std::nullopt;
                    code = code * 16 + static_cast<unsigned>(d);
                }
                text.remove_prefix(4);
                appendCodePoint(out, code);
                break;
            }
            default: return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::vector<std::pair<std::string, std::string>>> readPluginList(const std::string& whole) {
    std::string_view text = whole;
    std::vector<std::pair<std::string, std::string>> items;
    if (!take(text, "[{}")) return std::nullopt;
    while (take(text, ",{id:")) {
        auto id = takeLiteral(text);
        if (!id || !take(text, ",name:")) return std::nullopt;
        auto name = takeLiteral(text);
        if (!name || !take(text, "}")) return std::nullopt;
        items.emplace_back(std::move(*id), std::move(*name));
    }
    if (!take(text, "]") || !text.empty()) return std::nullopt;
    return items;
}

}  // namespace tovlo::fuzz

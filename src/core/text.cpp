#include "text.h"

namespace tovlo {

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    if (from.empty()) return text;
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (;;) {
        std::size_t hit = text.find(from, pos);
        if (hit == std::string::npos) break;
        out.append(text, pos, hit - pos);
        out.append(to);
        pos = hit + from.size();
    }
    out.append(text, pos, std::string::npos);
    return out;
}

std::vector<std::string> split(std::string_view text, std::string_view sep) {
    std::vector<std::string> parts;
    if (sep.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    std::size_t pos = 0;
    for (;;) {
        std::size_t hit = text.find(sep, pos);
        if (hit == std::string_view::npos) break;
        parts.emplace_back(text.substr(pos, hit - pos));
        pos = hit + sep.size();
    }
    parts.emplace_back(text.substr(pos));
    return parts;
}

std::optional<std::pair<std::string, std::string>> splitFirst(std::string_view text, std::string_view sep) {
    std::size_t hit = text.find(sep);
    if (hit == std::string_view::npos) return std::nullopt;
    return std::make_pair(std::string(text.substr(0, hit)), std::string(text.substr(hit + sep.size())));
}

namespace {

std::string_view trimmed(std::string_view text, std::string_view away) {
    const std::size_t first = text.find_first_not_of(away);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(away) - first + 1);
}

}  // namespace

std::string_view trimBlanks(std::string_view text) { return trimmed(text, " \t"); }

std::string_view trimSpace(std::string_view text) { return trimmed(text, " \t\r\n"); }

std::string scriptStringText(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\'': out += "\\'"; break;
            case '"': out += "\\\""; break;
            case '<': out += "\\u003c"; break;  // no "</script>" inside a page's script block
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
                    out += "\\u00";
                    out.push_back(kHex[(c >> 4) & 0xf]);
                    out.push_back(kHex[c & 0xf]);
                } else if (c == '\xE2' && text.substr(i + 1, 1) == "\x80" && i + 2 < text.size() &&
                           (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
                    // U+2028 and U+2029 end a line inside a script on older engines.
                    out += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
                    i += 2;
                } else {
                    out.push_back(c);
                }
        }
    }
    return out;
}

std::string join(const std::vector<std::string>& parts, std::string_view sep) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += sep;
        out += parts[i];
    }
    return out;
}

std::string scriptLiteral(std::string_view text) { return "'" + scriptStringText(text) + "'"; }

std::string scriptBlockText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out.push_back(text[i]);
        if (text[i] == '<' && i + 1 < text.size() && text[i + 1] == '/' &&
            equalsNoCase(text.substr(i + 2, 6), "script"))
            out.push_back('\\');
    }
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace tovlo

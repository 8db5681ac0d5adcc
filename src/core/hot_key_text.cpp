#include "hot_key_text.h"

#include "text.h"

namespace tovlo {

namespace {

constexpr struct {
    const char* name;
    unsigned bit;
} kModifiers[] = {{"Ctrl", HotKey::Ctrl}, {"Alt", HotKey::Alt}, {"Shift", HotKey::Shift}, {"Win", HotKey::Win}};

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The virtual key of a key's name; 0 for a name that is no key of ours.
int keyOf(std::string_view name) {
    if (name.size() == 1) {
        const char c = upper(name[0]);
        return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ? c : 0;
    }
    if (name.size() < 2 || name.size() > 3 || upper(name[0]) != 'F' || name[1] == '0') return 0;
    int n = 0;
    for (char c : name.substr(1)) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + (c - '0');
    }
    return n <= kVkF12 - kVkF1 + 1 ? kVkF1 + n - 1 : 0;
}

}  // namespace

std::optional<HotKey> parseHotKey(std::string_view text) {
    HotKey hotKey;
    const std::vector<std::string> parts = split(text, "+");
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string_view part = trimBlanks(parts[i]);
        if (i + 1 == parts.size()) {
            hotKey.key = keyOf(part);
            break;
        }
        unsigned bit = 0;
        for (const auto& m : kModifiers)
            if (equalsNoCase(part, m.name)) bit = m.bit;
        if (bit == 0 || (hotKey.modifiers & bit)) return std::nullopt;
        hotKey.modifiers |= bit;
    }
    if (hotKey.key == 0 || (hotKey.modifiers & (HotKey::Ctrl | HotKey::Alt | HotKey::Win)) == 0) return std::nullopt;
    return hotKey;
}

std::string hotKeyText(const HotKey& key) {
    std::string text;
    for (const auto& m : kModifiers)
        if (key.modifiers & m.bit) text += std::string(m.name) + "+";
    if (key.key >= kVkF1 && key.key <= kVkF12) return text + "F" + std::to_string(key.key - kVkF1 + 1);
    return text + static_cast<char>(key.key);
}

}  // namespace tovlo

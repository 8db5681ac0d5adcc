#include "ini_file.h"

#include "text.h"

namespace tovlo {

IniFile::IniFile(const TextCodec& codec, std::string bytes) : codec_(&codec) {
    if (bytes.find("\r\n") == std::string::npos && bytes.find('\n') != std::string::npos) eol_ = "\n";
    std::vector<std::string> raws = split(bytes, "\n");
    if (!raws.empty() && raws.back().empty()) raws.pop_back();
    std::string section;
    for (std::string& raw : raws) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        Line line;
        line.raw = std::move(raw);
        std::string_view t = trimBlanks(line.raw);
        if (!t.empty() && t.front() == '[') {
            // Section names are found on the decoded text: a ']' byte can be
            // the second half of a double-byte character.
            std::string text = codec_->ansiToUtf8(t.substr(1));
            std::size_t close = text.find(']');
            line.kind = Kind::Section;
            line.name = std::string(trimBlanks(std::string_view(text).substr(0, close)));
        } else if (!t.empty() && t.front() != ';') {
            // "=" (0x3D) never occurs inside a double-byte character of the code page.
            std::size_t eq = line.raw.find('=');
            if (eq != std::string::npos) {
                line.kind = Kind::Key;
                line.eq = eq;
                line.name = std::string(trimBlanks(codec_->ansiToUtf8(line.raw.substr(0, eq))));
            }
        }
        lines_.push_back(std::move(line));
    }
}

std::optional<IniFile::Range> IniFile::findSection(const std::string& section) const {
    std::string_view want = trimBlanks(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Kind::Section || !equalsNoCase(lines_[i].name, want)) continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && lines_[end].kind != Kind::Section) ++end;
        return Range{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniFile::findKey(const Range& r, const std::string& key) const {
    std::string_view want = trimBlanks(key);
    for (std::size_t i = r.header + 1; i < r.end; ++i)
        if (lines_[i].kind == Kind::Key && equalsNoCase(lines_[i].name, want)) return i;
    return std::nullopt;
}

std::optional<std::string> IniFile::rawValue(const std::string& section, const std::string& key) const {
    auto r = findSection(section);
    if (!r) return std::nullopt;
    auto k = findKey(*r, key);
    if (!k) return std::nullopt;
    const Line& line = lines_[*k];
    return line.raw.substr(line.eq + 1);
}

IniFile::Line IniFile::makeKeyLine(const std::string& key, const std::string& value) const {
    Line line;
    std::string k = codec_->utf8ToAnsi(trimBlanks(key));
    line.raw = k + "=" + codec_->utf8ToAnsi(value);
    line.kind = Kind::Key;
    line.eq = k.size();
    line.name = std::string(trimBlanks(key));
    return line;
}

void IniFile::setValue(const std::string& section, const std::string& key, const std::string& value) {
    Line keyLine = makeKeyLine(key, value);
    auto r = findSection(section);
    if (!r) {
        Line header;
        header.raw = "[" + codec_->utf8ToAnsi(trimBlanks(section)) + "]";
        header.kind = Kind::Section;
        header.name = std::string(trimBlanks(section));
        lines_.push_back(std::move(header));
        lines_.push_back(std::move(keyLine));
        return;
    }
    if (auto k = findKey(*r, key)) {
        lines_[*k] = std::move(keyLine);
        return;
    }
    // New keys go right after the section's last key, so comments and blank
    // lines that precede the next section stay where they were.
    std::size_t at = r->header + 1;
    for (std::size_t i = r->header + 1; i < r->end; ++i)
        if (lines_[i].kind == Kind::Key) at = i + 1;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(keyLine));
}

bool IniFile::removeKey(const std::string& section, const std::string& key) {
    auto r = findSection(section);
    if (!r) return false;
    auto k = findKey(*r, key);
    if (!k) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*k));
    return true;
}

bool IniFile::removeSection(const std::string& section) {
    auto r = findSection(section);
    if (!r) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(r->header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(r->end));
    return true;
}

std::string IniFile::bytes() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.raw;
        out += eol_;
    }
    return out;
}

}  // namespace tovlo

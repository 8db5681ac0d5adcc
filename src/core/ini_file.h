#pragma once
// The line model behind IniCls: an INI text split into lines that keep their
// original bytes, with just enough parsing to find sections and keys.
#include <optional>
#include <string>
#include <vector>

#include "platform/text_codec.h"

namespace tovlo {

class IniFile {
public:
    IniFile(const TextCodec& codec, std::string bytes);

    // The raw value bytes of the first matching key, untrimmed.
    std::optional<std::string> rawValue(const std::string& section, const std::string& key) const;
    void setValue(const std::string& section, const std::string& key, const std::string& value);
    bool removeKey(const std::string& section, const std::string& key);
    bool removeSection(const std::string& section);
    std::string bytes() const;

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        std::string raw;  // bytes without the line end
        Kind kind = Kind::Other;
        std::string name;    // section or key name, UTF-8, trimmed
        std::size_t eq = 0;  // position of "=" in raw for keys
    };
    // [first, last) line range of a section's body; header index in first - 1.
    struct Range {
        std::size_t header;
        std::size_t end;
    };
    std::optional<Range> findSection(const std::string& section) const;
    std::optional<std::size_t> findKey(const Range& r, const std::string& key) const;
    Line makeKeyLine(const std::string& key, const std::string& value) const;

    const TextCodec* codec_;
    std::vector<Line> lines_;
    std::string eol_ = "\r\n";
};

}  // namespace tovlo

#include "ini_cls.h"

#include "files.h"
#include "ini_file.h"
#include "text.h"

namespace tovlo {

namespace {

// Cuts the bytes to at most max, never leaving the first half of a
// double-byte character at the end.
std::string cutAnsi(std::string bytes, std::size_t max) {
    if (bytes.size() <= max) return bytes;
    std::size_t i = 0;
    while (i < max) {
        std::size_t width = static_cast<unsigned char>(bytes[i]) >= 0x81 ? 2 : 1;
        if (i + width > max) break;
        i += width;
    }
    bytes.resize(i);
    return bytes;
}

bool breaksLines(const std::string& s) { return s.find_first_of(std::string("\r\n\0", 3)) != std::string::npos; }

}  // namespace

std::string IniCls::GetIniKey(const std::string& strSection, const std::string& strKey) const {
    auto bytes = readFileBytes(file_);
    if (!bytes) return "";
    IniFile ini(*codec_, std::move(*bytes));
    auto raw = ini.rawValue(strSection, strKey);
    if (!raw) return "";
    std::string value(trimBlanks(*raw));
    return codec_->ansiToUtf8(cutAnsi(std::move(value), kMaxValueBytes));
}

void IniCls::WriteIniKey(const std::string& strSection, const std::string& strKey, const std::string& strValue) {
    if (breaksLines(strSection) || breaksLines(strKey) || breaksLines(strValue)) return;
    if (contains(strKey, "=") || contains(strSection, "]")) return;
    if (trimBlanks(strSection).empty() || trimBlanks(strKey).empty()) return;
    auto bytes = readFileBytes(file_);
    IniFile ini(*codec_, bytes.value_or(""));
    ini.setValue(strSection, strKey, strValue);
    std::string out = ini.bytes();
    if (bytes && out == *bytes) return;
    replaceFileAtomically(file_, out);
}

void IniCls::DelIniKey(const std::string& SectionName, const std::string& KeyWord) {
    auto bytes = readFileBytes(file_);
    if (!bytes) return;
    IniFile ini(*codec_, *bytes);
    if (ini.removeKey(SectionName, KeyWord)) replaceFileAtomically(file_, ini.bytes());
}

void IniCls::DelIniSec(const std::string& SectionName) {
    auto bytes = readFileBytes(file_);
    if (!bytes) return;
    IniFile ini(*codec_, *bytes);
    if (ini.removeSection(SectionName)) replaceFileAtomically(file_, ini.bytes());
}

}  // namespace tovlo

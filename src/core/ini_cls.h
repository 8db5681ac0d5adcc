#pragma once
// iniCLS: one INI file in the private-profile format, stored as bytes of the
// ANSI code page. Section and key names match without regard to ASCII letter
// case, values come back trimmed and at most 1023 bytes long, and a write
// creates the file and the section when they are missing. Lines the class
// does not own (comments, other sections) survive every rewrite, and every
// rewrite replaces the file at once (written beside it, then renamed), so a
// crash never leaves half a file behind.
//
// No operation reports failure: a write that cannot be made is lost and a
// read of a missing file, section or key gives the empty text. A section, key
// or value holding a line break (or a key holding "=", a section holding "]")
// is refused the same way, so no value can smuggle new keys into the file.
#include <string>

#include "platform/text_codec.h"

namespace tovlo {

class IniCls {
public:
    explicit IniCls(const TextCodec& codec) : codec_(&codec) {}

    void setINIFileName(const std::string& New_IniPath) { file_ = New_IniPath; }
    const std::string& INIFileName() const { return file_; }

    std::string GetIniKey(const std::string& strSection, const std::string& strKey) const;
    void WriteIniKey(const std::string& strSection, const std::string& strKey, const std::string& strValue);
    void DelIniKey(const std::string& SectionName, const std::string& KeyWord);
    void DelIniSec(const std::string& SectionName);

    static constexpr std::size_t kMaxValueBytes = 1023;

private:
    const TextCodec* codec_;
    std::string file_;
};

}  // namespace tovlo

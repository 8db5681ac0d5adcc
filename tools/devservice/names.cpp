#include "names.h"

#include "core/text.h"

namespace tovlo::devservice {

namespace {

// Characters, counting each UTF-8 sequence once.
std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

// True when the text is valid UTF-8 that GBK can hold: the program sends and
// stores these names as GBK bytes.
bool fitsGbk(const std::string& text, const TextCodec& codec) {
    return codec.ansiToUtf8(codec.utf8ToAnsi(text)) == text;
}

bool isAsciiLetterOrDigit(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

}  // namespace

std::string accountNameProblem(const std::string& name, const TextCodec& codec) {
    if (name.empty()) return "请输入账号";
    if (characterCount(name) > 16) return "账号最多16个字";
    for (unsigned char c : name)
        if (c < 0x80 && !isAsciiLetterOrDigit(c)) return "账号只能由汉字、字母和数字组成";
    if (!fitsGbk(name, codec)) return "账号只能由汉字、字母和数字组成";
    return {};
}

std::string passwordProblem(const std::string& password) {
    std::size_t length = characterCount(password);
    if (length < 4 || length > 32) return "密码需为4到32个字符";
    for (unsigned char c : password)
        if (c < 0x20 || c == 0x7F) return "密码不能包含控制字符";
    return {};
}

std::string classNameProblem(const std::string& name, const TextCodec& codec) {
    if (trimBlanks(name).empty()) return "请输入分类名称";
    if (characterCount(name) > 20) return "分类名称最多20个字";
    for (std::string_view bad : {"||", "--", "$$"})
        if (contains(name, bad)) return "分类名称不能包含“||”“--”“$$”";
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F) return "分类名称不能包含换行或控制字符";
        if (c == '\'' || c == '"' || c == '\\' || c == '<' || c == '>') return "分类名称不能包含引号、反斜杠或尖括号";
    }
    if (name.back() == '-' || name.back() == '|') return "分类名称不能以“-”或“|”结尾";
    if (!fitsGbk(name, codec)) return "分类名称含有无法保存的字符";
    return {};
}

std::optional<long long> parseId(std::string_view text) {
    if (text.empty() || text.size() > 9 || text[0] == '0') return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace tovlo::devservice

#include "win_codec.h"

#include <windows.h>

#include "win_text.h"

namespace tovlo {

namespace {

constexpr UINT kGbk = 936;

bool isAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// The UTF-16 of GBK bytes, or nothing when they are not valid GBK.
bool gbkToWide(std::string_view gbk, std::wstring& out) {
    const int size = static_cast<int>(gbk.size());
    const int n = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, gbk.data(), size, nullptr, 0);
    if (n <= 0) return false;
    out.resize(static_cast<std::size_t>(n));
    return MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, gbk.data(), size, out.data(), n) == n;
}

// The GBK bytes of UTF-16 text; false when a character has no GBK form.
bool wideToGbk(std::wstring_view wide, std::string& out) {
    const int size = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, "?", &usedDefault);
    if (n <= 0 || usedDefault) return false;
    out.resize(static_cast<std::size_t>(n));
    return WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), n, "?", &usedDefault) == n &&
           !usedDefault;
}

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// How many bytes a malformed sequence at p takes: its first byte and the
// continuation bytes that follow it, up to the length the first byte
// announces. A byte that cannot continue it (an ASCII "(", say) is not
// swallowed but read on its own.
std::size_t malformedLength(const unsigned char* p, std::size_t left) {
    const unsigned char lead = p[0];
    const std::size_t announced = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    std::size_t n = 1;
    while (n < announced && n < left && isContinuation(p[n])) ++n;
    return n;
}

// The length of the well-formed UTF-8 sequence at p (no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0.
std::size_t wellFormedLength(const unsigned char* p, std::size_t left) {
    const unsigned char b = p[0];
    if (b < 0x80) return 1;
    std::size_t n = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (n > left || p[1] < low || p[1] > high) return 0;
    for (std::size_t i = 2; i < n; ++i)
        if (!isContinuation(p[i])) return 0;
    return n;
}

bool isWellFormed(std::string_view utf8) {
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = wellFormedLength(p + i, utf8.size() - i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

}  // namespace

std::string WinCodec::ansiToUtf8(std::string_view ansi) const {
    if (isAscii(ansi)) return std::string(ansi);
    std::wstring wide;
    if (gbkToWide(ansi, wide)) return narrow(wide);

    // Not all valid: character by character, each byte that starts no
    // character marked and skipped.
    std::string out;
    out.reserve(ansi.size() * 3 / 2 + 8);
    for (std::size_t i = 0; i < ansi.size();) {
        const auto b = static_cast<unsigned char>(ansi[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        if (i + 1 < ansi.size() && gbkToWide(ansi.substr(i, 2), wide)) {
            out += narrow(wide);
            i += 2;
        } else if (gbkToWide(ansi.substr(i, 1), wide)) {
            out += narrow(wide);
            ++i;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

std::string WinCodec::utf8ToAnsi(std::string_view utf8) const {
    if (isAscii(utf8)) return std::string(utf8);
    std::string out;
    if (isWellFormed(utf8) && wideToGbk(widen(utf8), out)) return out;

    // Character by character: what GBK lacks, and each malformed unit, is "?".
    out.clear();
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t left = utf8.size() - i;
        const std::size_t n = wellFormedLength(p + i, left);
        if (n == 0) {
            out.push_back('?');
            i += malformedLength(p + i, left);
            continue;
        }
        if (n == 1)
            out.push_back(static_cast<char>(p[i]));
        else if (wideToGbk(widen(utf8.substr(i, n)), bytes))
            out += bytes;
        else
            out.push_back('?');
        i += n;
    }
    return out;
}

}  // namespace tovlo

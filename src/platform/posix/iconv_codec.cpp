#include "iconv_codec.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace tovlo {

namespace {

// Converts text, replacing each unconvertible unit of the input. unitOf gives
// the byte length of the input unit that starts at a position.
template <typename UnitOf>
std::string convert(const char* to, const char* from, std::string_view in, std::string_view replacement,
                    UnitOf unitOf) {
    // Fast path: plain ASCII is the same in both encodings.
    bool ascii = true;
    for (char c : in)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return std::string(in);

    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
    std::string out;
    out.reserve(in.size() * 3 / 2 + 8);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buf[4096];
    while (srcLeft > 0) {
        char* dst = buf;
        std::size_t dstLeft = sizeof buf;
        std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<std::size_t>(dst - buf));
        if (rc != static_cast<std::size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: skip one unit of the input and mark it.
        std::size_t skip = unitOf(reinterpret_cast<unsigned char*>(src), srcLeft);
        src += skip;
        srcLeft -= skip;
        out.append(replacement);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string IconvCodec::ansiToUtf8(std::string_view ansi) const {
    return convert("UTF-8", "GBK", ansi, "\xEF\xBF\xBD",
                   [](const unsigned char*, std::size_t) { return std::size_t{1}; });
}

std::string IconvCodec::utf8ToAnsi(std::string_view utf8) const {
    return convert("GBK", "UTF-8", utf8, "?", [](const unsigned char* p, std::size_t left) {
        std::size_t n = 1;
        if (p[0] >= 0xF0)
            n = 4;
        else if (p[0] >= 0xE0)
            n = 3;
        else if (p[0] >= 0xC0)
            n = 2;
        return n <= left ? n : left;
    });
}

}  // namespace tovlo

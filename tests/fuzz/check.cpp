#include "check.h"

#include <cstdio>
#include <cstdlib>

namespace tovlo::fuzz {

void checkFailed(const char* condition, const char* file, int line, const std::string& detail) {
    std::fprintf(stderr, "\nCHECK failed at %s:%d: %s\n  %s\n", file, line, condition, detail.c_str());
    std::fflush(stderr);
    std::abort();
}

std::string shown(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    static constexpr std::size_t kMaxShown = 400;
    std::string out = "\"";
    for (std::size_t i = 0; i < bytes.size() && i < kMaxShown; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7f && c != '\\' && c != '"') {
            out.push_back(static_cast<char>(c));
        } else {
            out += "\\x";
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0xf]);
        }
    }
    out += "\"";
    if (bytes.size() > kMaxShown) out += "... (" + std::to_string(bytes.size()) + " bytes)";
    return out;
}

}  // namespace tovlo::fuzz

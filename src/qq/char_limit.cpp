#include "char_limit.h"

namespace tovlo {

void keepFirstChars(std::string& text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        // Continuation bytes (10xxxxxx) belong to the character before them.
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (chars == maxChars) {
            text.resize(i);
            return;
        }
        ++chars;
    }
}

}  // namespace tovlo

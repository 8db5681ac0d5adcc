// The service's parameters (params.html): "name=value" items that can show
// the notice window and move the face download base in config.ini.
//
// Input: the parameters' bytes.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "bridge/server_params.h"
#include "check.h"
#include "core/text.h"
#include "fuzz_input.h"

namespace {

using namespace tovlo;
using namespace tovlo::fuzz;

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

// The piece is "name=value" with blanks and line breaks around either part.
bool isItemOf(const std::string& piece, const std::string& name, const std::string& value) {
    const std::size_t equals = piece.find('=');
    return equals != std::string::npos && trimSpace(std::string_view(piece).substr(0, equals)) == name &&
           trimSpace(std::string_view(piece).substr(equals + 1)) == value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(asText(data, size));
    const std::vector<std::pair<std::string, std::string>> items = parseServerParams(text);
    if (!contains(text, "isQQShow")) {
        CHECK(items.empty(), std::to_string(items.size()) + " items from a text without isQQShow");
        return 0;
    }
    const std::vector<std::string> pieces = split(text, "||");
    CHECK(items.size() <= pieces.size(),
          std::to_string(items.size()) + " items from " + std::to_string(pieces.size()) + " pieces");

    // Each item is one piece, without what surrounds it, cut at its first
    // "=", in the order of the pieces; pieces without "=" name nothing.
    std::size_t next = 0;
    for (const auto& [name, value] : items) {
        CHECK(!contains(name, "="), "name " + shown(name) + " holds \"=\"");
        for (const std::string* part : {&name, &value})
            CHECK(part->empty() || (!isLineBreak(part->front()) && !isLineBreak(part->back())),
                  "line break at an end of " + shown(*part));
        while (next < pieces.size() && !isItemOf(pieces[next], name, value)) ++next;
        CHECK(next < pieces.size(), "item " + shown(name) + "=" + shown(value) + " is no piece, or out of order");
        ++next;
    }
    std::size_t withValue = 0;
    for (const std::string& piece : pieces) withValue += contains(piece, "=") ? 1 : 0;
    CHECK(items.size() == withValue,
          std::to_string(items.size()) + " items from " + std::to_string(withValue) + " pieces with \"=\"");
    return 0;
}

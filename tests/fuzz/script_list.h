#pragma once
// Reading back the plug-in list the main page receives as a script value:
// "[{}" then ",{id:'..',name:'..'}" per plug-in, then "]", with the texts
// as single-quoted string literals.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tovlo::fuzz {

// The (id, name) pairs of the list with their literals decoded; nothing when
// the text is not such a list (a literal ended early, a raw line break or
// "<" inside one, anything left over).
std::optional<std::vector<std::pair<std::string, std::string>>> readPluginList(const std::string& text);

}  // namespace tovlo::fuzz

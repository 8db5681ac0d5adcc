#pragma once
// The hot key as the user types it and config.ini keeps it: "Ctrl+Alt+E".
#include <optional>
#include <string>
#include <string_view>

#include "platform/hot_key.h"

namespace tovlo {

// Ctrl+Alt+E: QQ's own combinations use Ctrl+Alt with A (screenshot), Z
// (messages), W, S, X and Q, not E.
inline constexpr const char* kDefaultHotKey = "Ctrl+Alt+E";
// What config.ini says when the user wants no hot key.
inline constexpr const char* kNoHotKey = "none";

// Parts joined by "+" (blanks around them ignored, any case): the modifiers
// Ctrl, Alt, Shift and Win, each at most once, then one key: a letter, a
// digit or F1-F12. At least Ctrl, Alt or Win is needed: a letter with Shift
// alone is typing. Nothing for any other text.
std::optional<HotKey> parseHotKey(std::string_view text);
// The combination in the form parseHotKey reads, modifiers in a fixed order.
std::string hotKeyText(const HotKey& key);

}  // namespace tovlo

#pragma once
// Recognising a QQ chat window from its class name and title.
#include <string_view>

namespace tovlo {

// The class of the chat windows (and of many other QQ windows).
inline constexpr std::string_view kQQWindowClass = "TXGuiFoundation";

struct ChatFlags {
    bool is09 = false;   // a chat window of QQ's class that passed the title filter
    bool is08 = false;   // a chat window recognised by a chatting or group mark in the title
    bool isQun = false;  // a group chat
    bool operator==(const ChatFlags&) const = default;
};

// The flags for a window; the rules run in a fixed order and the title marks
// override the class rule.
ChatFlags classifyWindow(std::string_view className, std::string_view title);

}  // namespace tovlo

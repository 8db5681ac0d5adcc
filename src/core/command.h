#pragma once
// A page command: the name before the first "||" and the argument after it
// (the argument may hold further "||"). A text without "||" is no command.
#include <string>

#include "core/errors.h"
#include "core/text.h"

namespace tovlo {

struct Command {
    std::string name;
    std::string arg;
};

inline Command parseCommand(const std::string& Text) {
    auto parts = splitFirst(Text, "||");
    if (!parts) throw TovloError(kErrInvalidArgument, "not a command (no \"||\"): " + Text);
    return {std::move(parts->first), std::move(parts->second)};
}

// The two parts of an argument around its first separator; fails without it.
inline std::pair<std::string, std::string> splitArgument(const std::string& arg, const std::string& sep) {
    auto parts = splitFirst(arg, sep);
    if (!parts) throw TovloError(kErrInvalidArgument, "the argument needs \"" + sep + "\": " + arg);
    return *parts;
}

}  // namespace tovlo

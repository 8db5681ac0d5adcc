#pragma once
// The rules for what users may type: account names, passwords, class names,
// and the numeric ids of classes and faces.
#include <optional>
#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace tovlo::devservice {

// Each returns why the text is refused, in Chinese, or an empty text.
// Account names end up in the program's folder names and page scripts, so
// they hold only letters, digits and Chinese characters.
std::string accountNameProblem(const std::string& name, const TextCodec& codec);
std::string passwordProblem(const std::string& password);
// Class names travel inside the face listing ("||", "--", "$$"), in script
// strings and in pages, so those separators, quotes, backslashes, angle
// brackets and line breaks are refused, and so is a trailing "-" or "|",
// which would run into the separator that follows the name.
std::string classNameProblem(const std::string& name, const TextCodec& codec);

// A class or face id: 1 to 9 digits, not starting with 0.
std::optional<long long> parseId(std::string_view text);

}  // namespace tovlo::devservice

#pragma once
// Turning the path of a request into a file of the data folder without ever
// leaving it.
#include <optional>
#include <string>
#include <string_view>

#include "platform/text_codec.h"

namespace tovlo::devservice {

// The file that relative (the decoded request path below a served folder,
// segments separated by "/", UTF-8) names inside base. Nothing when a segment
// is empty, ".", "..", starts with "." (temporary files) or holds a
// backslash, a control character or NUL, or when the resolved file
// (following links) lies outside base.
std::optional<std::string> fileUnder(const std::string& base, const std::string& relative);

// The text of GBK bytes in UTF-8, or nothing when the bytes are not valid
// GBK. The program sends the non-ASCII text of its addresses as
// percent-encoded GBK; the data folder's names are UTF-8.
std::optional<std::string> gbkToUtf8(const TextCodec& codec, std::string_view gbk);

// fileUnder for a request path whose bytes (percent-decoded) are GBK: they
// become the UTF-8 name first, so that a GBK trail byte that happens to be
// "\" is never taken for a separator. Nothing when they are not valid GBK.
std::optional<std::string> requestedFile(const std::string& base, const std::string& gbkRelative,
                                         const TextCodec& codec);

}  // namespace tovlo::devservice

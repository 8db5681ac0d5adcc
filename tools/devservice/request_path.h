#pragma once
// Turning the path of a request into a file of the data folder without ever
// leaving it.
#include <optional>
#include <string>

namespace tovlo::devservice {

// The file that relative (the decoded request path below a served folder,
// segments separated by "/") names inside base. Nothing when a segment is
// empty, ".", "..", starts with "." (temporary files) or holds a backslash, a
// control character or NUL, or when the resolved file (following links) lies
// outside base.
std::optional<std::string> fileUnder(const std::string& base, const std::string& relative);

}  // namespace tovlo::devservice

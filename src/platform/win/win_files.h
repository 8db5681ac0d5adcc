#pragma once
// The few file operations of the Windows backends, on UTF-8 paths.
#include <string>

namespace tovlo {

// Creates or truncates the file and writes the bytes. False on failure.
bool writeWholeFile(const std::string& path, const std::string& bytes);
// Renames the file onto the target, replacing a target that exists.
bool moveOver(const std::string& from, const std::string& to);
void removeFile(const std::string& path);

}  // namespace tovlo

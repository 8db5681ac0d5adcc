#pragma once
// Whole-file byte I/O, the one place that touches file contents.
#include <optional>
#include <string>

namespace tovlo {

// The file's bytes, or nothing when it cannot be opened.
std::optional<std::string> readFileBytes(const std::string& path);
// Creates or truncates the file and writes the bytes. False on failure.
bool writeFileBytes(const std::string& path, const std::string& bytes);
// Writes beside the file, then renames over it, so readers see either the old
// or the new content. False (and the old file untouched) on failure.
bool replaceFileAtomically(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);
bool folderExists(const std::string& path);

}  // namespace tovlo

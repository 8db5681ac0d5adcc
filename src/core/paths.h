#pragma once
// Local paths. The program builds paths by joining names onto the program
// folder with the platform's separator; texts handed to pages use "/".
#include <initializer_list>
#include <string>
#include <string_view>

namespace tovlo {

#ifdef _WIN32
inline constexpr char kPathSep = '\\';
#else
inline constexpr char kPathSep = '/';
#endif

// base, then each part, with one separator between them.
std::string joinPath(std::string_view base, std::initializer_list<std::string_view> parts);
// The path with the separator written as "/" (for page scripts and file URLs).
std::string pageSlashes(std::string_view path);
// Whether the path names a place on its own (from the root, or on Windows a
// drive or a share), not relative to the current folder.
bool isAbsolutePath(std::string_view path);
// The same folder written without separators at its end (the root stays).
std::string withoutTrailingSeparators(std::string_view path);
// Whether a name from a page or the service can be used as one folder or file
// name: not empty, not "." or "..", not over 255 bytes, and without
// separators or control characters (no system takes a line break or NUL in a file name, and lists
// that record names one per line must be able to hold them).
bool isSafeName(std::string_view name);
// Whether a "/"-separated path from the service stays inside the folder it
// is joined to: not empty, not absolute, no drive, no "." or ".." segment,
// no empty segment, no "\" or control characters.
bool isSafeRelativePath(std::string_view path);
// base joined with the "/"-separated relative path, in local separators.
std::string localPath(const std::string& base, std::string_view relative);

}  // namespace tovlo

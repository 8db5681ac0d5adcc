#pragma once
// Whole-file byte I/O, the one place that touches file contents.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovlo {

// Paths in memory are UTF-8 text. std::filesystem reads a plain narrow
// string in the system's locale (on Windows not UTF-8), so every path goes
// to it, and every name comes back from it, through these two.
std::filesystem::path fsPath(std::string_view utf8);
std::string pathText(const std::filesystem::path& path);

// The file's bytes, or nothing when it cannot be opened.
std::optional<std::string> readFileBytes(const std::string& path);
// Creates or truncates the file and writes the bytes. False on failure.
bool writeFileBytes(const std::string& path, const std::string& bytes);
// Writes beside the file, then renames over it, so readers see either the old
// or the new content, and a running program replaced this way goes on with
// its old file. The new file keeps the old one's permissions. False (and the
// old file untouched) on failure.
bool replaceFileAtomically(const std::string& path, const std::string& bytes);
// Removes the half-written files a killed program left in the folder (see
// platform/part_file.h); the folder's other files stay.
void removePartFiles(const std::string& folder);
// Renames the file onto the target, replacing a target that exists in one
// step (never a moment without it). False on failure, nothing changed.
bool renameOver(const std::string& from, const std::string& to);
// Lets everyone who may read the file also run it (a program that arrived
// as a download). False on failure.
bool markExecutable(const std::string& path);
// Copies the file's bytes onto the target (replacing one that exists) in the
// same way as replaceFileAtomically. False on failure, the target untouched.
bool copyFile(const std::string& from, const std::string& to);
// Creates the folder (one level: its parent must exist). True when the folder
// exists afterwards.
bool createFolder(const std::string& path);
// The names of the folder's plain files (no folders, no hidden files), in
// name order; none when the folder cannot be read.
std::vector<std::string> plainFileNames(const std::string& folder);
// Deletes the folder with everything in it, read-only files too (Windows
// refuses to delete those until they are made writable). Throws TovloError
// (kErrFileAccess) when something is left.
void removeTree(const std::string& path);
bool fileExists(const std::string& path);
bool folderExists(const std::string& path);

}  // namespace tovlo

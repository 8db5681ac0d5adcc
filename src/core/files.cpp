#include "files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "errors.h"
#include "platform/part_file.h"

namespace tovlo {

namespace fs = std::filesystem;

fs::path fsPath(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string pathText(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::optional<std::string> readFileBytes(const std::string& path) {
    std::ifstream in(fsPath(path), std::ios::binary);
    if (!in) return std::nullopt;
    // Read in blocks: a character at a time is slow for the long lists a
    // service may send.
    std::string bytes;
    char block[64 * 1024];
    while (in.read(block, sizeof block) || in.gcount() > 0) bytes.append(block, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool writeFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(fsPath(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

bool replaceFileAtomically(const std::string& path, const std::string& bytes) {
    const std::string temp = partFileOf(path);
    if (!writeFileBytes(temp, bytes)) {
        std::error_code ec;
        fs::remove(fsPath(temp), ec);
        return false;
    }
    std::error_code ec;
    const fs::file_status old = fs::status(fsPath(path), ec);
    if (!ec && fs::is_regular_file(old)) fs::permissions(fsPath(temp), old.permissions(), ec);
    fs::rename(fsPath(temp), fsPath(path), ec);
    if (ec) {
        fs::remove(fsPath(temp), ec);
        return false;
    }
    return true;
}

bool renameOver(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(fsPath(from), fsPath(to), ec);
    return !ec;
}

bool markExecutable(const std::string& path) {
    std::error_code ec;
    const fs::perms now = fs::status(fsPath(path), ec).permissions();
    if (ec) return false;
    fs::perms run = fs::perms::none;
    if ((now & fs::perms::owner_read) != fs::perms::none) run |= fs::perms::owner_exec;
    if ((now & fs::perms::group_read) != fs::perms::none) run |= fs::perms::group_exec;
    if ((now & fs::perms::others_read) != fs::perms::none) run |= fs::perms::others_exec;
    fs::permissions(fsPath(path), run, fs::perm_options::add, ec);
    return !ec;
}

bool copyFile(const std::string& from, const std::string& to) {
    const std::string temp = partFileOf(to);
    std::error_code ec;
    fs::copy_file(fsPath(from), fsPath(temp), fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::rename(fsPath(temp), fsPath(to), ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(fsPath(temp), ignored);
        return false;
    }
    return true;
}

bool createFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directory(fsPath(path), ec);
    return fs::is_directory(fsPath(path), ec);
}

std::vector<std::string> plainFileNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(fsPath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = pathText(it->path().filename());
        std::error_code kind;
        if (name.empty() || name[0] == '.' || !it->is_regular_file(kind)) continue;
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

void removeTree(const std::string& path) {
    const fs::path root = fsPath(path);
    std::error_code ec;
    fs::remove_all(root, ec);
    if (!ec) return;
    std::error_code ignored;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    fs::permissions(root, fs::perms::owner_write, fs::perm_options::add, ignored);
    ec.clear();
    fs::remove_all(root, ec);
    if (ec) throw TovloError(kErrFileAccess, "cannot delete: " + path);
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(fsPath(path), ec);
}

bool folderExists(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(fsPath(path), ec);
}

void removePartFiles(const std::string& folder) {
    std::error_code ec;
    std::vector<fs::path> parts;
    for (fs::directory_iterator it(fsPath(folder), ec), end; !ec && it != end; it.increment(ec))
        if (isPartFile(pathText(it->path().filename())) && it->is_regular_file()) parts.push_back(it->path());
    for (const fs::path& part : parts) fs::remove(part, ec);
}

}  // namespace tovlo

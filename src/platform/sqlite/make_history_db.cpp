// make_history_db FILE: puts an empty history store at FILE when there is no
// file there yet. An existing file holds the user's history and is never
// touched.
#include <filesystem>
#include <iostream>

#include "sqlite_history_db.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_history_db FILE\n";
        return 2;
    }
    // A UTF-8 path (narrow strings are UTF-8 on Windows too, by the manifest;
    // std::filesystem would read a plain one in the C library's locale there).
    const std::string utf8 = argv[1];
    const std::filesystem::path file(std::u8string(utf8.begin(), utf8.end()));
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) return 0;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
    try {
        tovlo::SqliteHistoryDb(utf8).open();
    } catch (const std::exception& e) {
        std::cerr << "make_history_db: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

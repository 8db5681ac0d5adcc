#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace tovlo::test {

inline constexpr char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);

// A "/"-separated path written with the system's separator, as the program
// writes its own paths: "a/b" is "a\b" on Windows.
inline std::string nativePath(std::string path) {
    for (char& c : path)
        if (c == '/') c = kSeparator;
    return path;
}

// A UTF-8 path as std::filesystem takes it on every system (a plain narrow
// string is read in the C library's locale on Windows).
inline std::filesystem::path u8Path(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

class TempDir {
public:
    TempDir() {
        // A random name, taken only when no one else has it (creating a
        // folder that is already there fails).
        std::random_device seed;
        std::mt19937_64 random(seed());
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate = base / ("tovlo-test-" + std::to_string(random() % 1000000000));
            std::error_code ec;
            if (std::filesystem::create_directory(candidate, ec)) {
                path_ = candidate.string();
                return;
            }
        }
        std::abort();
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // A path inside the folder, in the system's separators.
    std::string operator/(const std::string& name) const { return path_ + kSeparator + nativePath(name); }

private:
    std::string path_;
};

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(u8Path(path).parent_path());
    std::ofstream out(u8Path(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string readBytes(const std::string& path) {
    std::ifstream in(u8Path(path), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace tovlo::test

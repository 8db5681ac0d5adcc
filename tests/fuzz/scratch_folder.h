#pragma once
// A folder of the fuzz process's own under the temporary folder, made once
// and removed with everything in it when the process ends normally.
#include <string>

namespace tovlo::fuzz {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    // Removes everything inside the folder; the folder itself stays.
    void clear() const;

private:
    std::string path_;
};

// Writes the bytes as the whole file, making its folders first. Aborts when
// it cannot: a harness that cannot set up its input tests nothing.
void putFile(const std::string& path, const std::string& bytes);
// The file's bytes, or "" when it cannot be read.
std::string fileBytes(const std::string& path);

}  // namespace tovlo::fuzz

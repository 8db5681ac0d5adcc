#include <filesystem>
#include <stdexcept>

#include "core/files.h"
#include "sample_data.h"

namespace tovlo::devservice {

void writeSampleFile(const std::string& path, const std::string& bytes) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (!tovlo::writeFileBytes(path, bytes)) throw std::runtime_error("cannot write " + path);
}

void writeServiceFiles(const DataFolder& folder) {
    writeSampleFile(folder.soft() + "/connect.html", "1");
    writeSampleFile(folder.soft() + "/params.html", "isQQShow=false");
}

}  // namespace tovlo::devservice

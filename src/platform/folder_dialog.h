#pragma once
// The system's folder chooser.
#include <optional>
#include <string>

namespace tovlo {

class FolderDialog {
public:
    virtual ~FolderDialog() = default;
    // Blocks until the user picks a folder (its full path) or cancels (nothing).
    // startFolder is shown first when it exists.
    virtual std::optional<std::string> chooseFolder(const std::string& prompt, const std::string& startFolder) = 0;
};

}  // namespace tovlo

#pragma once
// A folder chooser that gives the answer a test set (nothing: cancelled) and
// records what it was asked.
#include <optional>
#include <string>
#include <vector>

#include "platform/folder_dialog.h"

namespace tovlo {

class FakeFolderDialog : public FolderDialog {
public:
    std::optional<std::string> chooseFolder(const std::string& prompt, const std::string& startFolder) override {
        prompts.push_back(prompt);
        starts.push_back(startFolder);
        return answer;
    }
    std::optional<std::string> answer;
    std::vector<std::string> prompts, starts;
};

}  // namespace tovlo

#pragma once
// The folder chooser on Qt. In unattended runs (TOVLO_UNATTENDED=1) no dialog
// is shown: the prompt is written to standard error as "[folder] prompt" and
// the answer is the folder named by TOVLO_FOLDER_ANSWER (none when unset).
#include "platform/folder_dialog.h"

namespace tovlo {

class QtFolderDialog : public FolderDialog {
public:
    std::optional<std::string> chooseFolder(const std::string& prompt, const std::string& startFolder) override;
};

}  // namespace tovlo

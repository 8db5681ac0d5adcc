#pragma once
// The system's message box (MessageBoxW) and folder chooser
// (SHBrowseForFolderW). Both wait in their own message loop, which goes on
// dispatching the program's windows and timers (under the one-thing-at-a-
// time rule, platform/commands.h). Unattended runs show neither
// (platform/unattended.h).
#include "platform/folder_dialog.h"
#include "platform/message_box.h"

namespace tovlo {

class WinMessageBox : public MessageBox {
public:
    void show(const std::string& text, const std::string& title, MessageIcon icon) override;
};

class WinFolderDialog : public FolderDialog {
public:
    std::optional<std::string> chooseFolder(const std::string& prompt, const std::string& startFolder) override;
};

}  // namespace tovlo

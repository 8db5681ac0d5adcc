#pragma once
// What the settings windows need of the program.
#include <functional>
#include <string>

#include "core/public_parm.h"
#include "platform/auto_start.h"
#include "platform/folder_dialog.h"
#include "platform/platform.h"

namespace tovlo {

struct SettingsDeps {
    Platform& platform;
    PublicParm& parm;
    FolderDialog& folders;
    AutoStart& autoStart;
    std::string programPath;  // the running Tovlo.exe, full path: what auto-start starts
    // Binds the hot key ("Ctrl+Alt+E", or "none"); false when the desktop
    // refuses it. Not set where the program has no hot key.
    std::function<bool(const std::string& keys)> useHotKey = nullptr;
};

// What the face copy needs of the main window.
struct FaceCopyHost {
    // Shows a class that is in the face folder (catalogue hidden, page switched).
    std::function<void(const std::string& faceClass)> showClass;
    std::function<void()> showMainWindow;
};

}  // namespace tovlo

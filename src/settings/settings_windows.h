#pragma once
// Opens the settings dialog (one at a time) and the face-copy windows, and
// destroys each once it is done.
#include <memory>
#include <string>
#include <vector>

#include "core/reaper.h"
#include "settings/config_form.h"
#include "settings/copy_face.h"

namespace tovlo {

class SettingsWindows {
public:
    SettingsWindows(const SettingsDeps& deps, FaceCopyHost host);

    // Shows the settings dialog; one that is open already comes to the front.
    void openSettings();
    // Copies a class to the moved face folder in a window of its own.
    void openFaceCopy(const std::string& faceClass);

    ConfigForm* settings() { return config_.get(); }
    std::size_t copiesRunning() const { return copies_.size(); }

private:
    SettingsDeps deps_;
    FaceCopyHost host_;
    std::unique_ptr<ConfigForm> config_;
    std::vector<std::unique_ptr<CopyFace>> copies_;
    // A window that is done is destroyed once nothing of it can be running.
    Reaper reaper_;
};

}  // namespace tovlo

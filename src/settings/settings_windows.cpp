#include "settings_windows.h"

#include <algorithm>

namespace tovlo {

SettingsWindows::SettingsWindows(const SettingsDeps& deps, FaceCopyHost host)
    : deps_(deps), host_(std::move(host)), reaper_(deps.platform.loop) {}

void SettingsWindows::openSettings() {
    if (!config_) {
        config_ = std::make_unique<ConfigForm>(deps_, [this] {
            config_->form().hide();
            reaper_.retire(std::move(config_));
        });
    }
    config_->form().show();
    config_->form().activate();
}

void SettingsWindows::openFaceCopy(const std::string& faceClass) {
    // A second click on a class being copied shows the copy that runs: two
    // copies would write the same files at once.
    for (const auto& running : copies_)
        if (running->faceClass() == faceClass) {
            running->form().show();
            return;
        }
    auto copy = std::make_unique<CopyFace>(deps_.platform, deps_.parm, host_, [this](CopyFace& done) {
        auto it = std::find_if(copies_.begin(), copies_.end(), [&done](const auto& c) { return c.get() == &done; });
        if (it == copies_.end()) return;
        reaper_.retire(std::move(*it));
        copies_.erase(it);
    });
    copy->setFaceClass(faceClass);
    copy->show();
    copies_.push_back(std::move(copy));
}

}  // namespace tovlo

#pragma once
// The tray icon's two gestures: one opens the settings dialog, the other
// brings the main window to the front and pops up the menu 设置 / 关于 /
// 退出. The about window is made on first use and kept.
#include <functional>
#include <memory>
#include <string>

#include "bridge/about_form.h"
#include "core/debug_form.h"
#include "core/public_parm.h"
#include "platform/desktop.h"
#include "platform/platform.h"

namespace tovlo {

class TrayMenu {
public:
    struct Actions {
        std::function<void()> openSettings;  // null: this build has no settings dialog
        std::function<void()> exit;          // the menu's Exit
    };
    TrayMenu(Platform& platform, Desktop& desktop, Form& window, PublicParm& parm, DebugForm& debug, Actions actions);
    ~TrayMenu();

    AboutForm* about() { return about_.get(); }
    void hideAbout();

private:
    void popup();
    void openAbout();

    Platform& platform_;
    Desktop& desktop_;
    Form& window_;
    PublicParm& parm_;
    DebugForm& debug_;
    Actions actions_;
    std::unique_ptr<AboutForm> about_;
};

}  // namespace tovlo

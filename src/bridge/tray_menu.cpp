#include "tray_menu.h"

#include "core/service.h"

namespace tovlo {

TrayMenu::TrayMenu(Platform& platform, Desktop& desktop, Form& window, PublicParm& parm, DebugForm& debug,
                   Actions actions)
    : platform_(platform),
      desktop_(desktop),
      window_(window),
      parm_(parm),
      debug_(debug),
      actions_(std::move(actions)) {
    platform_.tray.onClick = [this] {
        if (actions_.openSettings) actions_.openSettings();
    };
    platform_.tray.onMenuRequest = [this] { popup(); };
}

TrayMenu::~TrayMenu() {
    platform_.tray.onClick = nullptr;
    platform_.tray.onMenuRequest = nullptr;
}

// The window in front first, so that the menu closes when the user clicks
// elsewhere.
void TrayMenu::popup() {
    desktop_.setForegroundWindow(window_.handle());
    platform_.tray.popupMenu({"设置", "关于", "退出"}, [this](int item) {
        if (item == 0 && actions_.openSettings) actions_.openSettings();
        if (item == 1) openAbout();
        if (item == 2) guardEvent(debug_, "exit", actions_.exit);
    });
}

void TrayMenu::openAbout() {
    if (!about_) about_ = std::make_unique<AboutForm>(platform_, parm_.ini, serviceUrl(parm_.serviceHost, "/"));
    about_->show();
}

void TrayMenu::hideAbout() {
    if (about_) about_->form().hide();
}

}  // namespace tovlo

#pragma once
#include <memory>

#include "platform/commands.h"
#include "platform/tray_icon.h"

class QSystemTrayIcon;

namespace tovlo {

class QtTrayIcon : public TrayIcon {
public:
    QtTrayIcon();
    ~QtTrayIcon() override;
    void setToolTip(const std::string& tip) override;
    void setVisible(bool visible) override;
    void showBalloon(const std::string& title, const std::string& text) override;
    void popupMenu(const std::vector<std::string>& items, std::function<void(int)> chosen) override;
    QSystemTrayIcon& icon() { return *icon_; }

private:
    std::unique_ptr<QSystemTrayIcon> icon_;
    EventSource events_{"a click on the tray icon"};
};

}  // namespace tovlo

#pragma once
// The notification-area icon.
#include <string>

namespace tovlo {

class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual void setToolTip(const std::string& tip) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void showBalloon(const std::string& title, const std::string& text) = 0;
};

}  // namespace tovlo

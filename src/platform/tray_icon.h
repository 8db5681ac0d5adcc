#pragma once
// The notification-area icon.
#include <functional>
#include <string>
#include <vector>

namespace tovlo {

class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual void setToolTip(const std::string& tip) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void showBalloon(const std::string& title, const std::string& text) = 0;
    // Shows a pop-up menu at the mouse; chosen gets the index of the item picked.
    virtual void popupMenu(const std::vector<std::string>& items, std::function<void(int)> chosen) = 0;

    std::function<void()> onClick;        // the icon was clicked (activated)
    std::function<void()> onMenuRequest;  // the icon's context menu was asked for
};

}  // namespace tovlo

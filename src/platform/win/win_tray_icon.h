#pragma once
// The notification-area icon on Win32 (Shell_NotifyIconW): a drawn face,
// its tip, a balloon, and a pop-up menu (TrackPopupMenu) at the mouse. The
// icon reports to a hidden window of its own; clicks are told as events of
// the loop. When the shell starts again (its "TaskbarCreated" message) a
// shown icon is put back.
#include "platform/commands.h"
#include "platform/tray_icon.h"

struct HWND__;
struct HICON__;

namespace tovlo {

class WinTrayIcon : public TrayIcon {
public:
    WinTrayIcon();
    ~WinTrayIcon() override;
    WinTrayIcon(const WinTrayIcon&) = delete;
    WinTrayIcon& operator=(const WinTrayIcon&) = delete;

    void setToolTip(const std::string& tip) override;
    void setVisible(bool visible) override;
    void showBalloon(const std::string& title, const std::string& text) override;
    void popupMenu(const std::vector<std::string>& items, std::function<void(int)> chosen) override;

    // The window the shell reports to (tests play the shell through it).
    HWND__* window() const { return window_; }

private:
    friend struct WinTrayWindow;
    void shellMessage(unsigned mouse);
    // Tells the shell about the icon (with a balloon's title and text when
    // flags hold NIF_INFO).
    bool notify(unsigned what, unsigned flags, const std::string& title = {}, const std::string& text = {});

    HWND__* window_ = nullptr;
    HICON__* icon_ = nullptr;
    std::string tip_;
    bool visible_ = false;
    EventSource events_{"the tray icon"};
};

}  // namespace tovlo

#pragma once
// The desktop through the Win32 API: the foreground window, its title and
// class (read as UTF-16 and handed out as UTF-8), its outer rectangle,
// bringing a window to the front and synthetic keys (SendInput). Window
// handles are HWNDs.
#include "platform/desktop.h"

namespace tovlo {

class WinDesktop : public Desktop {
public:
    WindowHandle foregroundWindow() const override;
    std::string windowTitle(WindowHandle window) const override;
    std::string windowClass(WindowHandle window) const override;
    Rect windowRect(WindowHandle window) const override;
    void setForegroundWindow(WindowHandle window) override;
    void sendKey(int virtualKey, bool down) override;
    ScreenSize screenSize() const override;
    Rect workArea(const Rect& window) const override;
};

}  // namespace tovlo

#pragma once
// The desktop through the Win32 API: the foreground window, its title and
// class (read as UTF-16 and handed out as UTF-8), its outer rectangle,
// bringing a window to the front and synthetic keys (SendInput). Window
// handles are HWNDs. Changes are reported from the system's window events
// where it raises them (win_window_events.h), not under Wine.
#include <memory>

#include "platform/desktop.h"

namespace tovlo {

class WinWindowEvents;

class WinDesktop : public Desktop {
public:
    WinDesktop();
    ~WinDesktop() override;
    WindowHandle foregroundWindow() const override;
    std::string windowTitle(WindowHandle window) const override;
    std::string windowClass(WindowHandle window) const override;
    Rect windowRect(WindowHandle window) const override;
    void setForegroundWindow(WindowHandle window) override;
    void sendKey(int virtualKey, bool down) override;
    ScreenSize screenSize() const override;
    Rect workArea(const Rect& window) const override;
    void watchChanges(std::function<void()> changed, std::vector<WindowHandle> ours) override;
    bool reportsChanges() const override;

private:
    std::unique_ptr<WinWindowEvents> events_;
};

}  // namespace tovlo

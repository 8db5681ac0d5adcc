#pragma once
// The hot key on Win32 (RegisterHotKey): the system posts WM_HOTKEY to a
// hidden window of ours, and the process that gets it may bring its own
// window to the front.
#include "platform/commands.h"
#include "platform/hot_key.h"

struct HWND__;

namespace tovlo {

class WinGlobalHotKey : public GlobalHotKey {
public:
    WinGlobalHotKey();
    ~WinGlobalHotKey() override;
    WinGlobalHotKey(const WinGlobalHotKey&) = delete;
    WinGlobalHotKey& operator=(const WinGlobalHotKey&) = delete;

    bool bind(const HotKey& key, std::function<void()> pressed) override;
    void unbind() override;

private:
    friend struct WinHotKeyWindow;

    HWND__* window_ = nullptr;
    // The registration's id; two alternate, so that a new combination is
    // registered before the old one is let go.
    int id_ = 0;
    HotKey bound_;
    std::function<void()> pressed_;
    EventSource events_{"the hot key"};
};

}  // namespace tovlo

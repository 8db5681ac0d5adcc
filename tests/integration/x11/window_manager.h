#pragma once
// An openbox window manager that a test starts on the display and stops again.
#include <sys/types.h>

namespace tovlo::test {

class WindowManager {
public:
    WindowManager() = default;
    ~WindowManager() { stop(); }
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    // Starts openbox and waits until it has announced itself on the root
    // window (_NET_SUPPORTING_WM_CHECK) and shows new windows; false when it
    // did not.
    bool start();
    // Ends it and waits until it is gone and has let go of the windows.
    void stop();
    bool running() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
};

// A live window manager's check window is on the root and names itself.
bool windowManagerAnnounced();

}  // namespace tovlo::test

#pragma once
// Change reports from the system's window events, for the tracking tick:
// the window in front changed (in any program), the window in front moved,
// was resized or retitled, one of our own windows was shown or hidden, or
// the work area changed. Events arrive while the thread retrieves messages,
// also inside calls that wait for another program, so they are only noted
// there: `changed` runs later from the thread's message loop, once however
// many events came meanwhile.
#include <windows.h>

#include <functional>
#include <vector>

#include "platform/forms.h"

namespace tovlo {

class WinWindowEvents {
public:
    // Sets the hooks; `ours` are the windows whose showing and hiding counts.
    WinWindowEvents(std::function<void()> changed, std::vector<WindowHandle> ours);
    ~WinWindowEvents();
    WinWindowEvents(const WinWindowEvents&) = delete;
    WinWindowEvents& operator=(const WinWindowEvents&) = delete;

    // Whether every hook is set, so that no change can go unreported.
    bool hooked() const;

    // Whether the system raises the events these hooks wait for. Wine (8.0,
    // tried) raises only the creation of windows: it activates, moves,
    // retitles, shows and hides them without a word to the hooks.
    static bool systemRaisesThem();

private:
    static void CALLBACK onEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread,
                                 DWORD time);
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Hooks the moves and titles of the window in front now, in its thread.
    void followFront();
    // An event that counts: one message on its way to the window is enough.
    void note();
    // That message: follows the new window in front, then tells.
    void deliver();

    std::function<void()> changed_;
    std::vector<WindowHandle> ours_;
    // Receives the notes and, being top level, the work area's changes.
    HWND window_ = nullptr;
    bool noted_ = false;
    HWINEVENTHOOK foregroundHook_ = nullptr;
    HWINEVENTHOOK oursHook_ = nullptr;
    // Moves and titles, of the thread of the window in front only: the moves
    // of other programs' windows and of the mouse pointer wake nobody.
    HWINEVENTHOOK frontHook_ = nullptr;
    HWND front_ = nullptr;
    DWORD frontThread_ = 0;
};

}  // namespace tovlo

#pragma once
// A channel for tests only, switched on by the environment variable
// TOVLO_AUTOMATION naming a file: every line appended to the file,
// "webName<TAB>text" in UTF-8, becomes a call of window.external.calls
// in the first browser view of the program, made exactly as its page would
// make it (so runs without a rendered page can drive the program). How each
// call went is printed on standard error: "[automation] webName text: ok"
// or ": error <message>".
#include <windows.h>

#include <memory>
#include <string>

namespace tovlo {

class WinAutomation {
public:
    // The channel, or null when TOVLO_AUTOMATION is not set.
    static std::unique_ptr<WinAutomation> fromEnvironment();
    explicit WinAutomation(std::string file);
    ~WinAutomation();
    WinAutomation(const WinAutomation&) = delete;
    WinAutomation& operator=(const WinAutomation&) = delete;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void poll();
    void call(const std::string& line);

    std::string file_;
    std::size_t read_ = 0;  // bytes of the file handled
    HWND window_ = nullptr;
};

}  // namespace tovlo

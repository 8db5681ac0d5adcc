#pragma once
// Starting other programs with CreateProcess, and opening web addresses in
// the user's browser through the shell.
#include <string>

#include "platform/event_loop.h"
#include "platform/processes.h"

namespace tovlo {

// The command line of a program started with one argument text: the quoted
// program path, then the text. Text with spaces, tabs or quotes is quoted
// the way the C runtime splits command lines, so it arrives as one argument,
// unchanged; any other text goes as it is.
std::wstring commandLineOf(const std::string& program, const std::string& argument);

class WinProcesses : public Processes {
public:
    // The loop runs while runAndWait waits.
    explicit WinProcesses(EventLoop& loop) : loop_(loop) {}
    bool startDetached(const std::string& program, const std::string& argument) override;
    bool runAndWait(const std::string& program, const std::string& argument) override;
    // Only web addresses (http and https): the shell would run a program
    // named by any other text.
    bool openUrl(const std::string& url) override;

private:
    EventLoop& loop_;
};

}  // namespace tovlo

#pragma once
// Starting other programs.
#include <string>

namespace tovlo {

class Processes {
public:
    virtual ~Processes() = default;
    // Starts the program with one argument text (the rest of its command
    // line), handed over whole as one argument, and does not wait for it.
    // False when it could not be started.
    virtual bool startDetached(const std::string& program, const std::string& argument) = 0;
    // Starts the program the same way and returns once it has ended, running
    // the event loop meanwhile (the program stays responsive). False when it
    // could not be started.
    virtual bool runAndWait(const std::string& program, const std::string& argument) = 0;
    // Opens the address in the user's web browser.
    virtual bool openUrl(const std::string& url) = 0;
};

}  // namespace tovlo

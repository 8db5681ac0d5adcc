#pragma once
// Starting other programs.
#include <string>

namespace tovlo {

class Processes {
public:
    virtual ~Processes() = default;
    // Starts the program with one argument text (the rest of its command line)
    // and does not wait for it. False when it could not be started.
    virtual bool startDetached(const std::string& program, const std::string& argument) = 0;
};

}  // namespace tovlo

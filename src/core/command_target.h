#pragma once
// Whatever receives page commands: the main window, a panel, the notice
// window. A command is its name, "||" and an argument; a failing command
// throws, and the error goes back to the calling page.
#include <string>

namespace tovlo {

class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    virtual void callVb(const std::string& Text) = 0;
};

}  // namespace tovlo

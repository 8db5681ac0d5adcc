#pragma once
// Modal message boxes with the program's own texts.
#include <string>

namespace tovlo {

enum class MessageIcon { None, Information, Critical };

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Blocks until the user answers (or returns at once in unattended runs).
    virtual void show(const std::string& text, const std::string& title = "Tovlo",
                      MessageIcon icon = MessageIcon::None) = 0;
};

}  // namespace tovlo

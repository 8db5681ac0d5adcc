#pragma once
// Modal message boxes. When the environment variable TOVLO_UNATTENDED is set
// to 1 no box is shown: the text is written to standard error as
// "[message] title: text" and the box counts as answered.
#include "platform/message_box.h"

namespace tovlo {

class QtMessageBox : public MessageBox {
public:
    void show(const std::string& text, const std::string& title, MessageIcon icon) override;
};

bool unattendedRun();

}  // namespace tovlo

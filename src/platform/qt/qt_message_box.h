#pragma once
// Modal message boxes on Qt (none in unattended runs: platform/unattended.h).
#include "platform/message_box.h"

namespace tovlo {

class QtMessageBox : public MessageBox {
public:
    void show(const std::string& text, const std::string& title, MessageIcon icon) override;
};

}  // namespace tovlo

#pragma once
// debugForm: the debug window, a list of "-" + text lines that follows its
// end. Lines are kept only while the window is shown.
#include <memory>
#include <string>

#include "platform/platform.h"

namespace tovlo {

class DebugForm {
public:
    explicit DebugForm(Platform& platform);
    void show();
    bool isVisible() const { return form_->isVisible(); }
    void log(const std::string& text);
    ListBox& List1() { return form_->listBox("List1"); }

private:
    void timer1Tick();
    std::unique_ptr<Form> form_;
    std::unique_ptr<Timer> timer1_;
};

}  // namespace tovlo

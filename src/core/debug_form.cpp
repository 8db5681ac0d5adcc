#include "debug_form.h"

namespace tovlo {

DebugForm::DebugForm(Platform& platform)
    : form_(platform.forms.create("debugForm")), timer1_(platform.loop.createTimer(20, true)) {
    form_->setTitle("debug");
    timer1_->onTick = [this] { timer1Tick(); };
}

void DebugForm::show() { form_->show(); }

void DebugForm::log(const std::string& text) {
    if (form_->isVisible()) List1().addItem("-" + text);
}

void DebugForm::timer1Tick() {
    ListBox& list = List1();
    if (list.count() > 0) list.setSelectedIndex(list.count() - 1);
}

}  // namespace tovlo

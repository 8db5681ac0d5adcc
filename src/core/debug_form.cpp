#include "debug_form.h"

namespace tovlo {

DebugForm::DebugForm(Platform& platform)
    : form_(platform.forms.create(FormDescription("debugForm").listBoxes({"List1"}))),
      timer1_(platform.loop.createTimer(20, false)) {
    form_->setTitle("debug");
    timer1_->onTick = [this] { timer1Tick(); };
}

// The list follows its end only while someone can see it, so the timer runs
// only while the window is shown: an idle program should not wake 50 times a
// second for a hidden list.
void DebugForm::show() {
    form_->show();
    timer1_->setEnabled(true);
}

void DebugForm::log(const std::string& text) {
    if (echo_) echo_(text);
    if (form_->isVisible()) List1().addItem("-" + text);
}

void DebugForm::timer1Tick() {
    if (!form_->isVisible()) {
        timer1_->setEnabled(false);
        return;
    }
    ListBox& list = List1();
    if (list.count() > 0) list.setSelectedIndex(list.count() - 1);
}

}  // namespace tovlo

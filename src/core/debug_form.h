#pragma once
// debugForm: the debug window, a list of "-" + text lines that follows its
// end. Lines are kept only while the window is shown. With an echo every
// line also goes there, shown or not (the program's log on standard error).
#include <exception>
#include <functional>
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
    void setEcho(std::function<void(const std::string&)> echo) { echo_ = std::move(echo); }
    ListBox& List1() { return form_->listBox("List1"); }

private:
    void timer1Tick();
    std::unique_ptr<Form> form_;
    std::unique_ptr<Timer> timer1_;
    std::function<void(const std::string&)> echo_;
};

// Runs an event handler; an error it raises ends the event and is logged,
// as nothing above a timer tick or a download event could take it.
template <class F>
void guardEvent(DebugForm& debug, const char* where, F&& handler) {
    try {
        std::forward<F>(handler)();
    } catch (const std::exception& e) {
        debug.log(std::string(where) + ": " + e.what());
    }
}

}  // namespace tovlo

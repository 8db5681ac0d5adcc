#pragma once
// A task panel hosted in one of the main window's panel slots. The main
// window and pages reach it late-bound, by property and method names, the
// way the panels declare them ("PPath", "PClassId", "PPage", "args", "dodo");
// pages reach it through its command table.
#include <memory>
#include <string>

#include "core/command_table.h"
#include "core/command_target.h"
#include "core/debug_form.h"
#include "core/errors.h"
#include "platform/forms.h"

namespace tovlo {

class Panel : public CommandTarget {
public:
    explicit Panel(std::unique_ptr<Form> form) : form_(std::move(form)) {}
    ~Panel() override = default;

    Form& form() { return *form_; }

    // Sets a property; a name the panel does not declare fails.
    virtual void setProperty(const std::string& name, const std::string& /*value*/) {
        throw TovloError(kErrNoSuchMember, "the panel has no property " + name);
    }
    // Calls a method without arguments; a name the panel does not declare fails.
    virtual void invoke(const std::string& method) {
        throw TovloError(kErrNoSuchMember, "the panel has no method " + method);
    }
    // Called as the panel leaves its slot: its timers stop and its reads and
    // uploads are cancelled at once, so nothing of it runs again before it
    // is freed.
    virtual void switchOff() {}
    // Page commands, through the panel's table (empty unless it sets one).
    void callVb(const std::string& Text) override { commands_.dispatch(Text); }

protected:
    // The panel's page commands; an unknown one is noted in the debug window.
    void setCommands(CommandTable commands, DebugForm& debug) {
        commands_ = std::move(commands);
        commands_.noteUnknownIn([&debug](const std::string& line) { debug.log(line); });
    }

private:
    std::unique_ptr<Form> form_;
    CommandTable commands_;
};

}  // namespace tovlo

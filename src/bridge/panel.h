#pragma once
// A task panel hosted in one of the main window's panel slots. The main
// window and pages reach it late-bound, by property and method names, the
// way the panels declare them ("PPath", "PClassId", "PPage", "args", "dodo").
#include <memory>
#include <string>

#include "core/command_target.h"
#include "core/errors.h"
#include "platform/forms.h"

namespace tovlo {

inline constexpr int kErrNoSuchMember = 438;

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
    // Page commands; a panel without a page command table refuses them.
    void callVb(const std::string& Text) override {
        throw TovloError(kErrNoSuchMember, "the panel takes no page commands: " + Text);
    }

private:
    std::unique_ptr<Form> form_;
};

}  // namespace tovlo

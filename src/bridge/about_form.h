#pragma once
// aboutForm: the product line, the version, the home page (clickable) and a
// contact line.
#include <memory>
#include <string>

#include "core/ini_cls.h"
#include "platform/platform.h"

namespace tovlo {

class AboutForm {
public:
    AboutForm(Platform& platform, IniCls& ini, const std::string& homePage);
    void show() { form_->show(); }
    Form& form() { return *form_; }

    static constexpr const char* kContactQq = "800012345";

private:
    std::unique_ptr<Form> form_;
};

}  // namespace tovlo

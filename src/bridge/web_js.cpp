#include "web_js.h"

#include "bridge/main_form.h"
#include "core/errors.h"

namespace tovlo {

namespace {

CommandTarget& required(CommandTarget* target, const std::string& webName) {
    if (!target) throw TovloError(kErrInvalidArgument, "nothing receives the commands of " + webName);
    return *target;
}

}  // namespace

void WebJs::calls(const std::string& webName, const std::string& Text) const {
    if (webName == "web") {
        required(formt, webName).callVb(Text);
    } else if (webName == "addWeb" || webName == "manageWeb") {
        required(main_->control(MainForm::kSlot), webName).callVb(Text);
    } else if (webName == "plus") {
        required(main_->control(MainForm::kSlotPlus), webName).callVb(Text);
    } else if (webName == "qqWeb") {
        required(formtQQ, webName).callVb(Text);
    }
}

void WebJs::attachTo(BrowserView& view) const {
    WebJs self = *this;
    view.setExternalCalls([self](const std::string& webName, const std::string& text) { self.calls(webName, text); });
}

}  // namespace tovlo

#include "web_js.h"

#include "bridge/main_form.h"
#include "core/errors.h"
#include "core/user_message.h"

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

// A failing command rejects the page's call with a short Chinese message
// (the pages show it to the user); what went wrong goes to the debug log.
void WebJs::attachTo(BrowserView& view) const {
    WebJs self = *this;
    view.setExternalCalls([self](const std::string& webName, const std::string& text) {
        try {
            self.calls(webName, text);
        } catch (const std::exception& e) {
            self.main_->debugLog("failed: " + webName + " " + text + ": " + e.what());
            const auto* numbered = dynamic_cast<const TovloError*>(&e);
            throw TovloError(numbered ? numbered->number() : 0, userMessage(e));
        }
    });
}

}  // namespace tovlo

#include "web_js.h"

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
        required(formt_, webName).callVb(Text);
    } else if (webName == "addWeb" || webName == "manageWeb") {
        required(slots_->control(PanelHost::kSlot), webName).callVb(Text);
    } else if (webName == "plus") {
        required(slots_->control(PanelHost::kSlotPlus), webName).callVb(Text);
    } else if (webName == "qqWeb") {
        required(formtQQ_, webName).callVb(Text);
    }
}

void WebJs::attachTo(BrowserView& view) const {
    WebJs self = *this;
    view.setExternalCalls([self](const std::string& webName, const std::string& text) {
        try {
            self.calls(webName, text);
        } catch (const std::exception& e) {
            self.debug_->log("failed: " + webName + " " + text + ": " + e.what());
            const auto* numbered = dynamic_cast<const TovloError*>(&e);
            throw TovloError(numbered ? numbered->number() : 0, userMessage(e));
        }
    });
}

}  // namespace tovlo

#pragma once
// WebJs: the external object of a page. calls(webName, Text) routes one
// command string by the page's web name:
//   "web"       -> the main window's commands, for the views that have them
//   "addWeb"    -> the panel in the slot "tempUserControl"
//   "manageWeb" -> the panel in the slot "tempUserControl"
//   "plus"      -> the panel in the slot "tempUserControl_plus"
//   "qqWeb"     -> the notice window that handed the object out
// Any other name reaches nobody. A receiver that is missing (not set, or no
// panel loaded under that name) fails the call back to the page.
#include <string>

#include "bridge/panel_slots.h"
#include "core/command_target.h"
#include "core/debug_form.h"
#include "platform/browser_view.h"

namespace tovlo {

class WebJs {
public:
    WebJs(const PanelSlots& slots, DebugForm& debug, CommandTarget* formt, CommandTarget* formtQQ)
        : slots_(&slots), debug_(&debug), formt_(formt), formtQQ_(formtQQ) {}

    void calls(const std::string& webName, const std::string& Text) const;

    // Gives every page of the view this object as its window.external. A
    // failing command rejects the page's call with a short Chinese message;
    // what went wrong goes to the debug log.
    void attachTo(BrowserView& view) const;

private:
    const PanelSlots* slots_;
    DebugForm* debug_;
    CommandTarget* formt_;
    CommandTarget* formtQQ_;
};

}  // namespace tovlo

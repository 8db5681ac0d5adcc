#pragma once
// WebJs: the external object of a page. calls(webName, Text) routes one
// command string by the page's web name:
//   "web"       -> the main window that handed the object out (formt)
//   "addWeb"    -> the panel in the slot "tempUserControl"
//   "manageWeb" -> the panel in the slot "tempUserControl"
//   "plus"      -> the panel in the slot "tempUserControl_plus"
//   "qqWeb"     -> the notice window that handed the object out (formtQQ)
// Any other name reaches nobody. A receiver that is missing (not set, or no
// panel loaded under that name) fails the call back to the page.
#include <string>

#include "core/command_target.h"
#include "platform/browser_view.h"

namespace tovlo {

class MainForm;

class WebJs {
public:
    WebJs(MainForm& main, MainForm* formt, CommandTarget* formtQQ)
        : main_(&main), formt(formt), formtQQ(formtQQ) {}

    void calls(const std::string& webName, const std::string& Text) const;

    // Gives every page of the view this object as its window.external.
    void attachTo(BrowserView& view) const;

private:
    MainForm* main_;

public:
    MainForm* formt;
    CommandTarget* formtQQ;
};

}  // namespace tovlo

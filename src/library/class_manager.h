#pragma once
// ClassManager: shows the service's class manager page and keeps the local
// copies of the account's classes consistent with what the page changes on
// the server, by deleting them so that they are fetched again. It acts only
// inside the logged-in account's folder; without an account it deletes
// nothing.
#include <memory>
#include <string>

#include "bridge/panel.h"
#include "bridge/panel_host.h"
#include "library/library_deps.h"

namespace tovlo {

class ClassManager : public Panel {
public:
    ClassManager(PanelHost& host, std::unique_ptr<Form> form, const LibraryDeps& deps);
    void switchOff() override { timer1_->setEnabled(false); }
    // The panel's controls.
    static FormDescription formDescription();

    // The page's commands ("manageWeb"): getName, deleteClass, addClass,
    // changeClass, addFace, deleteFace, closeManage. An "addFace" or
    // "deleteFace" argument without "--" or with a class id that is no
    // folder name is refused before anything changes.

    BrowserView& WebBrowser1() { return form().browserView("WebBrowser1"); }
    Timer& Timer1() { return *timer1_; }

private:
    void deleteClassLists();
    std::string removeClassFolder(const std::string& arg);
    void closeManage();

    PanelHost& host_;
    LibraryDeps deps_;
    std::unique_ptr<Timer> timer1_;
};

}  // namespace tovlo

#pragma once
// PlusControl: the plug-in panel. It shows the open plug-in's page, answers
// its questions, and runs the plug-in's program on the page's request; the
// program answers through the file "param" in its folder, which becomes
// calls of the page's functions once the program has ended.
#include <memory>
#include <string>

#include "bridge/panel.h"
#include "bridge/panel_host.h"
#include "plugins/plugin_panels.h"

namespace tovlo {

class PlusControl : public Panel {
public:
    PlusControl(PanelHost& host, std::unique_ptr<Form> form, const PluginDeps& deps);
    void switchOff() override { timer1_->setEnabled(false); }
    // The panel's controls.
    static FormDescription formDescription();

    // Commands of the plug-in page (bridge name "plus"): plusClose,
    // getInfor, getSoftInfor, doExe, and inputFace and inputFaceAndHistory
    // to paste what the page put on the clipboard into the chat window.

    BrowserView& WebBrowser1() { return form().browserView("WebBrowser1"); }

private:
    void getInfor();
    void getSoftInfor(const std::string& key);
    void doExe(const std::string& argument);
    void afterUnloadPlusExe(const std::string& answer);
    std::string folder() const;

    PanelHost& host_;
    PluginDeps deps_;
    std::unique_ptr<Timer> timer1_;
    bool running_ = false;
};

}  // namespace tovlo

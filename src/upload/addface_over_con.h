#pragma once
// AddfaceOverCon: the upload result panel. It shows the outcome for a few
// seconds and, after a success, drops the class's local pages so that the
// class is fetched again (and shown again when it is the one on screen).
#include <memory>
#include <string>

#include "bridge/panel.h"
#include "bridge/panel_host.h"
#include "upload/upload_deps.h"

namespace tovlo {

class AddfaceOverCon : public Panel {
public:
    AddfaceOverCon(PanelHost& host, std::unique_ptr<Form> form, const UploadDeps& deps);
    void switchOff() override { timer1_->setEnabled(false); }
    // The panel's controls.
    static FormDescription formDescription();

    // "args": the result code, "-" followed by the service's result value.
    void setProperty(const std::string& name, const std::string& value) override;
    // "dodo": shows the result for args and carries out its consequences.
    void invoke(const std::string& method) override;

    const std::string& args() const { return args_; }
    Label& Label1() { return form().label("Label1"); }
    // The countdown and its text read as one line.
    Form& countdown() { return form().group("countdown", "", Flow::Row); }
    Label& Label3() { return countdown().label("Label3"); }
    Button& Command1() { return form().button("Command1"); }

    // The message's box: room for a few lines, the message centred in it.
    static constexpr int kMessageHeight = 96;

private:
    void dodo();
    void centreMessage();
    void refreshClass(const std::string& classId);
    void timer1Tick();

    PanelHost& host_;
    UploadDeps deps_;
    std::unique_ptr<Timer> timer1_;
    std::string args_;
};

}  // namespace tovlo

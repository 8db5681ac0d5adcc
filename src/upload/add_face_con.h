#pragma once
// AddFaceCon: the add-face panel. Its page (the user's copy of
// templates/addFace.html) shows the picture last copied in a QQ chat and the
// account's classes; the panel takes the picture's path from QQ's clipboard
// data and uploads it into the class the page names.
#include <memory>
#include <string>

#include "bridge/panel.h"
#include "bridge/panel_host.h"
#include "upload/face_upload.h"
#include "upload/upload_deps.h"

namespace tovlo {

class AddFaceCon : public Panel {
public:
    AddFaceCon(PanelHost& host, std::unique_ptr<Form> form, const UploadDeps& deps);
    void switchOff() override {
        timer1_->setEnabled(false);
        upload_.cancel();
    }
    // The panel's controls.
    static FormDescription formDescription();

    // Commands of the page (bridge name "addWeb"): setFilePath, loadOver,
    // addOver, manage, upload, toLogin, back; each is written to the debug log.
    void callVb(const std::string& Text) override;

    BrowserView& WebBrowser2() { return form().browserView("WebBrowser2"); }
    const std::string& picturePath() const { return picturePath_; }

private:
    void panelStart();
    void setFilePath();
    void pickUp();
    void upload(const std::string& classId);
    void addOver(const std::string& code);

    PanelHost& host_;
    UploadDeps deps_;
    std::unique_ptr<Timer> timer1_;
    FaceUpload upload_;
    std::string picturePath_;
    bool pathTyped_ = false;
};

}  // namespace tovlo

#pragma once
// PublicFaceProcess: turns a downloaded pack folder into its thumbnail
// sheet "small.bmp" and its page "main.html" (from the template
// faceMain.html), then switches the main page to the pack and removes itself.
#include <memory>
#include <string>

#include "bridge/panel.h"
#include "bridge/panel_host.h"
#include "library/library_deps.h"

namespace tovlo {

class PublicFaceProcess : public Panel {
public:
    PublicFaceProcess(PanelHost& host, std::unique_ptr<Form> form, const LibraryDeps& deps);
    void switchOff() override {
        timer1_->setEnabled(false);
        timer2_->setEnabled(false);
    }
    // The panel's controls.
    static FormDescription formDescription();

    // "PPath": the pack's folder name; processing starts 500 ms later.
    void setProperty(const std::string& name, const std::string& value) override;
    void setPPath(const std::string& pack);
    // "" (the default) switches the page and leaves; "deleteFace" only leaves;
    // anything else keeps the panel.
    void setAction(const std::string& action) { action_ = action; }
    // The whole file as text; error 53 when it is missing.
    std::string FileText(const std::string& path) const;

    Timer& Timer1() { return *timer1_; }
    Timer& Timer2() { return *timer2_; }
    int faceCount() const { return faceCount_; }

private:
    void timer2Tick();
    void buildSheet();
    void timer1Tick();
    std::string packFolder() const;

    PanelHost& host_;
    LibraryDeps deps_;
    std::unique_ptr<Timer> timer2_;
    std::unique_ptr<Timer> timer1_;
    std::string PPath_;
    int faceCount_ = 0;
    std::string action_;
};

}  // namespace tovlo

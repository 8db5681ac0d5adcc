#pragma once
// copyFace: copies one face class from the default face folder into the face
// folder the user moved to, with a progress bar, then shows the class as if
// it had been there all along. The copy runs in steps, so that the bar moves
// and the program answers meanwhile.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/settings_deps.h"

namespace tovlo {

class CopyFace {
public:
    static constexpr int kStartDelayMs = 250;
    static constexpr std::size_t kFilesPerStep = 25;
    static constexpr const char* kTitle = "复制现有表情";

    // unload is called when the window has closed; the owner destroys it
    // after the event.
    CopyFace(Platform& platform, PublicParm& parm, FaceCopyHost host, std::function<void(CopyFace&)> unload);

    void setFaceClass(const std::string& faceClass) { faceClass_ = faceClass; }
    const std::string& faceClass() const { return faceClass_; }
    // Shows the window; the copy starts 250 ms later.
    void show();

    Form& form() { return *form_; }
    Label& Label1() { return form_->label("Label1"); }
    ProgressBar& ProgressBar1() { return form_->progressBar("ProgressBar1"); }
    Timer& Timer1() { return *timer1_; }

private:
    void start();
    void step();
    void finish();
    void fail(const std::string& message);
    void close();

    Platform& platform_;
    PublicParm& parm_;
    FaceCopyHost host_;
    std::function<void(CopyFace&)> unload_;
    std::unique_ptr<Form> form_;
    std::unique_ptr<Timer> timer1_, stepTimer_;
    std::string faceClass_, source_, target_;
    std::vector<std::string> names_;  // the files to copy, in copying order
    std::size_t copied_ = 0;
    bool closed_ = false;
};

}  // namespace tovlo

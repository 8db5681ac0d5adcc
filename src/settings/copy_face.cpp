#include "copy_face.h"

#include <algorithm>
#include <cstdint>

#include "core/files.h"
#include "core/paths.h"
#include "core/text.h"

namespace tovlo {

CopyFace::CopyFace(Platform& platform, PublicParm& parm, FaceCopyHost host, std::function<void(CopyFace&)> unload)
    : platform_(platform),
      parm_(parm),
      host_(std::move(host)),
      unload_(std::move(unload)),
      form_(platform.forms.create(
          FormDescription("copyFace", {.fixedSize = true}).labels({"Label1"}).progressBars({"ProgressBar1"}))),
      timer1_(platform.loop.createTimer(kStartDelayMs, false)),
      stepTimer_(platform.loop.createTimer(1, false)) {
    form_->setTitle(kTitle);
    Label1().setText("复制进度.....");
    ProgressBar1().setValue(0);
    form_->setSize(320, 90);
    timer1_->onTick = [this] { start(); };
    stepTimer_->onTick = [this] { step(); };
    // Closed by the user halfway: what was copied stays, the class is not
    // shown, and it is copied again (whole) when next opened.
    form_->onClosed = [this] {
        if (!closed_) close();
    };
}

void CopyFace::show() {
    form_->show();
    timer1_->setEnabled(true);
}

void CopyFace::start() {
    timer1_->setEnabled(false);
    if (!folderExists(parm_.facePath)) {
        fail("表情存放目录“" + parm_.facePath + "”不存在，无法复制表情。请在“设置”里重新选择表情存放路径。");
        return;
    }
    target_ = joinPath(parm_.facePath, {faceClass_});
    if (!createFolder(target_)) {
        fail("无法在表情存放目录里建立文件夹“" + target_ + "”，表情没有复制。");
        return;
    }
    source_ = joinPath(parm_.app, {"w", faceClass_});
    names_ = plainFileNames(source_);
    // The version marker says the class is complete: it goes last, so that
    // a copy that stops halfway is made again next time.
    std::stable_partition(names_.begin(), names_.end(),
                          [](const std::string& name) { return !startsWith(name, "ver-"); });
    copied_ = 0;
    step();
}

void CopyFace::step() {
    stepTimer_->setEnabled(false);
    if (closed_) return;
    for (std::size_t n = 0; n < kFilesPerStep && copied_ < names_.size(); ++n) {
        const std::string& name = names_[copied_];
        if (!copyFile(joinPath(source_, {name}), joinPath(target_, {name}))) {
            fail("复制表情“" + name + "”到“" + target_ + "”失败，表情没有复制完。");
            return;
        }
        ++copied_;
        ProgressBar1().setValue(
            static_cast<int>(static_cast<std::int64_t>(copied_) * 100 / static_cast<std::int64_t>(names_.size())));
    }
    if (copied_ < names_.size()) {
        stepTimer_->setEnabled(true);
        return;
    }
    finish();
}

void CopyFace::finish() {
    try {
        host_.showClass(faceClass_);
    } catch (const std::exception&) {
        // The faces are in place; a page that cannot switch shows them when
        // the class is next chosen.
    }
    close();
    host_.showMainWindow();
}

void CopyFace::fail(const std::string& message) {
    platform_.messages.show(message, kTitle, MessageIcon::Critical);
    close();
}

void CopyFace::close() {
    closed_ = true;
    timer1_->setEnabled(false);
    stepTimer_->setEnabled(false);
    form_->hide();
    parm_.keepMainVisible = false;
    unload_(*this);
}

}  // namespace tovlo

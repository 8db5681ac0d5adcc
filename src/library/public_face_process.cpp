#include "public_face_process.h"

#include "core/errors.h"
#include "core/files.h"
#include "core/functions.h"
#include "core/paths.h"
#include "library/face_sheet.h"
#include "library/library_helpers.h"

namespace tovlo {

FormDescription PublicFaceProcess::formDescription() {
    return FormDescription("PublicFaceProcess")
        .flow(Flow::Centred)
        .labels({"Label1"})
        .listBoxes({"List1"})
        .pictures({"Picture2"})
        .progressBars({"ProgressBar1"});
}

PublicFaceProcess::PublicFaceProcess(PanelHost& host, std::unique_ptr<Form> form, const LibraryDeps& deps)
    : Panel(std::move(form)),
      host_(host),
      deps_(deps),
      timer2_(deps.platform.loop.createTimer(500, true)),
      timer1_(deps.platform.loop.createTimer(100, false)) {
    this->form().label("Label1").setText("表情处理中.....");
    timer2_->onTick = [this] { guardEvent(deps_.debug, "PublicFaceProcess.Timer2", [this] { timer2Tick(); }); };
    timer1_->onTick = [this] { guardEvent(deps_.debug, "PublicFaceProcess.Timer1", [this] { timer1Tick(); }); };
}

void PublicFaceProcess::setProperty(const std::string& name, const std::string& value) {
    if (name == "PPath")
        setPPath(value);
    else
        Panel::setProperty(name, value);
}

void PublicFaceProcess::setPPath(const std::string& pack) {
    if (!isSafeName(pack)) throw TovloError(kErrInvalidArgument, "not a usable pack name: " + pack);
    PPath_ = pack;
    faceCount_ = 0;
    // What a program killed while it wrote the sheet or the page left behind.
    removePartFiles(packFolder());
    timer2_->setEnabled(true);
}

std::string PublicFaceProcess::FileText(const std::string& path) const {
    return readTextFile(deps_.platform.codec, path);
}

std::string PublicFaceProcess::packFolder() const { return joinPath(deps_.parm.facePath, {PPath_}); }

void PublicFaceProcess::timer2Tick() {
    timer2_->setEnabled(false);
    // Loaded without a pack: the face folder itself is no pack to process.
    if (PPath_.empty()) return;
    ListBox& list = form().listBox("List1");
    for (const std::string& name : packImages(packFolder())) {
        list.addItem(name);
        ++faceCount_;
    }
    buildSheet();
}

void PublicFaceProcess::buildSheet() {
    ListBox& list = form().listBox("List1");
    std::vector<std::string> names;
    for (int i = 0; i < list.count(); ++i) names.push_back(list.item(i));
    const std::string sheetPath = joinPath(packFolder(), {"small.bmp"});
    ProgressBar& bar = form().progressBar("ProgressBar1");
    faceCount_ = sheetRows(faceCount_);
    try {
        buildFaceSheet(deps_.images, packFolder(), names, sheetPath, [&](std::size_t i) {
            bar.setValue(percentOf(static_cast<double>(i + 1), static_cast<double>(names.size())));
        });
        form().label("Label1").setText("处理完毕！");
        form().picture("Picture2").loadImageFile(sheetPath);
        std::string page = FileText(joinPath(deps_.parm.app, {"templates", "faceMain.html"}));
        page = fillPlaceholders(
            page, {{"{{pathName}}", PPath_}, {"{{cellDivHeight}}", std::to_string(faceCount_ * kCellSize)}});
        writeTextFile(deps_.platform.codec, joinPath(packFolder(), {"main.html"}), page);
    } catch (const std::exception& e) {
        // The panel still finishes: the page shows what could be made.
        deps_.debug.log(std::string("PublicFaceProcess: ") + e.what());
    }
    timer1_->setEnabled(true);
}

void PublicFaceProcess::timer1Tick() {
    timer1_->setEnabled(false);
    if (action_.empty()) {
        // A page that cannot switch does not keep the panel open.
        guardEvent(deps_.debug, "PublicFaceProcess.changeClass", [this] { host_.showClass(PPath_); });
        host_.exitProcessFace();
    } else if (action_ == "deleteFace") {
        host_.exitProcessFace();
    }
}

}  // namespace tovlo

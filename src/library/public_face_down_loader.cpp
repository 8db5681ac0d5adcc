#include "public_face_down_loader.h"

#include <algorithm>
#include <filesystem>

#include "core/errors.h"
#include "core/files.h"
#include "core/functions.h"
#include "core/paths.h"
#include "core/text.h"
#include "core/urls.h"
#include "library/library_helpers.h"
#include "library/pack_list.h"

namespace tovlo {

namespace {

const char* const kChannelBars[3] = {"ProgressBar2", "ProgressBar3", "ProgressBar4"};

// Names for one debug line: a list of thousands is cut after the first ones.
std::string namesForLog(const std::vector<std::string>& names) {
    constexpr std::size_t kShown = 20;
    if (names.size() <= kShown) return join(names, "/");
    return join({names.begin(), names.begin() + kShown}, "/") + " ... (" + std::to_string(names.size()) + ")";
}

}  // namespace

FormDescription PublicFaceDownLoader::formDescription() {
    return FormDescription("PublicFaceDownLoader")
        .flow(Flow::Centred)
        .groups({"progress"})
        .labels({"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"})
        .progressBars({"ProgressBar1", "ProgressBar2", "ProgressBar3", "ProgressBar4"})
        .buttons({"Command1"});
}

PublicFaceDownLoader::PublicFaceDownLoader(PanelHost& host, std::unique_ptr<Form> form, const LibraryDeps& deps)
    : Panel(std::move(form)),
      host_(host),
      deps_(deps),
      timer1_(deps.platform.loop.createTimer(200, false)),
      deadline_(deps.platform.loop.createTimer(deps.batchTotalMs, false)),
      downloader1_(deps.reads.create(), deps.platform.messages) {
    // Controls are made in the order they stand: each bar beside its label.
    Form& f = this->form();
    f.label("Label1").setText("第一次打开表情，或者表情库有所更新");
    f.label("Label4").setText("需先下载，请耐心等待.");
    progress().label("Label2").setText("总共下载进度：");
    progress().progressBar("ProgressBar1");
    const char* const channelLabels[3] = {"Label3", "Label5", "Label6"};
    for (int c = 0; c < 3; ++c) {
        progress().label(channelLabels[c]).setText("线程" + std::to_string(c + 1) + "：");
        progress().progressBar(kChannelBars[c]);
    }
    Command1().setText("取消");
    Command1().onClick = [this] {
        guardEvent(deps_.debug, "PublicFaceDownLoader.Command1", [this] { cancelClick(); });
    };
    timer1_->onTick = [this] { guardEvent(deps_.debug, "PublicFaceDownLoader.Timer1", [this] { timer1Tick(); }); };
    deadline_->onTick = [this] { guardEvent(deps_.debug, "PublicFaceDownLoader.deadline", [this] { timeUp(); }); };
    downloader1_.DownloadProgress = [this](std::int64_t cur, std::int64_t max, const std::string& saveFile) {
        int c = channelOf(saveFile);
        progress().progressBar(kChannelBars[c]).setValue(percentOf(static_cast<double>(cur), static_cast<double>(max)));
    };
    downloader1_.DownloadComplete = [this](std::int64_t, const std::string& saveFile) {
        guardEvent(deps_.debug, "PublicFaceDownLoader.DownloadComplete", [&] {
            if (isListStage_)
                listArrived();
            else
                fileEnded(saveFile, true);
        });
    };
    // A failed file ends nothing by itself: its channel goes on with the next
    // name, and the pack is marked incomplete. A failed list ends the panel.
    downloader1_.DownloadError = [this](const std::string& saveFile) {
        guardEvent(deps_.debug, "PublicFaceDownLoader.DownloadError", [&] {
            deps_.debug.log("下载失败：" + saveFile);
            if (isListStage_) {
                listFailed();
                return;
            }
            anyFailed_ = true;
            fileEnded(saveFile, false);
        });
    };
}

void PublicFaceDownLoader::setProperty(const std::string& name, const std::string& value) {
    if (name == "PPath")
        setPPath(value);
    else
        Panel::setProperty(name, value);
}

void PublicFaceDownLoader::setPPath(const std::string& pack) {
    if (!isSafeName(pack)) throw TovloError(kErrInvalidArgument, "not a usable pack name: " + pack);
    PPath_ = pack;
    createFolder(packFolder());
    removePartFiles(packFolder());
    channels_ = {"", "", ""};
    nextIndex_ = 0;
    isListStage_ = true;
    finished_ = false;
    anyFailed_ = false;
    version_.clear();
    arrived_.clear();
    failed_.clear();
    refused_.clear();
    deadline_->setEnabled(true);
    for (const char* bar : kChannelBars) progress().progressBar(bar).setValue(0);
    Command1().setEnabled(true);
    timer1_->setEnabled(true);
}

std::string PublicFaceDownLoader::FileText(const std::string& path) const {
    return readTextFile(deps_.platform.codec, path);
}

std::string PublicFaceDownLoader::packFolder() const { return joinPath(deps_.parm.facePath, {PPath_}); }
std::string PublicFaceDownLoader::listFile() const { return joinPath(deps_.parm.app, {"temp", "imgs.txt"}); }
std::string PublicFaceDownLoader::saveFileOf(const std::string& name) const { return joinPath(packFolder(), {name}); }

std::string PublicFaceDownLoader::channelLine() const {
    return channels_[0] + "--" + channels_[1] + "--" + channels_[2];
}

void PublicFaceDownLoader::timer1Tick() {
    timer1_->setEnabled(false);
    std::error_code ec;
    std::filesystem::remove(fsPath(listFile()), ec);
    const std::string url =
        deps_.parm.faceHttpPath + serviceEncode(PPath_) + "/imgs.txt?t=" + timeStamp(deps_.platform.loop.nowMs());
    if (!downloader1_.BeginDownload(url, listFile(), limits::kTextBytes)) listFailed();
}

void PublicFaceDownLoader::listArrived() {
    // The list shares the batch with the files: one entry is the list's.
    PackList list = parsePackList(FileText(listFile()), Downloader::kMaxBatch - 1);
    version_ = list.version;
    refused_ = std::move(list.refused);
    // Files that arrived in an earlier, incomplete download of this very
    // version are not fetched again.
    arrived_ = partialArrived(packFolder(), version_);
    packList_.clear();
    for (std::string& name : list.names)
        if (!arrived_.count(name)) packList_.push_back(std::move(name));
    isListStage_ = false;
    nextIndex_ = 0;
    // A channel that gets nothing at the start is done at once, so packs of
    // fewer than three names complete too.
    for (int c = 0; c < 3; ++c) startNext(c);
    checkChannels();
}

std::string PublicFaceDownLoader::nextFile() {
    if (nextIndex_ >= packList_.size()) return "";
    return packList_[nextIndex_++];
}

// The names of the list are single file names, each once (parsePackList).
void PublicFaceDownLoader::startNext(int channel) {
    for (;;) {
        const std::string name = nextFile();
        if (name.empty()) {
            channels_[channel] = kChannelDone;
            return;
        }
        channels_[channel] = name;
        deps_.debug.log("开始下载：" + name);
        if (downloader1_.BeginDownload(fileUrl(name), saveFileOf(name), limits::kFaceFileBytes)) return;
        anyFailed_ = true;
        failed_.push_back(name);
    }
}

std::string PublicFaceDownLoader::fileUrl(const std::string& name) const {
    return deps_.parm.faceHttpPath + serviceEncode(PPath_) + "/" + serviceEncode(name);
}

int PublicFaceDownLoader::channelOf(const std::string& saveFile) {
    deps_.debug.log("下载完的这个：");
    deps_.debug.log(saveFile);
    deps_.debug.log(channelLine());
    // A channel matches the file it fetches; an empty slot (before the list
    // has arrived) matches everything; the last match wins.
    int result = 0;
    for (int c = 0; c < 3; ++c)
        if (channels_[c].empty() || (channels_[c] != kChannelDone && saveFileOf(channels_[c]) == saveFile)) result = c;
    return result;
}

void PublicFaceDownLoader::fileEnded(const std::string& saveFile, bool arrived) {
    if (finished_) return;
    progress()
        .progressBar("ProgressBar1")
        .setValue(percentOf(static_cast<double>(nextIndex_), static_cast<double>(packList_.size())));
    const int c = channelOf(saveFile);
    const std::string name = pathText(fsPath(saveFile).filename());
    if (arrived) {
        deps_.debug.log(saveFile + "===成功" + std::to_string(c));
        arrived_.insert(name);
    } else {
        failed_.push_back(name);
    }
    startNext(c);
    if (channels_[c] == kChannelDone) checkChannels();
}

void PublicFaceDownLoader::checkChannels() {
    deps_.debug.log("管道：" + channelLine());
    for (const std::string& slot : channels_)
        if (slot != kChannelDone) return;
    if (finished_) return;
    finish();
    deps_.debug.log("完成：" + PPath_);
    // The pack opens with what arrived; the user learns that it is not all.
    const auto missing = std::count_if(failed_.begin(), failed_.end(),
                                       [](const std::string& name) { return !startsWith(name, "ver-"); });
    if (missing > 0)
        deps_.platform.messages.show("有" + std::to_string(missing) +
                                     "个表情没有下载成功。再次打开这个表情包会下载其余的表情。");
    host_.exitDownPublicFace(PPath_);
}

void PublicFaceDownLoader::listFailed() {
    finished_ = true;
    deadline_->setEnabled(false);
    Command1().setEnabled(false);
    deps_.platform.messages.show("没有取到这个表情包的文件列表，请稍后再打开它。");
    host_.exitDownPublicFace("");
}

void PublicFaceDownLoader::finish() {
    finished_ = true;
    deadline_->setEnabled(false);
    Command1().setEnabled(false);
    // Listed once for the whole pack, however many there are.
    if (!refused_.empty()) deps_.debug.log("跳过：" + namesForLog(refused_));
    if (!failed_.empty()) deps_.debug.log("没有下载成功：" + namesForLog(failed_));
    if (!anyFailed_) {
        forgetPartial(packFolder());
        return;
    }
    // A pack with a file missing must not look complete: without its version
    // marker the next opening downloads it again, the missing files only.
    removeVersionMarkers();
    if (!writePartial(packFolder(), version_, arrived_))
        deps_.debug.log("cannot keep the record of what arrived in " + packFolder());
}

void PublicFaceDownLoader::timeUp() {
    if (finished_) return;
    deps_.debug.log("下载超时：" + PPath_);
    if (isListStage_) {
        downloader1_.CancelAllDownload();
        listFailed();
        return;
    }
    anyFailed_ = true;
    for (std::string& channel : channels_) {
        if (!channel.empty() && channel != kChannelDone) failed_.push_back(channel);
        channel = kChannelDone;
    }
    while (nextIndex_ < packList_.size()) failed_.push_back(packList_[nextIndex_++]);
    downloader1_.CancelAllDownload();
    checkChannels();
}

void PublicFaceDownLoader::removeVersionMarkers() {
    std::error_code ec;
    if (!std::filesystem::is_directory(fsPath(packFolder()), ec)) return;
    std::vector<std::filesystem::path> markers;
    for (const auto& entry : std::filesystem::directory_iterator(fsPath(packFolder()), ec))
        if (contains(pathText(entry.path().filename()), "ver-")) markers.push_back(entry.path());
    // A handful of small files: no events are run between them, so no click
    // can reach this panel while it is half way through leaving.
    for (const auto& marker : markers) std::filesystem::remove(marker, ec);
}

void PublicFaceDownLoader::cancelClick() {
    // A second click (or one after the pack completed) finds the panel leaving.
    if (finished_) return;
    finished_ = true;
    deadline_->setEnabled(false);
    Command1().setEnabled(false);
    downloader1_.CancelAllDownload();
    // Cancelled: the next opening downloads the whole pack again.
    removeVersionMarkers();
    forgetPartial(packFolder());
    host_.exitDownPublicFace("");
}

}  // namespace tovlo

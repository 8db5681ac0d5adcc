#include "updater_form.h"

#include <algorithm>
#include <optional>

#include "core/errors.h"
#include "core/files.h"
#include "core/functions.h"
#include "core/paths.h"
#include "core/service.h"
#include "core/text.h"
#include "core/urls.h"
#include "update/version_list.h"

namespace tovlo {

namespace {

constexpr const char* kTitle = "Tovlo更新程序";

std::string folderOf(const std::string& path) {
    const std::size_t sep = path.rfind(kPathSep);
    return sep == std::string::npos ? std::string() : path.substr(0, sep);
}

bool isProgram(const std::string& path) {
    return path.size() >= 4 && equalsNoCase(std::string_view(path).substr(path.size() - 4), ".exe");
}

}  // namespace

UpdaterForm::UpdaterForm(UpdaterDeps deps, std::string app, std::string serviceHost, std::string commandLine)
    : deps_(deps),
      app_(std::move(app)),
      serviceHost_(std::move(serviceHost)),
      fromVersion_(std::move(commandLine)),
      form_(deps.forms.create(FormDescription("Form1", {.fixedSize = true})
                                  .labels({"Label1", "Label2", "Label3", "Label4"})
                                  .listBoxes({"List1"})
                                  .progressBars({"ProgressBar1", "ProgressBar2"}))),
      timer1_(deps.loop.createTimer(kStartDelayMs, true)),
      timer2_(deps.loop.createTimer(kFollowListMs, true)),
      deadline_(deps.loop.createTimer(deps.totalMs, false)),
      downloader_(deps.reads.create(), deps.messages) {
    form_->setTitle("Tovlo更新程序..");
    setStatus("升级程序正在初始化....");
    form_->label("Label2").setText("总共文件进度");
    ProgressBar1().setValue(0);
    form_->label("Label3").setText("当前文件进度");
    ProgressBar2().setValue(0);
    form_->label("Label4").setText("详细内容：");
    List1();
    form_->setSize(420, 360);
    // Closed by the user (after a failure it stays open for them to read).
    form_->onClosed = [this] { end(); };

    timer1_->onTick = [this] { run(); };
    timer2_->onTick = [this] {
        if (List1().count() > 0) List1().setSelectedIndex(List1().count() - 1);
    };
    downloader_.DownloadProgress = [this](std::int64_t cur, std::int64_t max, const std::string&) {
        if (max != 0) ProgressBar2().setValue(static_cast<int>(std::clamp<std::int64_t>(cur * 100 / max, 0, 100)));
    };
    downloader_.DownloadComplete = [this](std::int64_t, const std::string& saveFile) { fileDone(saveFile); };
    downloader_.DownloadError = [this](const std::string& saveFile) { fileFailed(saveFile); };
    downloader_.DownloadAllComplete = [this](const std::vector<std::string>&) { batchEnded(); };
    // A service that trickles bytes: what has not arrived by then has failed.
    deadline_->onTick = [this] {
        deadline_->setEnabled(false);
        for (std::size_t i = 1; i < downloader_.SaveFiles().size(); ++i)
            if (downloader_.FileStates()[i] != Downloader::kDone && downloader_.FileStates()[i] != Downloader::kFailed)
                fileFailed(downloader_.SaveFiles()[i]);
        downloader_.CancelAllDownload();
        batchEnded();
    };
    form_->show();
}

std::string UpdaterForm::remoteUrl(const std::string& path) const {
    return withServiceQuery(serviceUrl(serviceHost_, "/soft/update/" + servicePath(path)),
                            {{"d", dateTimeText(deps_.loop.nowMs())}});
}

std::optional<std::string> UpdaterForm::fetchList(const std::string& remotePath, const std::string& file) {
    if (!deps_.fetch.fetchToFile(remoteUrl(remotePath), file)) return std::nullopt;
    try {
        return readTextFile(deps_.codec, file);
    } catch (const TovloError&) {
        return std::nullopt;
    }
}

void UpdaterForm::run() {
    timer1_->setEnabled(false);
    const std::string temp = joinPath(app_, {"updateTemp"});
    makeDirectories(temp);
    const auto list = fetchList("update.txt", joinPath(temp, {"update.txt"}));
    // The window closed during the fetch ends the run there.
    if (ended_) return;
    if (!list) {
        addLine("无法取得版本列表，请检查网络后重新运行更新。");
        return;
    }
    const VersionStep step = stepFrom(*list, fromVersion_);
    if (step.kind == VersionStep::kLast) {
        deps_.messages.show("更新成功！", kTitle, MessageIcon::Information);
        handOver("Tovlo.exe", fromVersion_);
        return;
    }
    if (step.kind == VersionStep::kUnknown) {
        // Moving on from a version the list does not name would install an
        // arbitrary one: nothing is done.
        setStatus("找不到要更新的版本");
        addLine("版本列表中没有版本“" + fromVersion_ + "”，无法更新。");
        return;
    }
    toVersion_ = step.next;
    setStatus("正在更新到 " + toVersion_);

    const auto urls = fetchList(toVersion_ + "/urls.txt", joinPath(temp, {"urls.txt"}));
    if (ended_) return;
    if (!urls) {
        addLine("无法取得版本 " + toVersion_ + " 的文件列表，请检查网络后重新运行更新。");
        return;
    }
    const InstallList files = readInstallList(*urls);
    if (files.refused) {
        setStatus("更新到 " + toVersion_ + " 已停止");
        addLine("文件列表中有不能安装的路径，没有安装任何文件：" + *files.refused);
        return;
    }
    if (files.entries.size() > static_cast<std::size_t>(Downloader::kMaxBatch)) {
        setStatus("更新到 " + toVersion_ + " 已停止");
        addLine("文件列表太长，没有安装任何文件。");
        return;
    }
    queueFiles(files);
}

void UpdaterForm::queueFiles(const InstallList& list) {
    doneCount_ = 1;
    fileCount_ = static_cast<std::int16_t>(list.entries.size());
    if (list.entries.empty()) {
        // A version without files is installed at once.
        handOver("updateAft.exe", toVersion_);
        return;
    }
    for (const InstallEntry& entry : list.entries) {
        const std::string saveFile = joinPath(app_, {entry.installed});
        makeDirectories(folderOf(saveFile));
        // The file in place stays until its new content has arrived whole: a
        // failed download leaves the installed version working.
        if (!downloader_.BeginDownload(remoteUrl(toVersion_ + "/" + entry.remote), saveFile, limits::kUpdateFileBytes))
            fileFailed(saveFile);
    }
    // Nothing could be queued: no download will end the batch.
    if (downloader_.SaveFiles().size() == 1)
        batchEnded();
    else
        deadline_->setEnabled(true);
}

void UpdaterForm::addLine(const std::string& line) {
    List1().addItem(line);
    if (onReport) onReport(line);
}

void UpdaterForm::setStatus(const std::string& text) {
    Label1().setText(text);
    if (onReport) onReport(text);
}

std::string UpdaterForm::shownPath(const std::string& saveFile) const { return replaceAll(saveFile, app_, ""); }

void UpdaterForm::fileDone(const std::string& saveFile) {
    if (isProgram(saveFile)) markExecutable(saveFile);
    ProgressBar1().setValue(doneCount_ * 100 / std::max<int>(fileCount_, 1));
    addLine("成功:" + shownPath(saveFile));
    if (doneCount_ == fileCount_) {
        handOver("updateAft.exe", toVersion_);
        return;
    }
    ++doneCount_;
}

void UpdaterForm::fileFailed(const std::string& saveFile) {
    ++failures_;
    addLine("失败:" + shownPath(saveFile));
}

void UpdaterForm::batchEnded() {
    deadline_->setEnabled(false);
    if (failures_ == 0 || ended_) return;
    setStatus("更新到 " + toVersion_ + " 没有完成");
    addLine("有 " + std::to_string(failures_) + " 个文件没有下载成功，请检查网络后重新运行更新。");
}

void UpdaterForm::handOver(const std::string& program, const std::string& version) {
    if (ended_) return;
    const std::string path = joinPath(app_, {program});
    if (!deps_.processes.startDetached(path, version)) {
        deps_.messages.show("无法启动 " + path, kTitle, MessageIcon::Critical);
        setStatus("无法启动 " + program);
        return;
    }
    end();
}

void UpdaterForm::end() {
    if (ended_) return;
    ended_ = true;
    timer1_->setEnabled(false);
    timer2_->setEnabled(false);
    deadline_->setEnabled(false);
    form_->hide();
    deps_.loop.quit();
}

}  // namespace tovlo

#pragma once
// Form1 of the updater: moves the program folder one version on. It fetches
// the version list, finds the version after the one it was started with,
// downloads every file of that version into the program folder with the
// progress shown, and hands over to updateAft.exe with the new version. When
// it is started with the newest version it reports success and starts
// Tovlo.exe again.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "library/downloader.h"
#include "platform/async_url_read.h"
#include "platform/event_loop.h"
#include "platform/forms.h"
#include "platform/message_box.h"
#include "platform/processes.h"
#include "platform/read_limits.h"
#include "platform/text_codec.h"
#include "platform/url_fetch.h"
#include "updater/install_list.h"

namespace tovlo {

struct UpdaterDeps {
    EventLoop& loop;
    UrlFetch& fetch;
    const TextCodec& codec;
    MessageBox& messages;
    Processes& processes;
    Forms& forms;
    AsyncUrlReads& reads;
    // The whole download of a version's files (see limits::kUpdateTotalMs).
    int totalMs = limits::kUpdateTotalMs;
};

class UpdaterForm {
public:
    static constexpr int kStartDelayMs = 500;
    static constexpr int kFollowListMs = 20;

    // app: the program folder; serviceHost: host or host:port of the service;
    // commandLine: the version to update from.
    UpdaterForm(UpdaterDeps deps, std::string app, std::string serviceHost, std::string commandLine);

    const std::string& fromVersion() const { return fromVersion_; }
    const std::string& toVersion() const { return toVersion_; }
    int doneCount() const { return doneCount_; }
    int fileCount() const { return fileCount_; }
    // True once the updater has handed over or was closed: the program ends.
    bool ended() const { return ended_; }

    // Every line added to List1 and every text of Label1, as they appear
    // (the program also writes them to its standard error).
    std::function<void(const std::string&)> onReport;

    Form& form() { return *form_; }
    Label& Label1() { return form_->label("Label1"); }
    ProgressBar& ProgressBar1() { return form_->progressBar("ProgressBar1"); }
    ProgressBar& ProgressBar2() { return form_->progressBar("ProgressBar2"); }
    ListBox& List1() { return form_->listBox("List1"); }
    Downloader& Downloader1() { return downloader_; }

private:
    void run();
    // Fetches the file below the service's update folder and reads it.
    std::optional<std::string> fetchList(const std::string& remotePath, const std::string& file);
    void queueFiles(const InstallList& list);
    void fileDone(const std::string& saveFile);
    void fileFailed(const std::string& saveFile);
    void batchEnded();
    void handOver(const std::string& program, const std::string& version);
    void end();
    void addLine(const std::string& line);
    void setStatus(const std::string& text);
    std::string shownPath(const std::string& saveFile) const;
    std::string remoteUrl(const std::string& path) const;

    UpdaterDeps deps_;
    std::string app_;
    std::string serviceHost_;
    std::string fromVersion_;
    std::string toVersion_;
    std::int16_t doneCount_ = 0;
    std::int16_t fileCount_ = 0;
    int failures_ = 0;
    bool ended_ = false;
    std::unique_ptr<Form> form_;
    std::unique_ptr<Timer> timer1_;
    std::unique_ptr<Timer> timer2_;
    std::unique_ptr<Timer> deadline_;
    Downloader downloader_;
};

}  // namespace tovlo

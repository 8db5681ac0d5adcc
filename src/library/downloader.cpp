#include "downloader.h"

#include "core/errors.h"
#include "core/files.h"

namespace tovlo {

namespace {

bool isOpen(std::uint8_t state) { return state != Downloader::kFailed && state != Downloader::kDone; }

}  // namespace

Downloader::Downloader(std::unique_ptr<AsyncUrlRead> reader, MessageBox& messages)
    : reader_(std::move(reader)), messages_(messages) {
    emptyBatch();
    reader_->onProgress = [this](std::int64_t bytesRead, std::int64_t total, int status, const std::string& tag) {
        onProgress(bytesRead, total, status, tag);
    };
    reader_->onComplete = [this](int status, const std::string& bytes, std::int64_t total, const std::string& tag) {
        onComplete(status, bytes, total, tag);
    };
}

Downloader::~Downloader() {
    if (saveFiles_.size() > 1) CancelAllDownload();
    reader_->onProgress = nullptr;
    reader_->onComplete = nullptr;
}

void Downloader::emptyBatch() {
    saveFiles_.assign(1, std::string());
    fileStates_.assign(1, 0);
    openTags_.clear();
    refusalShown_ = false;
}

std::size_t Downloader::openEntry(const std::string& tag) const {
    for (std::size_t i = 1; i < saveFiles_.size(); ++i)
        if (saveFiles_[i] == tag && isOpen(fileStates_[i])) return i;
    return 0;
}

// One box per batch: a list of many unusable names must not raise a box for
// each; the caller learns of every refusal from BeginDownload's result.
void Downloader::startFailed(int number, const std::string& description) {
    if (refusalShown_) return;
    refusalShown_ = true;
    messages_.show(std::to_string(number) + ":错误在调用 BeginDownload().\r\n\r\n错误描述: " + description, "错误",
                   MessageIcon::Critical);
}

bool Downloader::BeginDownload(const std::string& URL, const std::string& SaveFile, std::int64_t maxBytes) {
    // Two open downloads of one file could not be told apart: the second
    // would never be recorded and the batch would never end.
    if (openTags_.count(SaveFile)) {
        startFailed(kErrInvalidArgument, "该文件已在下载中: " + SaveFile);
        return false;
    }
    if (saveFiles_.size() - 1 >= static_cast<std::size_t>(kMaxBatch)) {
        startFailed(kErrInvalidArgument, "一批最多 " + std::to_string(kMaxBatch) + " 个下载");
        return false;
    }
    try {
        reader_->start(URL, SaveFile, maxBytes);
    } catch (const AsyncReadStartError& e) {
        startFailed(e.number(), e.what());
        return false;
    }
    saveFiles_.push_back(SaveFile);
    fileStates_.push_back(kQueued);
    openTags_.insert(SaveFile);
    return true;
}

bool Downloader::CancelAllDownload() {
    // Copy first: a cancel must not see the lists change under it.
    std::vector<std::string> files(saveFiles_.begin() + 1, saveFiles_.end());
    for (const std::string& file : files) reader_->cancel(file);  // a read that already ended fails; fine
    emptyBatch();
    return true;
}

void Downloader::onProgress(std::int64_t bytesRead, std::int64_t total, int status, const std::string& tag) {
    if (total != 0 && DownloadProgress) DownloadProgress(bytesRead, total, tag);
    if (status == kReadError) reader_->cancel(tag);
}

void Downloader::onComplete(int status, const std::string& bytes, std::int64_t total, const std::string& tag) {
    if (status == kReadError) {
        reader_->cancel(tag);
    } else if (status == kReadEndOfData) {
        // Written beside the file and renamed over it, so a failed write never
        // leaves a torn file where a good one was; a file that cannot be
        // written is a failed download.
        if (!replaceFileAtomically(tag, bytes)) status = kReadError;
    }
    // Recorded before the handlers run: the download has ended, so a handler
    // may start the same file again (a list that names it twice).
    if (std::size_t i = openEntry(tag)) {
        fileStates_[i] = static_cast<std::uint8_t>(status);
        if (!isOpen(fileStates_[i])) openTags_.erase(tag);
    }
    if (status == kReadError && DownloadError) DownloadError(tag);
    if (status == kReadEndOfData && DownloadComplete) DownloadComplete(total, tag);
    CheckAllComplete();
}

void Downloader::CheckAllComplete() {
    std::vector<std::string> notDownloaded{std::string()};
    for (std::size_t i = 1; i < saveFiles_.size(); ++i) {
        if (fileStates_[i] == kFailed)
            notDownloaded.push_back(saveFiles_[i]);
        else if (fileStates_[i] != kDone)
            return;
    }
    // Emptied first, so the handler can start the next batch.
    CancelAllDownload();
    if (DownloadAllComplete) DownloadAllComplete(notDownloaded);
}

}  // namespace tovlo

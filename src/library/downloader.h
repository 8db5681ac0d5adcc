#pragma once
// Downloader: queues downloads of URLs into files, reports each one's
// progress and end, and raises DownloadAllComplete once every download of
// the batch has ended, with the files that failed.
//
// The batch is two parallel lists, SaveFiles and FileStates, each with a
// placeholder at index 0. States: 255 queued, 0 failed, 6 done; any other
// value is a status a completion carried and counts as still open. The
// SaveFile is also the tag of the platform read.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/async_url_read.h"
#include "platform/message_box.h"
#include "platform/read_limits.h"

namespace tovlo {

class Downloader {
public:
    // A batch is walked with 16-bit signed positions: at most this many downloads.
    static constexpr int kMaxBatch = 32767;
    static constexpr std::uint8_t kQueued = 255;
    static constexpr std::uint8_t kFailed = 0;
    static constexpr std::uint8_t kDone = 6;

    Downloader(std::unique_ptr<AsyncUrlRead> reader, MessageBox& messages);
    ~Downloader();
    Downloader(const Downloader&) = delete;
    Downloader& operator=(const Downloader&) = delete;

    // Starts reading URL into SaveFile. Refused (nothing is queued, and a
    // message box says why, once per batch) when the read cannot start, when
    // SaveFile is still open in this batch, or when the batch is full. True
    // when queued.
    // A body longer than maxBytes fails (the bounds are in platform/read_limits.h).
    bool BeginDownload(const std::string& URL, const std::string& SaveFile,
                       std::int64_t maxBytes = limits::kFaceFileBytes);
    // Cancels every read of the batch (errors ignored) and empties it.
    bool CancelAllDownload();

    // Events; handlers may start or cancel downloads.
    std::function<void(std::int64_t CurBytes, std::int64_t MaxBytes, const std::string& SaveFile)> DownloadProgress;
    std::function<void(const std::string& SaveFile)> DownloadError;
    std::function<void(std::int64_t MaxBytes, const std::string& SaveFile)> DownloadComplete;
    // Element 0 is a placeholder (empty); then each failed SaveFile in queue order.
    std::function<void(const std::vector<std::string>& FileNotDownload)> DownloadAllComplete;

    const std::vector<std::string>& SaveFiles() const { return saveFiles_; }
    const std::vector<std::uint8_t>& FileStates() const { return fileStates_; }

private:
    void onProgress(std::int64_t bytesRead, std::int64_t total, int status, const std::string& tag);
    void onComplete(int status, const std::string& bytes, std::int64_t total, const std::string& tag);
    void CheckAllComplete();
    void emptyBatch();
    // The first entry of the tag that is still open, or 0.
    std::size_t openEntry(const std::string& tag) const;
    void startFailed(int number, const std::string& description);

    std::unique_ptr<AsyncUrlRead> reader_;
    MessageBox& messages_;
    std::vector<std::string> saveFiles_;
    std::vector<std::uint8_t> fileStates_;
    std::unordered_set<std::string> openTags_;  // SaveFiles still open, for the duplicate test
    bool refusalShown_ = false;                 // a refused start of this batch was shown
};

}  // namespace tovlo

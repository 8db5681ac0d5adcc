#pragma once
// Asynchronous URL reads on the virtual clock. A test gives answers by URL
// (bytes and status, a delay, or a stall that never ends); a URL without an
// answer fails. In manual mode reads only start, and the test delivers
// progress and completion itself. Starts and cancels are logged.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "fake_event_loop.h"
#include "platform/async_url_read.h"
#include "platform/commands.h"

namespace tovlo {

struct FakeAnswer {
    std::string bytes;
    int status = kReadEndOfData;
    int delayMs = 10;
    bool stall = false;  // never completes (until cancelled)
};

class FakeNetwork : public AsyncUrlReads {
public:
    explicit FakeNetwork(FakeEventLoop& loop) : loop_(loop) {}
    std::unique_ptr<AsyncUrlRead> create() override;

    // Test side: deliver to whichever reader runs the tag. False when none does.
    bool progress(const std::string& tag, std::int64_t bytesRead, std::int64_t total, int status);
    bool finish(const std::string& tag, int status, const std::string& bytes = "", std::int64_t total = -1);
    // The tags running now, in start order.
    std::vector<std::string> running() const;

    std::map<std::string, FakeAnswer> answers;
    // Answers first when set; nothing falls back to the table.
    std::function<std::optional<FakeAnswer>(const std::string& url)> handler;
    bool manual = false;
    std::set<std::string> refuseStart;  // URLs whose start throws
    struct Start {
        std::string url, tag;
        std::int64_t maxBytes = 0;
    };
    std::vector<Start> starts;
    std::vector<std::string> cancels;  // tags, also those not running

private:
    friend class FakeAsyncUrlRead;
    FakeEventLoop& loop_;
    std::vector<class FakeAsyncUrlRead*> readers_;
};

class FakeAsyncUrlRead : public AsyncUrlRead {
public:
    explicit FakeAsyncUrlRead(FakeNetwork& net) : net_(net), pump_(net.loop_.createTimer(1, false)) {
        net_.readers_.push_back(this);
        pump_->onTick = [this] { deliverDue(); };
    }
    ~FakeAsyncUrlRead() override { std::erase(net_.readers_, this); }

    void start(const std::string& url, const std::string& tag, std::int64_t maxBytes) override {
        if (net_.refuseStart.count(url)) throw AsyncReadStartError(-2147012867, "cannot connect: " + url);
        if (has(tag)) throw AsyncReadStartError(5, "a read with this tag is running: " + tag);
        net_.starts.push_back({url, tag, maxBytes});
        Read read{nextSeq_++, {}, 0, maxBytes};
        if (!net_.manual) {
            std::optional<FakeAnswer> answer;
            if (net_.handler) answer = net_.handler(url);
            if (!answer) {
                auto it = net_.answers.find(url);
                answer = it != net_.answers.end() ? it->second : FakeAnswer{"", kReadError};
            }
            read.answer = *answer;
            read.due = net_.loop_.nowMs() + answer->delayMs;
            pump_->setEnabled(true);
        }
        reads_[tag] = std::move(read);
    }
    bool cancel(const std::string& tag) override {
        net_.cancels.push_back(tag);
        return reads_.erase(tag) != 0;
    }

    bool has(const std::string& tag) const { return reads_.count(tag) != 0; }
    // Running tags in start order.
    std::vector<std::string> tags() const {
        std::vector<std::pair<std::int64_t, std::string>> order;
        for (const auto& [tag, r] : reads_) order.emplace_back(r.seq, tag);
        std::sort(order.begin(), order.end());
        std::vector<std::string> out;
        for (auto& entry : order) out.push_back(entry.second);
        return out;
    }
    // Ends the read and tells the user; the read is gone before the handler
    // runs. Both happen in the turn of the news (see platform/commands.h): a
    // read cancelled before its turn is not told.
    void finish(const std::string& tag, int status, const std::string& bytes, std::int64_t total) {
        events_.deliver([=, this] {
            if (reads_.erase(tag) == 0) return;
            if (onComplete) onComplete(status, bytes, total < 0 ? static_cast<std::int64_t>(bytes.size()) : total, tag);
        });
    }
    void progress(const std::string& tag, std::int64_t bytesRead, std::int64_t total, int status) {
        events_.deliver([=, this] {
            if (has(tag) && onProgress) onProgress(bytesRead, total, status, tag);
        });
    }

private:
    struct Read {
        std::int64_t seq;
        std::optional<FakeAnswer> answer;  // nothing in manual mode
        std::int64_t due;
        std::int64_t maxBytes;
    };
    void deliverDue() {
        std::vector<std::pair<std::int64_t, std::string>> due;
        bool pending = false;
        for (const auto& [tag, r] : reads_) {
            if (!r.answer || r.answer->stall) continue;
            pending = true;
            if (r.due <= net_.loop_.nowMs()) due.emplace_back(r.seq, tag);
        }
        if (!pending) pump_->setEnabled(false);
        std::sort(due.begin(), due.end());
        for (const auto& [seq, tag] : due) {
            auto it = reads_.find(tag);
            if (it == reads_.end() || it->second.seq != seq) continue;  // cancelled by an earlier handler
            FakeAnswer answer = *it->second.answer;
            // A body over the read's bound fails, as a real read does.
            if (answer.status == kReadEndOfData && static_cast<std::int64_t>(answer.bytes.size()) > it->second.maxBytes)
                answer.status = kReadError;
            if (answer.status == kReadEndOfData) {
                auto size = static_cast<std::int64_t>(answer.bytes.size());
                progress(tag, size, size, kReadReceiving);
                finish(tag, kReadEndOfData, answer.bytes, size);
            } else {
                finish(tag, answer.status, "", 0);
            }
        }
    }

    FakeNetwork& net_;
    std::unique_ptr<Timer> pump_;
    std::map<std::string, Read> reads_;
    std::int64_t nextSeq_ = 0;
    EventSource events_{"a download's news"};
};

inline std::unique_ptr<AsyncUrlRead> FakeNetwork::create() { return std::make_unique<FakeAsyncUrlRead>(*this); }

inline bool FakeNetwork::progress(const std::string& tag, std::int64_t bytesRead, std::int64_t total, int status) {
    for (FakeAsyncUrlRead* r : readers_)
        if (r->has(tag)) {
            r->progress(tag, bytesRead, total, status);
            return true;
        }
    return false;
}

inline bool FakeNetwork::finish(const std::string& tag, int status, const std::string& bytes, std::int64_t total) {
    for (FakeAsyncUrlRead* r : readers_)
        if (r->has(tag)) {
            r->finish(tag, status, bytes, total);
            return true;
        }
    return false;
}

inline std::vector<std::string> FakeNetwork::running() const {
    std::vector<std::string> out;
    for (const FakeAsyncUrlRead* r : readers_)
        for (const std::string& t : r->tags()) out.push_back(t);
    return out;
}

}  // namespace tovlo

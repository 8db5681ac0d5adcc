#pragma once
// The history table in memory, with the same operations as the real store.
// It counts open connections so a test can see that none outlives an
// operation, logs the operations run, and can be told to make one fail.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/history_db.h"

namespace tovlo {

class FakeHistoryDb : public HistoryDb {
public:
    struct Row {
        std::int64_t id;
        std::string img;
    };

    std::unique_ptr<HistoryConnection> open() override { return std::make_unique<Connection>(*this); }

    // Stored rows, in id order (oldest first).
    std::vector<std::string> images() const {
        std::vector<std::string> out;
        for (const Row& r : rows) out.push_back(r.img);
        return out;
    }
    void seed(const std::vector<std::string>& imgs) {
        for (const std::string& img : imgs) rows.push_back({nextId++, img});
    }

    std::vector<Row> rows;
    std::int64_t nextId = 1;
    int openConnections = 0;
    // When 0 or more: that many more operations succeed, then every one fails.
    int failAfter = -1;
    std::vector<std::string> log;  // the operations run, by name

private:
    class Connection : public HistoryConnection {
    public:
        explicit Connection(FakeHistoryDb& db) : db_(db) { ++db_.openConnections; }
        ~Connection() override {
            if (before_) db_.rows = *before_;  // closed before commit: undone
            --db_.openConnections;
        }
        void begin() override { before_ = db_.rows; }
        void commit() override { before_.reset(); }
        void deleteImage(const std::string& img) override {
            step("deleteImage");
            std::erase_if(db_.rows, [&](const Row& r) { return r.img == img; });
        }
        std::int64_t count() override {
            step("count");
            return static_cast<std::int64_t>(db_.rows.size());
        }
        void deleteOldest() override {
            step("deleteOldest");
            if (db_.rows.empty()) return;
            auto oldest = std::min_element(db_.rows.begin(), db_.rows.end(),
                                           [](const Row& a, const Row& b) { return a.id < b.id; });
            db_.rows.erase(oldest);
        }
        void insert(const std::string& img) override {
            step("insert");
            db_.rows.push_back({db_.nextId++, img});
        }
        std::vector<std::string> listNewestFirst() override {
            step("list");
            std::vector<Row> sorted = db_.rows;
            std::sort(sorted.begin(), sorted.end(), [](const Row& a, const Row& b) { return a.id > b.id; });
            std::vector<std::string> out;
            for (const Row& r : sorted) out.push_back(r.img);
            return out;
        }
        void clear() override {
            step("clear");
            db_.rows.clear();
        }

    private:
        void step(const char* name) {
            if (db_.failAfter == 0) throw HistoryDbError(std::string(name) + " failed");
            if (db_.failAfter > 0) --db_.failAfter;
            db_.log.push_back(name);
        }
        FakeHistoryDb& db_;
        std::optional<std::vector<Row>> before_;  // the rows at begin(), until commit()
    };
};

}  // namespace tovlo

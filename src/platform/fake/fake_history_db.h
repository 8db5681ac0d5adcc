#pragma once
// The history table and the marks on faces in memory, with the same
// operations as the real store.
// It counts open connections so a test can see that none outlives an
// operation, logs the operations run, and can be told to make one fail.
#include <algorithm>
#include <cstdint>
#include <map>
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
    std::vector<std::string> favouriteRows;
    std::map<std::string, std::string> tagRows;
    std::map<std::string, HistoryConnection::Use> useRows;
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
            if (before_) db_.rows = *before_, db_.favouriteRows = *favouritesBefore_;  // closed before commit: undone
            --db_.openConnections;
        }
        void begin() override { before_ = db_.rows, favouritesBefore_ = db_.favouriteRows; }
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
        std::vector<std::string> favourites() override {
            step("favourites");
            return db_.favouriteRows;
        }
        void setFavourites(const std::vector<std::string>& imgs) override {
            step("setFavourites");
            db_.favouriteRows.clear();
            for (const std::string& img : imgs)
                if (std::find(db_.favouriteRows.begin(), db_.favouriteRows.end(), img) == db_.favouriteRows.end())
                    db_.favouriteRows.push_back(img);
        }
        std::vector<std::pair<std::string, std::string>> tags() override {
            step("tags");
            return {db_.tagRows.begin(), db_.tagRows.end()};
        }
        void setTags(const std::string& img, const std::string& words) override {
            step("setTags");
            if (words.empty()) db_.tagRows.erase(img);
            else db_.tagRows[img] = words;
        }
        void addUse(const std::string& img, std::int64_t atMs) override {
            step("addUse");
            Use& use = db_.useRows[img];
            use = {img, use.count + 1, atMs};
        }
        std::vector<Use> uses() override {
            step("uses");
            std::vector<Use> out;
            for (const auto& [img, use] : db_.useRows) out.push_back(use);
            return out;
        }

    private:
        void step(const char* name) {
            if (db_.failAfter == 0) throw HistoryDbError(std::string(name) + " failed");
            if (db_.failAfter > 0) --db_.failAfter;
            db_.log.push_back(name);
        }
        FakeHistoryDb& db_;
        std::optional<std::vector<Row>> before_;  // the rows at begin(), until commit()
        std::optional<std::vector<std::string>> favouritesBefore_;
    };
};

}  // namespace tovlo

#include "sqlite_history_db.h"

#include <sqlite3.h>

namespace tovlo {

namespace {

constexpr const char* kCreateTable =
    "create table if not exists history(id INTEGER PRIMARY KEY AUTOINCREMENT, img TEXT)";
// How long a statement waits for another program's lock before it fails.
constexpr int kBusyTimeoutMs = 2000;

class Statement {
public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) fail();
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(const std::string& text) {
        if (sqlite3_bind_text(stmt_, 1, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) != SQLITE_OK)
            fail();
        return *this;
    }
    // Advances to the next row; false when the statement has finished.
    bool step() {
        int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE) fail();
        return false;
    }
    void run() {
        while (step()) {
        }
    }
    std::int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }
    std::string text(int column) const {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column))) : std::string();
    }

private:
    [[noreturn]] void fail() { throw HistoryDbError(std::string("history store: ") + sqlite3_errmsg(db_)); }
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

class SqliteConnection : public HistoryConnection {
public:
    explicit SqliteConnection(const std::string& file) {
        int rc = sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc != SQLITE_OK) {
            std::string why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
            sqlite3_close(db_);
            throw HistoryDbError("history store " + file + ": " + why);
        }
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        try {
            Statement(db_, kCreateTable).run();
        } catch (...) {
            sqlite3_close(db_);
            throw;
        }
    }
    // Closing with a transaction open rolls it back (and a journal left by a
    // killed program is rolled back at the next opening).
    ~SqliteConnection() override { sqlite3_close(db_); }

    void begin() override { Statement(db_, "begin immediate").run(); }
    void commit() override { Statement(db_, "commit").run(); }

    void deleteImage(const std::string& img) override {
        Statement(db_, "delete from history where img=?").bind(img).run();
    }
    std::int64_t count() override {
        Statement s(db_, "select count(*) from history");
        return s.step() ? s.integer(0) : 0;
    }
    void deleteOldest() override {
        Statement(db_, "delete from history where id=(select id from history order by id limit 1)").run();
    }
    void insert(const std::string& img) override {
        Statement(db_, "insert into history(img) values(?)").bind(img).run();
    }
    std::vector<std::string> listNewestFirst() override {
        Statement s(db_, "select img from history order by id desc");
        std::vector<std::string> out;
        while (s.step()) out.push_back(s.text(0));
        return out;
    }
    void clear() override { Statement(db_, "delete from history").run(); }

private:
    sqlite3* db_ = nullptr;
};

}  // namespace

std::unique_ptr<HistoryConnection> SqliteHistoryDb::open() { return std::make_unique<SqliteConnection>(file_); }

}  // namespace tovlo

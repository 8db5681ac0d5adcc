#include "sqlite_history_db.h"

#include <sqlite3.h>

namespace tovlo {

namespace {

// The tables, made once per file: the history, and the user's marks on
// faces beside it. user_version says they are there, so an opening reads one
// number instead of running every statement.
constexpr const char* kCreateTables =
    "begin immediate;"
    "create table if not exists history(id INTEGER PRIMARY KEY AUTOINCREMENT, img TEXT);"
    "create table if not exists favourites(pos INTEGER PRIMARY KEY, img TEXT UNIQUE NOT NULL);"
    "create table if not exists tags(img TEXT PRIMARY KEY, words TEXT NOT NULL);"
    "create table if not exists uses(img TEXT PRIMARY KEY, count INTEGER NOT NULL, last INTEGER NOT NULL);"
    "pragma user_version = 1;"
    "commit;";
constexpr int kSchemaVersion = 1;
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

    Statement& bind(const std::string& text, int at = 1) {
        if (sqlite3_bind_text(stmt_, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) != SQLITE_OK)
            fail();
        return *this;
    }
    Statement& bind(std::int64_t value, int at) {
        if (sqlite3_bind_int64(stmt_, at, value) != SQLITE_OK) fail();
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
            Statement version(db_, "pragma user_version");
            if (!version.step() || version.integer(0) < kSchemaVersion) {
                char* error = nullptr;
                if (sqlite3_exec(db_, kCreateTables, nullptr, nullptr, &error) != SQLITE_OK) {
                    const std::string why = error ? error : sqlite3_errmsg(db_);
                    sqlite3_free(error);
                    throw HistoryDbError("history store " + file + ": " + why);
                }
            }
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
    std::vector<std::string> listNewestFirst() override { return column("select img from history order by id desc"); }
    void clear() override { Statement(db_, "delete from history").run(); }

    std::vector<std::string> favourites() override { return column("select img from favourites order by pos"); }
    void setFavourites(const std::vector<std::string>& imgs) override {
        Statement(db_, "delete from favourites").run();
        for (const std::string& img : imgs) Statement(db_, "insert or ignore into favourites(img) values(?)").bind(img).run();
    }
    std::vector<std::pair<std::string, std::string>> tags() override {
        Statement s(db_, "select img, words from tags");
        std::vector<std::pair<std::string, std::string>> out;
        while (s.step()) out.emplace_back(s.text(0), s.text(1));
        return out;
    }
    void setTags(const std::string& img, const std::string& words) override {
        if (words.empty())
            Statement(db_, "delete from tags where img=?").bind(img).run();
        else
            Statement(db_, "insert or replace into tags(img, words) values(?, ?)").bind(img).bind(words, 2).run();
    }
    void addUse(const std::string& img, std::int64_t atMs) override {
        Statement(db_,
                  "insert into uses(img, count, last) values(?, 1, ?) "
                  "on conflict(img) do update set count = count + 1, last = excluded.last")
            .bind(img)
            .bind(atMs, 2)
            .run();
    }
    std::vector<Use> uses() override {
        Statement s(db_, "select img, count, last from uses");
        std::vector<Use> out;
        while (s.step()) out.push_back({s.text(0), s.integer(1), s.integer(2)});
        return out;
    }

private:
    // The first column of every row.
    std::vector<std::string> column(const char* sql) {
        Statement s(db_, sql);
        std::vector<std::string> out;
        while (s.step()) out.push_back(s.text(0));
        return out;
    }
    sqlite3* db_ = nullptr;
};

}  // namespace

std::unique_ptr<HistoryConnection> SqliteHistoryDb::open() { return std::make_unique<SqliteConnection>(file_); }

}  // namespace tovlo

#pragma once
// The history store in an SQLite file (App/w/datas.jpg) holding the table
// history(id INTEGER PRIMARY KEY AUTOINCREMENT, img TEXT). Opening creates
// the file and the table when either is missing; the folder must exist.
#include <string>

#include "platform/history_db.h"

namespace tovlo {

class SqliteHistoryDb : public HistoryDb {
public:
    explicit SqliteHistoryDb(std::string file) : file_(std::move(file)) {}
    std::unique_ptr<HistoryConnection> open() override;
    const std::string& file() const { return file_; }

private:
    std::string file_;
};

}  // namespace tovlo

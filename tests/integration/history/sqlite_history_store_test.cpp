#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>

#include "platform/native_codec.h"
#include "platform/sqlite/sqlite_history_db.h"
#include "qq/face_marks.h"
#include "qq/history_store.h"
#include "support/temp_dir.h"

using namespace tovlo;
using Images = std::vector<std::string>;

namespace {

#ifdef _WIN32
// 1 when the file is open: SQLite does not share its deletion, so it cannot be renamed.
int openDescriptors(const std::string& file) {
    std::error_code ec;
    std::filesystem::rename(test::u8Path(file), test::u8Path(file + ".moved"), ec);
    if (ec) return 1;
    std::filesystem::rename(test::u8Path(file + ".moved"), test::u8Path(file));
    return 0;
}
#else
// How many descriptors of this process are open on the file.
int openDescriptors(const std::string& file) {
    std::error_code ec;
    const auto target = std::filesystem::canonical(file, ec);
    int n = 0;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd"))
        if (!ec && std::filesystem::read_symlink(fd.path(), ec) == target) ++n;
    return n;
}
#endif

// Runs SQL on the file directly; for a select, the first column of every row.
Images sql(const std::string& file, const std::string& statement) {
    sqlite3* db = nullptr;
    Images out;
    EXPECT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    auto collect = [](void* rows, int, char** values, char**) {
        static_cast<Images*>(rows)->emplace_back(values[0] ? values[0] : "");
        return 0;
    };
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, statement.c_str(), collect, &out, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
    return out;
}

Images storedRows(const std::string& file) { return sql(file, "select img from history order by id"); }

struct SqliteHistoryTest : ::testing::Test {
    test::TempDir dir;
    NativeCodec codec;
    PublicParm parm{dir.path(), codec};
    std::string file = dir / "w/datas.jpg";
    SqliteHistoryDb db{file};
    HistoryStore store{db, parm};

    void SetUp() override {
        std::filesystem::create_directories(dir / "w");
        parm.historyNub = "16";
    }
    void add(const Images& imgs) {
        for (const std::string& img : imgs) store.addHistory(img);
    }
    static Images numbered(int n) {
        Images out;
        for (int i = 1; i <= n; ++i) out.push_back("f" + std::to_string(i) + ".gif");
        return out;
    }
};

}  // namespace

TEST_F(SqliteHistoryTest, MissingFileOrTableIsCreated) {
    EXPECT_EQ(store.historyListText(), ",");
    EXPECT_TRUE(std::filesystem::exists(file));

    std::filesystem::remove(file);
    sql(file, "create table other(x); insert into other values(7)");
    store.addHistory("a.gif");
    EXPECT_EQ(storedRows(file), Images{"a.gif"});
    EXPECT_EQ(sql(file, "select x from other"), Images{"7"}) << "the rest of the file is kept";
}

// A connection that ends before its commit (as when the program is killed
// between the statements of an addition) leaves every row in place.
TEST_F(SqliteHistoryTest, AnAdditionCutShortLeavesTheHistoryAsItWas) {
    add({"a.gif", "b.gif"});
    {
        auto connection = db.open();
        connection->begin();
        connection->deleteImage("a.gif");
        connection->deleteOldest();
        EXPECT_EQ(connection->count(), 0);
    }
    EXPECT_EQ(storedRows(file), (Images{"a.gif", "b.gif"}));
    store.addHistory("a.gif");
    EXPECT_EQ(storedRows(file), (Images{"b.gif", "a.gif"})) << "a whole addition moves the face to the front";
}

// A store of an earlier release has its history table only: the marks'
// tables join it, the history stays, and the marks outlive the connection.
TEST_F(SqliteHistoryTest, AnEarlierStoreGainsTheMarksOnFacesAndKeepsItsHistory) {
    sql(file, "create table history(id INTEGER PRIMARY KEY AUTOINCREMENT, img TEXT); insert into history(img) values('a.gif')");
    FaceMarks marks(db);
    marks.addFavourite("it's.gif");
    marks.addFavourite("表情.gif");
    marks.moveFavourite("表情.gif", 0);
    marks.setTags("a.gif", "开心 狗");
    marks.recordUse("a.gif", 1000);
    marks.recordUse("a.gif", 2000);
    EXPECT_EQ(storedRows(file), Images{"a.gif"});
    EXPECT_EQ(sql(file, "select img from favourites order by pos"), (Images{"表情.gif", "it's.gif"}));
    EXPECT_EQ(sql(file, "select words from tags where img='a.gif'"), Images{"开心 狗"});
    EXPECT_EQ(sql(file, "select count || ' ' || last from uses"), Images{"2 2000"});
    EXPECT_EQ(sql(file, "pragma user_version"), Images{"1"});
}

TEST_F(SqliteHistoryTest, CapChangesEvictOneOldestPerAddition) {
    parm.historyNub = "28";
    add(numbered(28));
    parm.historyNub = "16";
    store.addHistory("x.gif");
    Images rows = storedRows(file);
    ASSERT_EQ(rows.size(), 28u);
    EXPECT_EQ(rows.front(), "f2.gif");

    // Already stored: its row goes first, but 27 rows are still over the
    // lowered cap, so the oldest goes too and the table shrinks by one.
    store.addHistory("f10.gif");
    rows = storedRows(file);
    EXPECT_EQ(rows.size(), 27u);
    EXPECT_EQ(rows.front(), "f3.gif");
    EXPECT_EQ(rows.back(), "f10.gif");

    store.clearAllHistory();
    Images seventeen = numbered(17);
    add(seventeen);
    EXPECT_EQ(storedRows(file), Images(seventeen.begin() + 1, seventeen.end()));
    EXPECT_EQ(store.historyListText().substr(0, 15), ",||f17.gif||f16") << "ids keep growing after a clear";
}

TEST_F(SqliteHistoryTest, ApostrophesAndChineseReferencesAreStoredAsGiven) {
    const Images odd = {"it's.gif", "'); delete from history; --", "表情/开心 笑.gif", "a\"b\\c.gif"};
    add(odd);
    store.addHistory("it's.gif");
    EXPECT_EQ(storedRows(file), (Images{odd[1], odd[2], odd[3], odd[0]}));
    EXPECT_EQ(store.historyListText(), ",||it's.gif||a\"b\\c.gif||表情/开心 笑.gif||'); delete from history; --");
}

TEST_F(SqliteHistoryTest, AStoreInAChineseFolderHoldsChineseFaces) {
    const std::string chinese = dir / "表情 包/w/datas.jpg";
    std::filesystem::create_directories(test::u8Path(dir / "表情 包/w"));
    SqliteHistoryDb db{chinese};
    HistoryStore(db, parm).addHistory("开心.gif");
    EXPECT_TRUE(std::filesystem::exists(test::u8Path(chinese)));
    EXPECT_EQ(storedRows(chinese), Images{"开心.gif"});
}

TEST_F(SqliteHistoryTest, FileIsClosedBetweenOperations) {
    store.addHistory("a.gif");
    {
        auto open = db.open();
        EXPECT_GE(openDescriptors(file), 1) << "an open connection is visible";
    }
    EXPECT_EQ(openDescriptors(file), 0);
    store.addHistory("b.gif");
    EXPECT_EQ(openDescriptors(file), 0);
    store.historyListText();
    EXPECT_EQ(openDescriptors(file), 0);
    store.clearAllHistory();
    EXPECT_EQ(openDescriptors(file), 0);
    EXPECT_FALSE(std::filesystem::exists(file + "-journal"));

    test::writeBytes(file, "this is not a database, just some bytes of a picture");
    EXPECT_THROW(store.addHistory("a.gif"), HistoryDbError);
    EXPECT_EQ(openDescriptors(file), 0) << "closed after a failure too";
    SqliteHistoryDb noFolder{dir / "missing/w/datas.jpg"};
    EXPECT_THROW(HistoryStore(noFolder, parm).addHistory("a.gif"), HistoryDbError);
}

#ifndef _WIN32  // the build runs it for the staged program folder, on Linux only
TEST(MakeHistoryDb, CreatesAMissingStoreAndNeverTouchesAnExistingFile) {
    test::TempDir dir;
    const std::string file = dir / "program/w/datas.jpg";
    const std::string run = std::string(TOVLO_MAKE_HISTORY_DB) + " '" + file + "'";
    ASSERT_EQ(std::system(run.c_str()), 0);
    EXPECT_EQ(storedRows(file), Images{}) << "an empty store with its table";
    sql(file, "insert into history(img) values('mine.gif')");
    const std::string before = test::readBytes(file);
    ASSERT_EQ(std::system(run.c_str()), 0);
    EXPECT_EQ(test::readBytes(file), before);

    // The build ran it for the staged program folder.
    EXPECT_NO_THROW(SqliteHistoryDb(std::string(TOVLO_PROGRAM_DIR) + "/w/datas.jpg").open()->count());
}
#endif

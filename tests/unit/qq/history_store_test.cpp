#include <gtest/gtest.h>

#include "platform/fake/fake_history_db.h"
#include "platform/fake/fake_platform.h"
#include "qq/history_store.h"
#include "support/temp_dir.h"

using namespace tovlo;
using Images = std::vector<std::string>;

namespace {

struct HistoryStoreTest : ::testing::Test {
    test::TempDir dir;
    FakePlatform fake;
    FakeHistoryDb db;
    PublicParm parm{dir.path(), fake.codec};
    HistoryStore store{db, parm};

    static Images numbered(int n) {
        Images out;
        for (int i = 1; i <= n; ++i) out.push_back("f" + std::to_string(i) + ".gif");
        return out;
    }
};

}  // namespace

TEST(HistoryCap, SixteenBitNumberOrSixteen) {
    EXPECT_EQ(historyCap("28"), 28);
    EXPECT_EQ(historyCap(" +20 "), 20);
    EXPECT_EQ(historyCap("-3"), -3);
    EXPECT_EQ(historyCap("32767"), 32767);
    for (const char* bad : {"", "abc", "20a", "2 0", "1.5", "+-3", "32768", "-32769"})
        EXPECT_EQ(historyCap(bad), 16) << "'" << bad << "'";
}

TEST_F(HistoryStoreTest, GrowsToTheCapThenEvictsTheOldestOncePerAddition) {
    parm.historyNub = "16";
    db.seed(numbered(15));
    store.addHistory("new.gif");
    EXPECT_EQ(db.rows.size(), 16u);
    store.addHistory("newer.gif");
    Images expected = numbered(15);
    expected.erase(expected.begin());
    expected.insert(expected.end(), {"new.gif", "newer.gif"});
    EXPECT_EQ(db.images(), expected);
    EXPECT_EQ(db.openConnections, 0);
}

TEST_F(HistoryStoreTest, ReusedImageMovesToNewestWithoutEviction) {
    parm.historyNub = "16";
    db.seed({"A.gif", "f2.gif", "a.gif", "f4.gif", "a.gif"});
    db.seed(numbered(16));
    db.rows.resize(16);
    store.addHistory("a.gif");
    EXPECT_EQ(db.log, (Images{"deleteImage", "count", "insert"}));
    EXPECT_EQ(db.images().size(), 15u) << "every earlier row of it went, nothing else";
    EXPECT_EQ(db.images().front(), "A.gif") << "compared exactly as stored";
    EXPECT_EQ(db.images().back(), "a.gif");
}

TEST_F(HistoryStoreTest, CapIsReadAtEachAdditionAndLoweringItNeverShrinks) {
    parm.historyNub = "28";
    for (const std::string& img : numbered(30)) store.addHistory(img);
    EXPECT_EQ(db.rows.size(), 28u);
    parm.historyNub = "16";
    store.addHistory("x.gif");
    EXPECT_EQ(db.rows.size(), 28u);
    EXPECT_EQ(db.images().front(), "f4.gif");
    parm.historyNub = "not a number";  // counts as 16
    db.rows.resize(10);
    store.addHistory("y.gif");
    EXPECT_EQ(db.rows.size(), 11u);
}

TEST_F(HistoryStoreTest, ListTextAndClear) {
    parm.historyNub = "16";
    EXPECT_EQ(store.historyListText(), ",");
    for (const char* img : {"B.gif", "A.gif", "it's/表情.gif"}) store.addHistory(img);
    EXPECT_EQ(store.historyListText(), ",||it's/表情.gif||A.gif||B.gif");
    store.clearAllHistory();
    EXPECT_EQ(store.historyListText(), ",");
    EXPECT_EQ(db.openConnections, 0);
}

TEST_F(HistoryStoreTest, FailureReachesTheCallerAndClosesTheConnection) {
    db.seed({"a.gif", "b.gif"});
    db.failAfter = 1;  // the count fails after the delete has run
    EXPECT_THROW(store.addHistory("a.gif"), HistoryDbError);
    EXPECT_EQ(db.images(), (Images{"a.gif", "b.gif"})) << "nothing of a failed addition stays";
    EXPECT_EQ(db.openConnections, 0);
}

#include "qq/face_marks.h"

#include <gtest/gtest.h>

#include "core/errors.h"
#include "platform/fake/fake_history_db.h"

using namespace tovlo;
using Faces = std::vector<std::string>;

TEST(FaceMarks, FavouritesKeepTheUsersOrderAndEachChangeIsWhole) {
    FakeHistoryDb db;
    FaceMarks marks(db);
    struct Step {
        const char* op;
        std::string face;
        std::size_t to;
        Faces after;
    } steps[] = {
        {"add", "a", 0, {"a"}},         {"add", "b", 0, {"a", "b"}},        {"add", "c", 0, {"a", "b", "c"}},
        {"add", "a", 0, {"a", "b", "c"}},  // already there: stays where it is
        {"move", "c", 0, {"c", "a", "b"}}, {"move", "c", 99, {"a", "b", "c"}}, {"move", "a", 1, {"b", "a", "c"}},
        {"remove", "a", 0, {"b", "c"}}, {"remove", "x", 0, {"b", "c"}},
    };
    for (const Step& s : steps) {
        const std::string op = s.op;
        if (op == "add") marks.addFavourite(s.face);
        if (op == "move") marks.moveFavourite(s.face, s.to);
        if (op == "remove") marks.removeFavourite(s.face);
        EXPECT_EQ(marks.favourites(), s.after) << op << " " << s.face;
    }
    EXPECT_THROW(marks.moveFavourite("x", 0), TovloError) << "a face that is no favourite cannot move";
    db.failAfter = 1;  // the read goes, the write fails
    EXPECT_THROW(marks.addFavourite("d"), HistoryDbError);
    EXPECT_EQ(db.favouriteRows, (Faces{"b", "c"})) << "a change cut short leaves the favourites as they were";
    EXPECT_EQ(db.openConnections, 0);
}

TEST(FaceMarks, WordsAreTidiedAndFrequentFacesRankByCountAndAge) {
    const std::pair<std::string, std::string> words[] = {
        {"  开心  狗 ", "开心 狗"},       {"开心，狗、猫,猫\t鱼", "开心 狗 猫 鱼"},
        {"Cat cat CAT", "Cat cat CAT"},  // only the same word twice goes
        {"", ""},                        {std::string(150, 'a') + " " + std::string(60, 'b'), std::string(150, 'a')},
    };
    for (const auto& [given, kept] : words) EXPECT_EQ(tidyWords(given), kept) << given;

    FakeHistoryDb db;
    FaceMarks marks(db);
    marks.setTags("a", "x  y");
    marks.setTags("b", "z");
    marks.setTags("b", " ");
    EXPECT_EQ(marks.tags(), (std::map<std::string, std::string>{{"a", "x y"}}));

    constexpr std::int64_t day = 24 * 60 * 60 * 1000, now = 1000 * day;
    // Old but often: 8 uses four weeks ago count as 2; recent: 3 uses today.
    for (int i = 0; i < 8; ++i) marks.recordUse("old", now - 28 * day);
    for (int i = 0; i < 3; ++i) marks.recordUse("recent", now);
    marks.recordUse("once", now - day);
    marks.recordUse("twice", now - 20 * day);
    marks.recordUse("twice", now - 14 * day);  // two, the last 14 days ago: 1, more than once yesterday
    EXPECT_EQ(marks.frequent(now, 10), (Faces{"recent", "old", "twice", "once"}));
    EXPECT_EQ(marks.frequent(now, 2), (Faces{"recent", "old"}));
    EXPECT_DOUBLE_EQ(frequencyScore(4, now - 14 * day, now), 2.0);
}

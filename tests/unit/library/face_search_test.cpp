// The search over the faces on disk, the history and the favourites, and the
// page commands around it, in a scratch program folder.
#include <gtest/gtest.h>

#include "core/functions.h"
#include "core/text.h"
#include "core/urls.h"
#include "library/face_index.h"
#include "main_form_fixture.h"

namespace tovlo::test {
namespace {

class FaceSearchTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        for (const char* face : {"w/经典笑脸/1-1.gif", "w/经典笑脸/1-2.gif", "w/经典笑脸/small.bmp", "w/Cats/Smile.gif",
                                 "w/coming/1-1.gif", "w/CustomFace/demo/7/a1.gif", "w/CustomFace/demo/7/t1.gif"})
            writeBytes(file(face), "GIF");
        for (const char* page : {"w/经典笑脸/main.html", "w/Cats/main.html"}) writeBytes(file(page), "<html>");
        // A cached class page keeps its listing in its data block; one face
        // of it never arrived.
        writeTextFile(fake.codec, file("w/CustomFace/demo/7/1.html"),
                      "<script type=\"text/plain\" id=\"dataStr\">开心果||7/t1.gif$$7/a1.gif||7/t2.gif$$7/gone.gif"
                      "--1,1</script>");
    }
    std::string ref(const std::string& path) const { return fileUrl(file(path)); }
    // "source/name" of each face found, in order.
    std::vector<std::string> found(const std::string& query, std::size_t limit = 50) {
        index.refresh(file("w"), file("w/CustomFace/demo"));
        const SearchResult result = searchFaces(index, {history, favourites, words}, query, limit);
        std::vector<std::string> out;
        for (const FoundFace& f : result.faces) out.push_back(f.source + "/" + f.name + (f.favourite ? "*" : ""));
        total = result.total;
        return out;
    }

    FaceIndex index{fake.codec};
    std::vector<std::string> history{"file:///gone/lol.gif"}, favourites;
    std::map<std::string, std::string> words;
    std::size_t total = 0;
};

using Found = std::vector<std::string>;

TEST_F(FaceSearchTest, EveryWordMatchesAPackOrClassNameAFileNameOrTheUsersWords) {
    favourites = {ref("w/经典笑脸/1-2.gif"), "file:///old/%E5%93%88%E5%93%88.gif"};
    words[ref("w/经典笑脸/1-2.gif")] = "开心 狗";
    const std::pair<const char*, Found> rows[] = {
        {"笑脸", {"经典笑脸/1-2*", "经典笑脸/1-1"}},  // favourites first
        {"cats", {"Cats/Smile"}},
        {"SMILE", {"Cats/Smile"}},
        {"开心", {"经典笑脸/1-2*", "开心果/a1"}},  // the user's words, and a class name
        {"开心 狗", {"经典笑脸/1-2*"}},            // every word must match
        {" 1-1  ", {"经典笑脸/1-1"}},
        {"coming", {}},    // a folder without its pack page is no pack
        {"gone", {}},      // a class face that never arrived
        {"t1", {}},        // a thumbnail is no face of its own
        {"small", {}},     // nor the pack's sheet
        {"哈哈", {"收藏/哈哈*"}},  // a favourite whose pack has gone
        {"lol", {"历史/lol"}},    // a history face that is on no page
        {"", {}},
    };
    for (const auto& [query, expected] : rows) EXPECT_EQ(found(query), expected) << "'" << query << "'";
    EXPECT_EQ(found("经典", 1), Found{"经典笑脸/1-2*"});
    EXPECT_EQ(total, 2u) << "the total counts what the limit left out";
}

TEST_F(FaceSearchTest, TheIndexFollowsPacksThatComeAndGo) {
    EXPECT_EQ(found("狗狗"), Found{});
    writeBytes(file("w/狗狗/1-1.gif"), "GIF");
    writeBytes(file("w/狗狗/main.html"), "<html>");
    EXPECT_EQ(found("狗狗"), Found{"狗狗/1-1"});
    std::filesystem::remove_all(u8Path(file("w/狗狗")));
    EXPECT_EQ(found("狗狗"), Found{});
    EXPECT_EQ(found("开心果"), Found{"开心果/a1"});
    index.refresh(file("w"), "");
    EXPECT_EQ(searchFaces(index, {history, favourites, words}, "开心果", 9).total, 0u) << "logged out";
    EXPECT_GT(index.memoryBytes(), 0u);
}

TEST_F(FaceSearchTest, PageCommandsMarkFacesAndHandThemToTheMainPage) {
    start();
    parm->facePath = file("w");
    const std::string smile = ref("w/Cats/Smile.gif"), odd = "file:///a/b\tc.gif";
    // The page function's call with its texts; each face a line of tab-separated fields.
    const auto call = [](const std::string& function, std::initializer_list<std::string> texts) {
        std::string args;
        for (const std::string& t : texts) args += (args.empty() ? "" : ",") + scriptLiteral(t);
        return function + "(" + args + ")";
    };
    main->callVb("searchFaces||smile");
    EXPECT_EQ(lastScript(web()), call("setSearchResults", {"smile", smile + "\tCats\tSmile\t\t0", "1"}));
    main->callVb("favourite||" + smile);
    main->callVb("favourite||" + odd);
    EXPECT_EQ(lastScript(web()), call("setFavourites", {smile + "\tCats\tSmile\t\t1\nfile:///a/b c.gif\t收藏\tb c\t\t1"}))
        << "a tab of a reference cannot split its line";
    main->callVb("moveFavourite||0--" + odd);
    EXPECT_EQ(historyDb.favouriteRows, (std::vector<std::string>{odd, smile}));
    main->callVb("unfavourite||" + odd);
    main->callVb("setTags||喵，猫--" + smile);
    main->callVb("searchFaces||喵");
    EXPECT_EQ(lastScript(web()), call("setSearchResults", {"喵", smile + "\tCats\tSmile\t喵 猫\t1", "1"}));
    main->callVb("inputFaceAndHistory||" + smile);
    main->callVb("getFrequent||-");
    EXPECT_EQ(lastScript(web()), call("setFrequentFaces", {smile + "\tCats\tSmile\t喵 猫\t1"}));
    for (const char* refused : {"favourite||", "moveFavourite||x--" , "moveFavourite||0--nofavourite", "setTags||a--"})
        EXPECT_THROW(main->callVb(refused), TovloError) << refused;
}

}  // namespace
}  // namespace tovlo::test

// An account's classes: the class list page, the listing, the class list
// script, the class manager's actions and the service's pages.
#include <QImage>

#include <regex>

#include "core/text.h"
#include "devservice_test.h"

using namespace tovlo;
using namespace tovlo::test;

namespace {

using ClassTest = DevServiceTest;

struct Listing {
    std::string name;
    std::vector<std::pair<std::string, std::string>> faces;  // thumbnail, picture
    std::string pages;                                       // "page,pageCount"
};

// Splits a listing the way the program does; fails the test on a bad shape.
Listing parseListing(const std::string& text) {
    Listing listing;
    auto parts = splitFirst(text, "--");
    EXPECT_TRUE(parts) << text;
    if (!parts) return listing;
    listing.pages = parts->second;
    std::vector<std::string> items = split(parts->first, "||");
    listing.name = items[0];
    for (std::size_t i = 1; i < items.size(); ++i) {
        std::vector<std::string> ab = split(items[i], "$$");
        EXPECT_EQ(ab.size(), 2u) << items[i];
        if (ab.size() == 2) listing.faces.emplace_back(ab[0], ab[1]);
    }
    return listing;
}

std::string classIdOf(const httplib::Result& res) {
    std::smatch m;
    std::string body = res ? res->body : "";
    return std::regex_search(body, m, std::regex(R"~("id":"(\d+)")~")) ? m[1].str() : "";
}

}  // namespace

TEST_F(ClassTest, ClassListPageUsesAbsoluteAddressesOfTheHostAskedAndOffersTheCommands) {
    std::string origin = "http://127.0.0.1:" + std::to_string(service.port()) + "/";
    std::string page = text("/soft/myClass.asp?uName=demo&t=10:00:00:00");
    std::regex address(R"~((?:src|href)\s*=\s*"([^"]*)")~");
    int images = 0;
    for (auto it = std::sregex_iterator(page.begin(), page.end(), address); it != std::sregex_iterator(); ++it) {
        std::string url = (*it)[1];
        ASSERT_TRUE(startsWith(url, origin)) << url;
        EXPECT_FALSE(servedBytes(url.substr(origin.size() - 1)).empty()) << url;
        ++images;
    }
    EXPECT_EQ(images, 2) << "one preview per class";
    for (std::string command :
         {"showMyOneClassFaces||" + kHappyClass + "--1", "showMyOneClassFaces||" + kWorkClass + "--1",
          std::string("manage||-"), std::string("addFace||-"), std::string("loginout||-"),
          std::string("web3returnasdg||-")})
        EXPECT_TRUE(contains(page, "data-cmd=\"" + command + "\"")) << command;
    EXPECT_TRUE(contains(page, "开心") && contains(page, "工作"));

    httplib::Headers host{{"Host", "faces.example:8080"}};
    auto res = http().Get("/soft/myClass.asp?uName=demo", host);
    ASSERT_TRUE(res);
    EXPECT_TRUE(contains(res->body, "src=\"http://faces.example:8080/soft/" + kHappyClass + "/s_"));

    EXPECT_EQ(get("/soft/myClass.asp?uName=nobody")->status, 404);
    EXPECT_EQ(get("/soft/myClass.asp")->status, 400);
}

TEST_F(ClassTest, ListingPagesHoldTwentyFacesInTheExactFormat) {
    Listing first = parseListing(text("/soft/showFace.asp?classId=" + kHappyClass + "&PageNo=1"));
    EXPECT_EQ(first.name, "开心");
    EXPECT_EQ(first.pages, "1,2");
    ASSERT_EQ(first.faces.size(), 20u);
    Listing second = parseListing(text("/soft/showFace.asp?classId=" + kHappyClass + "&PageNo=2"));
    EXPECT_EQ(second.pages, "2,2");
    ASSERT_EQ(second.faces.size(), 3u);

    std::set<std::string> pictures;
    for (const Listing* page : {&first, &second}) {
        for (const auto& [thumb, picture] : page->faces) {
            std::smatch m;
            ASSERT_TRUE(std::regex_match(picture, m, std::regex(R"((\d+)/(\d+)\.(gif|jpg|bmp))"))) << picture;
            EXPECT_EQ(m[1], kHappyClass);
            EXPECT_EQ(thumb, kHappyClass + "/s_" + m[2].str() + "." + m[3].str());
            QImage small = QImage::fromData(QByteArray::fromStdString(servedBytes("/soft/" + thumb)));
            QImage large = QImage::fromData(QByteArray::fromStdString(servedBytes("/soft/" + picture)));
            EXPECT_EQ(large.size(), QSize(96, 96)) << picture;
            EXPECT_EQ(small.size(), QSize(48, 48)) << thumb;
            pictures.insert(picture);
        }
    }
    EXPECT_EQ(pictures.size(), 23u) << "no face twice";

    EXPECT_EQ(parseListing(text("/soft/showFace.asp?classId=" + kWorkClass + "&PageNo=1")).pages, "1,1");
    EXPECT_EQ(get("/soft/showFace.asp?classId=" + kHappyClass + "&PageNo=3")->status, 404);
    EXPECT_EQ(get("/soft/showFace.asp?classId=999&PageNo=1")->status, 404);
    EXPECT_EQ(get("/soft/showFace.asp?classId=abc&PageNo=1")->status, 400);
    EXPECT_EQ(get("/soft/showFace.asp?classId=" + kHappyClass + "&PageNo=x")->status, 400);
}

TEST_F(ClassTest, ClassListScriptHasTheExactFormat) {
    auto res = get("/soft/manageClass_ajax.asp?action=classList_Script&userName=demo&t=1");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->get_header_value("Content-Type"), "text/javascript; charset=gbk");
    EXPECT_EQ(fromGbk(res->body),
              "var classList=[{id:'" + kHappyClass + "',name:'开心'},{id:'" + kWorkClass + "',name:'工作'}];");
}

TEST_F(ClassTest, ManagerActionsAddRenameAndDeleteClassesAndFaces) {
    auto added = act("demo", "addClass", "&name=" + percentEncode("新分类"));
    ASSERT_TRUE(added);
    ASSERT_EQ(added->status, 200) << added->body;
    std::string id = classIdOf(added);
    EXPECT_EQ(text("/soft/showFace.asp?classId=" + id + "&PageNo=1"), "新分类--1,1") << "an empty class";
    EXPECT_EQ(act("demo", "addClass", "&name=" + percentEncode("新分类"))->status, 409);

    EXPECT_EQ(act("demo", "renameClass", "&classId=" + id + "&name=" + percentEncode("收藏"))->status, 200);
    EXPECT_EQ(text("/soft/showFace.asp?classId=" + id + "&PageNo=1"), "收藏--1,1");
    EXPECT_TRUE(contains(text("/soft/manageClass_ajax.asp?action=classList_Script&userName=demo"),
                         "{id:'" + id + "',name:'收藏'}"));

    EXPECT_EQ(act("demo", "deleteClass", "&classId=" + id)->status, 200);
    EXPECT_EQ(get("/soft/showFace.asp?classId=" + id + "&PageNo=1")->status, 404);
    auto again = act("demo", "addClass", "&name=x");
    EXPECT_NE(classIdOf(again), id) << "ids are never given twice";

    Listing before = parseListing(text("/soft/showFace.asp?classId=" + kWorkClass + "&PageNo=1"));
    ASSERT_EQ(before.faces.size(), 5u);
    std::string faceId = split(split(before.faces[0].second, "/")[1], ".")[0];
    EXPECT_EQ(act("demo", "deleteFace", "&classId=" + kWorkClass + "&faceId=" + faceId)->status, 200);
    EXPECT_EQ(parseListing(text("/soft/showFace.asp?classId=" + kWorkClass + "&PageNo=1")).faces.size(), 4u);
    EXPECT_EQ(get("/soft/" + before.faces[0].second)->status, 404);
    EXPECT_EQ(get("/soft/" + before.faces[0].first)->status, 404);
    EXPECT_EQ(act("demo", "deleteFace", "&classId=" + kWorkClass + "&faceId=" + faceId)->status, 404);
}

TEST_F(ClassTest, ClassNamesThatWouldBreakTheListingOrScriptsAreRefused) {
    for (const char* name : {"a||b", "a--b", "a$$b", "a'b", "a\\b", "a\nb", "a\rb", "ab-", "ab|", "", "  ", "<b>",
                             "a\"b", "一二三四五六七八九十一二三四五六七八九十一"}) {
        auto res = act("demo", "addClass", "&name=" + percentEncode(name));
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 400) << name;
        EXPECT_EQ(act("demo", "renameClass", "&classId=" + kWorkClass + "&name=" + percentEncode(name))->status, 400)
            << name;
    }
    EXPECT_EQ(act("demo", "addClass", "&name=" + percentEncode("a-b|c$d"))->status, 200);
}

TEST_F(ClassTest, AnAccountCannotTouchAnotherAccountsClasses) {
    postForm("/soft/login2.asp", "action=register&name=bob&password=bobpass");
    EXPECT_EQ(act("bob", "deleteClass", "&classId=" + kHappyClass)->status, 404);
    EXPECT_EQ(act("bob", "renameClass", "&classId=" + kHappyClass + "&name=mine")->status, 404);
    EXPECT_EQ(act("bob", "deleteFace", "&classId=" + kHappyClass + "&faceId=1")->status, 404);
    EXPECT_EQ(act("nobody", "addClass", "&name=x")->status, 404);
    EXPECT_EQ(parseListing(text("/soft/showFace.asp?classId=" + kHappyClass + "&PageNo=2")).faces.size(), 3u);
}

TEST_F(ClassTest, PagesAreSelfContainedGbkAndSendTheirCommands) {
    const std::pair<std::string, std::vector<std::string>> pages[] = {
        {"/soft/select.html",
         {"data-cmd=\"showFace||经典笑脸,3\"", "data-cmd=\"showFace||上班族,1\"", "data-cmd=\"showFace||萌萌小圆,2\"",
          "data-cmd=\"closeWeb2||-\"", "40 个表情"}},
        {"/soft/login2.asp", {"action=\"/soft/login2.asp\"", "name=\"password\"", "tovloCall('web', command)"}},
        {"/soft/manageClass.asp",
         {"'getName||-'", "function setName(", "data-cmd=\"closeManage||-\"", "'addClass||-'", "'changeClass||-'",
          "'deleteClass||-'", "'deleteFace||' + c.id + '--' + f.id", "'addFace||' + classId + '--' + address"}},
        {"/soft/uploadFace.asp?classId=" + kHappyClass,
         {"action=\"/soft/addUpLoad.asp\"", "enctype=\"multipart/form-data\"",
          "name=\"classId\" value=\"" + kHappyClass, "name=\"myFile\"", "name=\"Submit\"", "function call("}},
    };
    for (const auto& [path, needles] : pages) {
        auto res = get(path);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 200) << path;
        EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=gbk") << path;
        std::string page = fromGbk(res->body);
        EXPECT_TRUE(contains(page, "<meta charset=\"gbk\">")) << path;
        for (const std::string& needle : needles) EXPECT_TRUE(contains(page, needle)) << path << ": " << needle;
        // Nothing from elsewhere: no linked files, no outside addresses.
        EXPECT_FALSE(contains(page, "<link")) << path;
        EXPECT_FALSE(contains(page, "http://") || contains(page, "https://")) << path;
        EXPECT_FALSE(std::regex_search(page, std::regex(R"~(src="(?!/soft/)[^"]*")~"))) << path;
    }
    EXPECT_EQ(get("/soft/uploadFace.asp?classId=999")->status, 404);
}

// The plain files of the contract: reachability, parameters, packs (with
// Chinese names, GBK in their addresses), the update tree, and the request
// log.
#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <regex>

#include "core/text.h"
#include "core/urls.h"
#include "devservice_test.h"

using namespace tovlo;
using namespace tovlo::test;

namespace {

QImage decode(const std::string& bytes) { return QImage::fromData(QByteArray::fromStdString(bytes)); }

int frameCount(const std::string& bytes) {
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    QImageReader reader(&buffer);
    return reader.imageCount();
}

using StaticFilesTest = DevServiceTest;

}  // namespace

TEST_F(StaticFilesTest, AnnouncesItsPortAndAnswersConnectWithExactlyOne) {
    EXPECT_EQ(service.firstLine(), "devservice listening on 127.0.0.1:" + std::to_string(service.port()));
    auto res = get("/soft/connect.html");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->body, "1");
    EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=gbk");
    EXPECT_EQ(servedBytes("/soft/connect.html?t=12:30:45:45"), "1");
}

TEST_F(StaticFilesTest, ParamsIsAPlainFileOfTheDataFolder) {
    EXPECT_EQ(servedBytes("/soft/params.html"), "isQQShow=false");
    writeBytes(service.dataFolder() + "/soft/params.html", "isQQShow=true||faceHttpPath=http://x/soft/");
    EXPECT_EQ(servedBytes("/soft/params.html"), "isQQShow=true||faceHttpPath=http://x/soft/");
}

TEST_F(StaticFilesTest, EveryPackListsAllItsFilesWithTheVersionMarker) {
    const std::pair<std::string, std::string> packs[] = {{"经典笑脸", "3"}, {"上班族", "1"}, {"萌萌小圆", "2"}};
    std::set<std::string> kinds;
    int animated = 0;
    for (const auto& [pack, version] : packs) {
        std::string list = servedBytes(packAddress(pack, "imgs.txt?t=10:00:00:00"));
        std::vector<std::string> names = split(list, "/");
        ASSERT_GE(names.size(), 13u) << pack;
        ASSERT_LE(names.size(), 41u) << pack;
        EXPECT_EQ(names.back(), "ver-" + version + ".txt");
        EXPECT_EQ(servedBytes(packAddress(pack, names.back())), version);
        names.pop_back();
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::smatch m;
            ASSERT_TRUE(std::regex_match(names[i], m, std::regex(R"((\d+)-([1-6])\.(gif|jpg))"))) << names[i];
            EXPECT_EQ(std::stoul(m[1]), i / 6 + 1) << names[i];
            EXPECT_EQ(std::stoul(m[2]), i % 6 + 1) << names[i];
            std::string bytes = servedBytes(packAddress(pack, names[i]));
            QImage face = decode(bytes);
            ASSERT_FALSE(face.isNull()) << pack << "/" << names[i];
            EXPECT_EQ(face.size(), QSize(48, 48));
            kinds.insert(m[3]);
            if (m[3] == "gif") {
                EXPECT_EQ(qAlpha(face.pixel(0, 0)), 0) << "GIF corners are transparent";
                EXPECT_EQ(qAlpha(face.pixel(24, 10)), 255) << "the face itself is opaque";
                if (frameCount(bytes) > 1) ++animated;
            }
        }
    }
    EXPECT_EQ(kinds, (std::set<std::string>{"gif", "jpg"}));
    EXPECT_GE(animated, 2);
}

TEST_F(StaticFilesTest, ChineseNamesAreAddressedInGbkAndStoredInUtf8) {
    const std::string pack = "萌萌小圆";
    const std::string onDisk = service.dataFolder() + "/soft/" + pack + "/";
    std::string list = servedBytes(packAddress(pack, "imgs.txt?t=10:00:00:00"));
    ASSERT_EQ(list, readBytes(onDisk + "imgs.txt"));
    const std::string first = split(list, "/").front();
    EXPECT_EQ(servedBytes(packAddress(pack, first)), readBytes(onDisk + first));
    EXPECT_TRUE(contains(service.logText(), "GET /soft/%C3%C8%C3%C8%D0%A1%D4%B2/imgs.txt?t=10:00:00:00\n"))
        << service.logText();

    // The catalogue writes its previews' addresses the same way, and each
    // one brings the first face of its pack.
    std::string catalogue = text("/soft/select.html");
    std::smatch m;
    int previews = 0;
    for (auto at = catalogue.cbegin(); std::regex_search(at, catalogue.cend(), m, std::regex(R"~(src="([^"]+)")~"));
         at = m.suffix().first) {
        std::string address = m[1];
        EXPECT_TRUE(std::regex_match(address, std::regex(R"(/soft/(%[0-9A-F]{2})+/1-1\.(gif|jpg))"))) << address;
        std::string folder = fromGbk(percentDecode(split(address, "/")[2]));
        EXPECT_EQ(servedBytes(address),
                  readBytes(service.dataFolder() + "/soft/" + folder + "/" + split(address, "/")[3]))
            << folder;
        ++previews;
    }
    EXPECT_EQ(previews, 3);

    // A GBK character whose second byte is "\" is a name like any other.
    writeBytes(service.dataFolder() + "/soft/乗/a.txt", "found");
    EXPECT_EQ(servedBytes("/soft/%81%5C/a.txt"), "found");
}

TEST_F(StaticFilesTest, UpdateTreeServesTheVersionListNewsAndEachVersionsFiles) {
    EXPECT_EQ(servedBytes("/soft/update/update.txt?d=2024-05-01%2012:00:00"), "1.0-1.1-1.2-");
    std::string news = servedBytes("/soft/update/news.txt");
    EXPECT_EQ(split(news, "\r\n").size(), split(news, "\n").size()) << "every line ends in CR LF";
    for (const char* version : {"1.0", "1.1", "1.2"}) EXPECT_TRUE(contains(news, version)) << version;
    // The news of 1.1 (from its first mention on) does not speak of 1.2.
    EXPECT_FALSE(contains(news.substr(news.find("1.1")), "1.2"));

    bool renamed = false;
    for (const std::string version : {"1.1", "1.2"}) {
        std::string urls = servedBytes("/soft/update/" + version + "/urls.txt?d=2024-05-01%2012:00:00");
        ASSERT_FALSE(urls.empty());
        for (const std::string& entry : split(urls, "--")) {
            EXPECT_FALSE(servedBytes("/soft/update/" + version + "/" + entry + "?d=x").empty()) << entry;
            renamed = renamed || (contains(entry, "__") && entry.ends_with(".txt"));
        }
    }
    EXPECT_TRUE(renamed) << "one file is served under the __ext.txt naming";
}

TEST_F(StaticFilesTest, TheLogHasOneLinePerRequestAsItWasSent) {
    get("/soft/myClass.asp?uName=%D5%C5%C8%FD&t=12:30:45:45");
    get("/soft/connect.html");
    http().Post("/soft/login2.asp", "name=demo", "application/x-www-form-urlencoded");
    EXPECT_EQ(service.logText(),
              "GET /soft/myClass.asp?uName=%D5%C5%C8%FD&t=12:30:45:45\n"
              "GET /soft/connect.html\n"
              "POST /soft/login2.asp\n");
}

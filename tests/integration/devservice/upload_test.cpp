// POST /soft/addUpLoad.asp, sent byte for byte as the program's upload
// client sends it, with every result value.
#include <QImage>

#include <regex>

#include "core/text.h"
#include "devservice_test.h"

using namespace tovlo;
using namespace tovlo::test;

namespace {

const std::string kPath = "C:\\Documents and Settings\\张三\\Application Data\\Tencent\\QQ\\Temp\\{8F3A}.gif";

class UploadTest : public DevServiceTest {
protected:
    std::string gifFace() { return servedBytes(packAddress("经典笑脸", "1-1.gif")); }
    std::string jpegFace() { return servedBytes(packAddress("上班族", "1-1.jpg")); }
    std::size_t facesIn(const std::string& classId) {
        std::string listing = text("/soft/showFace.asp?classId=" + classId + "&PageNo=1");
        return split(splitFirst(listing, "--").value_or(std::pair{listing, ""}).first, "||").size() - 1;
    }
    // The result value between "call(" and ")".
    std::string result(const RawAnswer& answer) {
        std::smatch m;
        return std::regex_search(answer.body, m, std::regex(R"(call\(([^)]*)\))")) ? m[1].str() : "none";
    }
};

}  // namespace

TEST_F(UploadTest, AnUploadAsTheProgramSendsItIsStoredWithAThumbnail) {
    std::string picture = jpegFace();
    RawAnswer answer = uploadAsTheProgram(service.port(), kWorkClass, kPath, picture);
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(result(answer), kWorkClass);
    EXPECT_TRUE(std::regex_search(answer.head, std::regex("Content-Length: \\d+", std::regex::icase)));
    EXPECT_LT(answer.body.size(), 100u) << "a short answer";

    std::string listing = text("/soft/showFace.asp?classId=" + kWorkClass + "&PageNo=1");
    std::vector<std::string> items = split(splitFirst(listing, "--")->first, "||");
    ASSERT_EQ(items.size(), 7u) << listing;
    std::vector<std::string> newest = split(items.back(), "$$");
    ASSERT_TRUE(std::regex_match(newest[1], std::regex(kWorkClass + R"(/\d+\.jpg)"))) << newest[1];
    EXPECT_EQ(servedBytes("/soft/" + newest[1]), picture) << "the picture is kept as sent";
    QImage thumbnail = QImage::fromData(QByteArray::fromStdString(servedBytes("/soft/" + newest[0])));
    EXPECT_EQ(thumbnail.size(), QSize(48, 48));
}

TEST_F(UploadTest, SizeAndFormatAreJudgedFromTheBytes) {
    // A GIF padded to exactly 102400 bytes still decodes and is accepted.
    std::string gif = gifFace();
    std::string limit = gif + std::string(102400 - gif.size(), '\0');
    EXPECT_EQ(result(uploadAsTheProgram(service.port(), kWorkClass, kPath, limit)), kWorkClass);
    EXPECT_EQ(result(uploadAsTheProgram(service.port(), kWorkClass, kPath, limit + "x")), "0");

    EXPECT_EQ(result(uploadAsTheProgram(service.port(), kWorkClass, kPath, "just some text")), "1")
        << "named .gif, but it is text";
    EXPECT_EQ(result(uploadAsTheProgram(service.port(), kWorkClass, kPath, "GIF89a" + std::string(200, '\x7f'))), "1")
        << "a GIF header on bytes that are no picture";
    EXPECT_EQ(result(uploadAsTheProgram(service.port(), kWorkClass, "D:\\pics\\face.txt", jpegFace())), kWorkClass)
        << "a JPEG is a JPEG whatever its name";
    EXPECT_EQ(facesIn(kWorkClass), 7u);
}

TEST_F(UploadTest, OtherErrorsAnswerTwo) {
    EXPECT_EQ(result(uploadAsTheProgram(service.port(), "999", kPath, gifFace())), "2") << "unknown class";
    EXPECT_EQ(result(uploadAsTheProgram(service.port(), "abc", kPath, gifFace())), "2") << "no class id";

    std::string b = "xyz";
    std::string body = "--" + b + "\r\nContent-Disposition: form-data; name=\"classId\"\r\n\r\n" + kWorkClass +
                       "\r\n--" + b + "--\r\n";
    RawAnswer missing = rawExchange(
        service.port(), {"POST /soft/addUpLoad.asp HTTP/1.1\r\nHost: x\r\nContent-Type: multipart/form-data; "
                         "boundary=" +
                         b + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body});
    EXPECT_EQ(result(missing), "2") << "no picture part";

    auto plain = http().Post("/soft/addUpLoad.asp", "classId=11", "application/x-www-form-urlencoded");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->status, 400);
    EXPECT_TRUE(contains(plain->body, "call(2)"));
    EXPECT_EQ(facesIn(kWorkClass), 5u);
}

TEST_F(UploadTest, AClassHoldsFiftyFacesAndThenAnswersThree) {
    std::string gif = gifFace();
    for (std::size_t n = facesIn(kWorkClass); n < 50; ++n)
        ASSERT_EQ(result(uploadAsTheProgram(service.port(), kWorkClass, kPath, gif)), kWorkClass) << n;
    EXPECT_EQ(result(uploadAsTheProgram(service.port(), kWorkClass, kPath, gif)), "3");
    EXPECT_EQ(text("/soft/showFace.asp?classId=" + kWorkClass + "&PageNo=3").substr(0, 6), "工作");
    EXPECT_TRUE(text("/soft/showFace.asp?classId=" + kWorkClass + "&PageNo=3").ends_with("--3,3"));
}

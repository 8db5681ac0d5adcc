// The upload request as bytes: its header block, its body around the
// picture, a Content-Length that counts the bytes really sent (GBK text
// included), the picture's pieces and the result read from the answer.
#include <gtest/gtest.h>

#include <numeric>

#include "core/text.h"
#include "platform/native_codec.h"
#include "upload/upload_request.h"

namespace tovlo {
namespace {

const std::string kPath = "/home/张三/图片/笑脸.gif";

class UploadRequestTest : public ::testing::Test {
protected:
    NativeCodec codec;
    std::string gbk(const std::string& utf8) { return codec.utf8ToAnsi(utf8); }
    std::vector<std::string> headLines(const UploadRequest& r) {
        return split(r.head.substr(0, r.head.find("\r\n\r\n")), "\r\n");
    }
};

TEST_F(UploadRequestTest, HeaderFieldsComeInTheirOrderAndTheLengthCountsTheBodyAsSent) {
    const std::string picture(5000, '\x47');
    const UploadRequest r = buildUploadRequest(codec, "face.example.net", "工作12", kPath, 5000);

    const std::vector<std::string> lines = headLines(r);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "POST /soft/addUpLoad.asp HTTP/1.1");
    const std::vector<std::string> names = {"Accept",          "Referer",       "Accept-Language", "Content-Type",
                                            "Accept-Encoding", "Host",          "User-Agent",      "Connection",
                                            "Cache-Control",   "Content-Length"};
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_TRUE(startsWith(lines[i + 1], names[i] + ": ")) << lines[i + 1];
    EXPECT_EQ(lines[2], "Referer: http://face.example.net/example/upfile.htm");
    EXPECT_EQ(lines[4], "Content-Type: multipart/form-data; boundary=---------------------------7d32b5e2406c6");
    EXPECT_EQ(lines[6], "Host: face.example.net:80");

    // Everything after the blank line is body: it, the picture and the tail
    // together are exactly Content-Length bytes, the Chinese in GBK.
    const std::string body = r.head.substr(r.head.find("\r\n\r\n") + 4) + picture + r.tail;
    EXPECT_EQ(lines[10], "Content-Length: " + std::to_string(body.size()));
    EXPECT_EQ(r.bodyBytes, static_cast<std::int64_t>(body.size()));
    EXPECT_NE(body.find("\r\n\r\n" + gbk("工作12") + "\r\n"), std::string::npos);
    EXPECT_NE(body.find("; filename=\"" + gbk(kPath) + "\"\r\nContent-Type: application/octet-stream\r\n\r\n" +
                        picture + "\r\n--"),
              std::string::npos);
    const std::string delimiter = "-----------------------------7d32b5e2406c6";
    EXPECT_EQ(r.tail, "\r\n" + delimiter + "\r\nContent-Disposition: form-data; name=\"Submit\"\r\n\r\n" +
                          gbk("·     提交     ·") + "\r\n" + delimiter + "--\r\n\r\n");
}

TEST_F(UploadRequestTest, AHostWithAPortKeepsIt) {
    const UploadRequest r = buildUploadRequest(codec, "127.0.0.1:8080", "", kPath, 0);
    EXPECT_EQ(headLines(r)[6], "Host: 127.0.0.1:8080");
    EXPECT_EQ(headLines(r)[2], "Referer: http://127.0.0.1:8080/example/upfile.htm");
}

TEST_F(UploadRequestTest, ThePictureGoesInWholePiecesAndARemainderOnlyWhenThereIsOne) {
    EXPECT_EQ(uploadPieces(16384), (std::vector<std::int64_t>{8192, 8192}));
    EXPECT_EQ(uploadPieces(8193), (std::vector<std::int64_t>{8192, 1}));
    EXPECT_TRUE(uploadPieces(0).empty());
    const std::vector<std::int64_t> largest = uploadPieces(kMaxUploadBytes);
    EXPECT_EQ(largest.size(), 13u);  // 12 whole pieces and 4096 bytes
    EXPECT_EQ(std::accumulate(largest.begin(), largest.end(), std::int64_t{0}), kMaxUploadBytes);
}

TEST_F(UploadRequestTest, TheResultIsWhatStandsBetweenCallAndTheNextParenthesis) {
    EXPECT_EQ(uploadResultIn("<script>parent.call(17)</script>"), "17");
    EXPECT_EQ(uploadResultIn("HTTP/1.1 200 OK\r\n\r\ncall(0)"), "0");
    EXPECT_EQ(uploadResultIn("call()"), "");
    EXPECT_EQ(uploadResultIn("<html>busy</html>"), std::nullopt);
    EXPECT_EQ(uploadResultIn("<script>parent.call(1"), std::nullopt) << "not all of it has arrived";
}

}  // namespace
}  // namespace tovlo

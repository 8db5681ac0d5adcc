// The upload of one picture on fake connections and the virtual clock: the
// size limit, streaming piece by piece, the connection time-out, a refused
// connection, and an answer that comes in parts.
#include <gtest/gtest.h>

#include "core/errors.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_tcp_client.h"
#include "platform/native_codec.h"
#include "support/temp_dir.h"
#include "upload/face_upload.h"

namespace tovlo {
namespace {

class FaceUploadTest : public ::testing::Test {
public:
    FakeEventLoop loop;
    FakeTcpClients clients;
    NativeCodec codec;
    test::TempDir dir;
    FaceUpload upload{clients, loop, codec, "127.0.0.1:8080"};
    std::vector<std::string> results;
    int noConnection = 0;
    int noAnswer = 0;

    void SetUp() override {
        upload.onResult = [this](const std::string& v) { results.push_back(v); };
        upload.onNoConnection = [this] { ++noConnection; };
        upload.onNoAnswer = [this] { ++noAnswer; };
    }
    // Starts an upload and lets its whole request go out.
    void sendRequest() {
        upload.start("10", picture(300));
        client().accept();
        client().drain();
        client().drain();
    }
    std::string picture(std::size_t bytes) {
        std::string data(bytes, '\0');
        for (std::size_t i = 0; i < bytes; ++i) data[i] = static_cast<char>('a' + i % 26);
        test::writeBytes(dir / "face.gif", data);
        return dir / "face.gif";
    }
    FakeTcpClient& client() { return *clients.made.back(); }
};

TEST_F(FaceUploadTest, PicturesUpTo102400BytesGoAndLargerOnesAreRefusedWithoutAConnection) {
    EXPECT_EQ(upload.start("10", picture(102401)), FaceUpload::Start::tooLarge);
    EXPECT_TRUE(clients.made.empty());
    EXPECT_EQ(upload.start("10", picture(102400)), FaceUpload::Start::sending);
    ASSERT_EQ(clients.made.size(), 1u);
    EXPECT_EQ(client().host, "127.0.0.1");
    EXPECT_EQ(client().port, 8080);
}

TEST_F(FaceUploadTest, APictureThatIsNotThereSendsNothing) {
    EXPECT_THROW(upload.start("10", dir / "gone.gif"), FileNotFoundError);
    EXPECT_THROW(upload.start("10", dir.path()), FileNotFoundError) << "a folder is no picture";
    EXPECT_TRUE(clients.made.empty());
}

TEST_F(FaceUploadTest, ThePictureIsStreamedOnePieceAtATimeBetweenHeadAndTail) {
    const std::string path = picture(2 * 8192);  // whole pieces only: no empty remainder
    upload.start("10", path);
    EXPECT_TRUE(client().sends.empty()) << "nothing before the connection";
    client().accept();
    ASSERT_EQ(client().sends.size(), 1u);  // the head
    for (int i = 0; i < 3; ++i) {
        client().drain();  // the next piece goes only once the previous one has left
        EXPECT_EQ(client().sends.size(), static_cast<std::size_t>(i + 2));
    }
    client().drain();
    EXPECT_EQ(client().sends.size(), 4u) << "nothing after the tail";

    const UploadRequest request = buildUploadRequest(codec, "127.0.0.1:8080", "10", path, 2 * 8192);
    EXPECT_EQ(client().sends[1].size(), 8192u);
    EXPECT_EQ(client().sends[2].size(), 8192u);
    std::string bytes(2 * 8192, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>('a' + i % 26);
    EXPECT_EQ(client().sentBytes(), request.head + bytes + request.tail);
}

TEST_F(FaceUploadTest, APictureThatShrankWhileItIsSentFailsTheUploadUnpadded) {
    const std::string path = picture(2 * 8192);
    upload.start("10", path);
    client().accept();
    client().drain();  // the first piece
    std::filesystem::resize_file(path, 8192 + 100);
    client().drain();
    EXPECT_EQ(noAnswer, 1);
    EXPECT_TRUE(client().closed);
    EXPECT_EQ(client().sends.size(), 2u) << "neither the short piece nor the tail";
}

TEST_F(FaceUploadTest, TheResultIsReadOnceTheAnswerHasArrivedWhole) {
    upload.start("10", picture(300));
    client().accept();
    client().drain();
    client().drain();
    client().answer("HTTP/1.1 200 OK\r\n\r\n<script>parent.call(1");
    EXPECT_TRUE(results.empty());
    client().answer("7)</script>");
    EXPECT_EQ(results, std::vector<std::string>{"17"});
    EXPECT_TRUE(client().closed);
}

TEST_F(FaceUploadTest, NoConnectionWithinTenSecondsOrARefusalEndsTheUpload) {
    upload.start("10", picture(300));
    loop.advance(9999);
    EXPECT_EQ(noConnection, 0);
    loop.advance(1);
    EXPECT_EQ(noConnection, 1);
    EXPECT_TRUE(client().closed);

    upload.start("10", picture(300));
    client().refuse();
    EXPECT_EQ(noConnection, 2) << "a refusal is known at once";
    loop.advance(20000);
    EXPECT_EQ(noConnection, 2) << "and is told once";
}

// Once the request has gone out, the answer has a time of its own; an answer
// that never comes, never completes or grows without end is no answer, told
// once; the connection time-out no longer applies.
TEST_F(FaceUploadTest, AnAnswerThatCannotBeReadEndsTheUploadOnce) {
    struct Case {
        const char* what;
        std::function<void(FaceUploadTest&)> fault;
    };
    const Case cases[] = {
        {"silence", [](FaceUploadTest& t) { t.loop.advance(limits::kUploadAnswerMs); }},
        {"closed before the answer", [](FaceUploadTest& t) { t.client().refuse(); }},
        {"closed after half an answer",
         [](FaceUploadTest& t) {
             t.client().answer("<script>parent.call(1");
             t.client().refuse();
         }},
        {"an endless answer without a result",
         [](FaceUploadTest& t) {
             for (int i = 0; i < 20; ++i) t.client().answer(std::string(8192, 'x'));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        noAnswer = 0;
        noConnection = 0;
        results.clear();
        sendRequest();
        loop.advance(limits::kUploadAnswerMs - 1);
        EXPECT_EQ(noAnswer, 0) << "still waiting";
        c.fault(*this);
        EXPECT_EQ(noAnswer, 1);
        EXPECT_EQ(noConnection, 0);
        EXPECT_TRUE(results.empty());
        EXPECT_TRUE(client().closed);
        loop.advance(2 * limits::kUploadAnswerMs);
        EXPECT_EQ(noAnswer, 1) << "told once";
    }
}

// The answer is read however it is cut up, and each arrival is looked at once.
TEST_F(FaceUploadTest, AnAnswerInOneBytePiecesIsReadAtItsClosingBracket) {
    sendRequest();
    const std::string answer = "HTTP/1.1 200 OK\r\n\r\n<script>parent.cal(9);parent.call(42)</script>";
    for (std::size_t i = 0; i < answer.size() && results.empty(); ++i) client().answer(answer.substr(i, 1));
    EXPECT_EQ(results, std::vector<std::string>{"42"});
    EXPECT_EQ(noAnswer, 0);
    // The same read whole, and by the function that reads whole answers.
    EXPECT_EQ(uploadResultIn(answer), std::optional<std::string>("42"));
    EXPECT_EQ(uploadResultIn("call(7"), std::nullopt);
    EXPECT_EQ(uploadResultIn(std::string(limits::kUploadAnswerBytes, 'x') + "call(1)"), std::nullopt)
        << "past the bound nothing is read";
}

}  // namespace
}  // namespace tovlo

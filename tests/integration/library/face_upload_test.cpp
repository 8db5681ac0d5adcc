// The add-face upload over a real TCP connection to the devservice: the
// picture lands in the class and the result names the class; a service
// that is not there is known at once.
#include <gtest/gtest.h>

#include <filesystem>

#include "devservice_process.h"
#include "platform/posix/iconv_codec.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_tcp_client.h"
#include "run_events.h"
#include "support/temp_dir.h"
#include "upload/face_upload.h"

namespace tovlo::test {
namespace {

namespace fs = std::filesystem;

class FaceUploadOverTcpTest : public ::testing::Test {
protected:
    void startUpload(int port, const std::string& classId, const std::string& path) {
        upload = std::make_unique<FaceUpload>(clients, loop, codec, "127.0.0.1:" + std::to_string(port));
        upload->onResult = [this](const std::string& v) { result = v; };
        upload->onNoConnection = [this] { noConnection = true; };
        ASSERT_EQ(upload->start(classId, path), FaceUpload::Start::sending);
    }

    QtEventLoop loop;
    IconvCodec codec;
    QtTcpClients clients;
    TempDir dir;
    std::unique_ptr<FaceUpload> upload;
    std::optional<std::string> result;
    bool noConnection = false;
};

TEST_F(FaceUploadOverTcpTest, APictureIsAddedToTheClassAndTheAnswerNamesIt) {
    DevServiceProcess service;
    // A folder with Chinese in its name: the path travels in GBK.
    fs::create_directories(dir / "图片");
    const std::string path = dir / "图片/笑脸.gif";
    fs::copy_file(std::string(DEVSERVICE_DATA) + "/soft/经典笑脸/1-1.gif", path);
    const auto facesBefore =
        std::distance(fs::directory_iterator(service.dataFolder() + "/soft/10"), fs::directory_iterator());
    startUpload(service.port(), "10", path);
    ASSERT_TRUE(runEventsUntil([&] { return result.has_value() || noConnection; }, 10000));
    EXPECT_EQ(result, "10");
    // The picture and its thumbnail.
    EXPECT_EQ(std::distance(fs::directory_iterator(service.dataFolder() + "/soft/10"), fs::directory_iterator()),
              facesBefore + 2);
}

TEST_F(FaceUploadOverTcpTest, AServiceThatIsNotThereIsKnownAtOnce) {
    int port = 0;
    {
        DevServiceProcess gone;  // a port that was free a moment ago
        port = gone.port();
    }
    test::writeBytes(dir / "face.gif", "GIF89a");
    startUpload(port, "10", dir / "face.gif");
    ASSERT_TRUE(runEventsUntil([&] { return result.has_value() || noConnection; }, 5000));
    EXPECT_TRUE(noConnection);
}

}  // namespace
}  // namespace tovlo::test

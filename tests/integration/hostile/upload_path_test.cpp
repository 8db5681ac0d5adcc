// The upload's answer from a hostile service: the add-face panel always ends
// with a result (the unknown error when no answer can be read), and the
// windows go on while it waits.
#include "hostile_fixture.h"
#include "run_events.h"
#include "upload/face_upload.h"
#include "upload/upload_request.h"

namespace tovlo::test {

TEST_F(HostileTest, AnUploadToAHostileServiceEndsWithAResult) {
    struct Case {
        const char* what;
        std::string answer;
        Fault fault = Fault::none;
        bool resetting = false;
        std::optional<std::string> result;  // the value read, or nothing (no answer)
    };
    const Case cases[] = {
        {"a fine answer", "<script>parent.call(12)</script>", Fault::none, false, "12"},
        {"an answer without end", "", Fault::endless, false, std::nullopt},
        {"a trickling answer", "", Fault::trickle, false, std::nullopt},
        {"an answer cut before its result", "<script>parent.call(12)</script>", Fault::cut, false, std::nullopt},
        {"a server error holding a result", "parent.call(2)", Fault::serverError, false, "2"},
        {"an answer without a result", "<html>no result</html>", Fault::none, false, std::nullopt},
        {"a long answer", hostile::longLine(200 * 1024) + "call(3)", Fault::none, false, std::nullopt},
        {"connections reset", "", Fault::none, true, std::nullopt},
    };
    writeBytes(root / "face.gif", "GIF89a picture");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        service.serve(kUploadPath, c.answer, c.fault);
        FaceUpload upload(connections, loop, codec, c.resetting ? service.resettingHost() : service.host(), kAnswerMs);
        std::optional<std::string> result;
        bool ended = false;
        upload.onResult = [&](const std::string& v) {
            result = v;
            ended = true;
        };
        upload.onNoAnswer = [&] { ended = true; };
        upload.onNoConnection = [&] { ended = true; };
        ASSERT_EQ(upload.start("12", root / "face.gif"), FaceUpload::Start::sending);
        ASSERT_TRUE(runEventsUntil([&] { return ended; }, kAnswerMs + 5000)) << "the upload ends";
        EXPECT_EQ(result, c.result);
    }
}

}  // namespace tovlo::test

// --delay-ms: answers for plain files of soft/ are held, while the pages
// answer at once.
#include <chrono>
#include <cstdlib>

#include <sys/wait.h>

#include "devservice_test.h"

using namespace tovlo;
using namespace tovlo::test;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kDelayMs = 800;

struct Timed {
    int status = 0;
    std::string body;
    long ms = 0;
};

// A GET on a connection of its own.
Timed timedGet(int port, const std::string& target) {
    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(10, 0);
    auto start = Clock::now();
    auto res = client.Get(target.c_str());
    Timed timed;
    timed.ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    if (res) {
        timed.status = res->status;
        timed.body = res->body;
    }
    return timed;
}

}  // namespace

TEST(DelayTest, FileAnswersWaitWhilePagesAnswerAtOnce) {
    DevServiceProcess service({"--delay-ms", std::to_string(kDelayMs)});
    const std::string face = packAddress("经典笑脸", "1-1.gif");
    struct Row {
        std::string target;
        int status;
        bool held;
    };
    const Row rows[] = {
        {face, 200, true},
        {packAddress("经典笑脸", "imgs.txt?t=10:00:00:00"), 200, true},
        {"/soft/" + kHappyClass + "/1.gif", 200, true},
        {"/soft/connect.html", 200, true},
        {"/soft/select.html", 200, false},
        {"/soft/showFace.asp?classId=" + kHappyClass + "&PageNo=1", 200, false},
    };
    for (const Row& row : rows) {
        Timed answer = timedGet(service.port(), row.target);
        EXPECT_EQ(answer.status, row.status) << row.target;
        if (row.held)
            EXPECT_GE(answer.ms, kDelayMs) << row.target;
        else
            EXPECT_LT(answer.ms, kDelayMs) << row.target;
    }
    EXPECT_EQ(timedGet(service.port(), face).body, readBytes(service.dataFolder() + "/soft/经典笑脸/1-1.gif"));
}

TEST(DelayTest, BadDelaysAreRefusedAtStart) {
    TempDir dir;
    for (const char* value : {"-1", "abc", "", "600001", "1e3", "5ms"}) {
        std::string command = "timeout 10 " + std::string(DEVSERVICE_BIN) + " --root " + dir.path() +
                              " --port 0 --delay-ms '" + value + "' >/dev/null 2>&1";
        int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << value;
        EXPECT_EQ(WEXITSTATUS(status), 2) << "--delay-ms '" << value << "'";
    }
}

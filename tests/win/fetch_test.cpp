// The blocking WinINet fetches against a loopback server: bodies and files
// arrive whole, failures are failures, Chinese in an address goes on the
// wire in GBK, and neither a stalled nor an endless answer holds the program
// nor, waiting for an answer, its windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "loopback_server.h"
#include "platform/win/win_codec.h"
#include "platform/win/win_waiting_fetch.h"
#include "platform/win/wininet_fetch.h"
#include "support/temp_dir.h"

namespace tovlo::test {

namespace {

WinInetFetch::Limits quick() {
    WinInetFetch::Limits limits;
    limits.connectTimeoutMs = 2000;
    limits.stallTimeoutMs = 700;
    limits.totalTimeoutMs = 5000;
    limits.maxBytes = 64 * 1024;
    return limits;
}

}  // namespace

TEST(WinInetFetch, BodiesArriveAndFailuresAreReported) {
    LoopbackServer server;
    WinCodec codec;
    WinInetFetch fetch(codec, quick());
    const std::string binary("GIF89a\0\x01\xFF\r\n", 11);
    server.serve("/soft/update/update.txt", "1.0-1.1-1.2-");
    server.serve("/soft/face.gif", binary);
    server.serve("/empty", "");
    server.answer("/error", {"HTTP/1.1 500 Internal Server Error\r\nContent-Length: 4", "oops"});
    server.answer("/moved", {"HTTP/1.1 302 Found\r\nLocation: /soft/face.gif\r\nContent-Length: 0", ""});

    struct Row {
        std::string path;
        std::optional<std::string> body;
    };
    const Row rows[] = {
        {"/soft/update/update.txt", "1.0-1.1-1.2-"},
        {"/soft/face.gif", binary},
        {"/empty", ""},
        {"/missing.txt", std::nullopt},
        {"/error", std::nullopt},
        {"/moved", binary},  // redirects are followed, as on the other systems
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(fetch.fetchBytes(server.url(row.path) + "?t=1"), row.body);
    }
    EXPECT_EQ(fetch.fetchBytes("ftp://127.0.0.1/x"), std::nullopt);
    EXPECT_EQ(fetch.fetchBytes("not an address"), std::nullopt);
}

TEST(WinInetFetch, ChineseInTheAddressGoesOnTheWireInGbk) {
    LoopbackServer server;
    WinCodec codec;
    WinInetFetch fetch(codec, quick());
    server.serve("/soft/%B1%ED%C7%E9/1.gif", "face");
    EXPECT_EQ(fetch.fetchBytes(server.url("/soft/表情/1.gif")), "face");
    ASSERT_FALSE(server.requests().empty());
    EXPECT_EQ(server.requests().back(), "GET /soft/%B1%ED%C7%E9/1.gif HTTP/1.1");
}

TEST(WinInetFetch, AFileIsReplacedOnlyByAWholeBody) {
    LoopbackServer server;
    WinCodec codec;
    WinInetFetch fetch(codec, quick());
    TempDir dir;
    const std::string file = dir / "表情/1.gif";
    writeBytes(file, "old");
    server.serve("/1.gif", "new face");
    EXPECT_FALSE(fetch.fetchToFile(server.url("/missing.gif"), file));
    EXPECT_EQ(readBytes(file), "old") << "a failure leaves the file as it was";
    EXPECT_TRUE(fetch.fetchToFile(server.url("/1.gif"), file));
    EXPECT_EQ(readBytes(file), "new face");
    int others = 0;
    for (const auto& entry : std::filesystem::directory_iterator(u8Path(file).parent_path()))
        others += entry.path().filename() != u8Path(file).filename();
    EXPECT_EQ(others, 0) << "no half-written file is left beside it";
    EXPECT_FALSE(fetch.fetchToFile(server.url("/1.gif"), dir / "no-such-folder/1.gif"));
}

TEST(WinInetFetch, StalledRefusedAndOversizedAnswersFailInTime) {
    LoopbackServer server;
    WinCodec codec;
    WinInetFetch fetch(codec, quick());
    const std::string body(1000, 'x');
    server.answer("/stall", {"HTTP/1.1 200 OK\r\nContent-Length: 1000", body, 10, 3000});
    server.answer("/big", {"HTTP/1.1 200 OK\r\nContent-Length: 100000", std::string(100000, 'x')});
    server.answer("/big-unannounced", {"HTTP/1.1 200 OK", std::string(100000, 'x')});

    using Clock = std::chrono::steady_clock;
    const auto elapsedMs = [](Clock::time_point since) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
    };
    auto start = Clock::now();
    EXPECT_EQ(fetch.fetchBytes(server.url("/stall")), std::nullopt);
    EXPECT_LT(elapsedMs(start), 2500) << "the stall limit (700 ms) ends it, not the service";
    EXPECT_EQ(fetch.fetchBytes(server.url("/big")), std::nullopt) << "over the size bound";
    EXPECT_EQ(fetch.fetchBytes(server.url("/big-unannounced")), std::nullopt) << "over the bound while reading";

    // A port no one listens on: refused at once.
    const std::string refused = [] {
        LoopbackServer gone;
        return gone.url("/x");
    }();
    start = Clock::now();
    EXPECT_EQ(fetch.fetchBytes(refused), std::nullopt);
    EXPECT_LT(elapsedMs(start), 2500);
}

// The program's fetch waits with the windows going on: a timer of the
// thread keeps firing while a slow answer arrives, and the answer is whole.
TEST(WinWaitingFetch, TheWindowsGoOnWhileAnAnswerIsAwaited) {
    LoopbackServer server;
    WinCodec codec;
    WinInetFetch blocking(codec, quick());
    WinWaitingFetch fetch(blocking);
    const std::string body(100, 'x');
    server.answer("/slow", {"HTTP/1.1 200 OK\r\nContent-Length: 100", body, 10, 500});
    static int ticks = 0;
    ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    EXPECT_EQ(fetch.fetchBytes(server.url("/slow")), body);
    KillTimer(nullptr, timer);
    EXPECT_GE(ticks, 4) << "the thread's messages ran during the half second";
}

}  // namespace tovlo::test

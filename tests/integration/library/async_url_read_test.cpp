// Asynchronous reads on Qt Network against a server inside the test: whole
// bodies, HTTP errors, refused connections, bodies cut short, stalls, cancel.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <optional>

#include "library/downloader.h"
#include "loopback_server.h"
#include "platform/fake/fake_services.h"
#include "platform/posix/iconv_codec.h"
#include "platform/qt/qt_async_url_read.h"
#include "run_events.h"
#include "support/temp_dir.h"

namespace tovlo::test {

namespace {

struct Outcome {
    int status;
    std::string bytes;
};

class AsyncReadTest : public ::testing::Test {
protected:
    AsyncReadTest() {
        server.server.Get("/ok", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(200000, 'x'), "application/octet-stream");
        });
        server.server.Get("/cut", [](const httplib::Request&, httplib::Response& res) {
            LoopbackServer::cutShort(res, "0123456789", 1000);
        });
        server.server.Get("/endless", [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("application/octet-stream", [](std::size_t, httplib::DataSink& sink) {
                const std::string block(64 * 1024, 'z');
                return sink.write(block.data(), block.size());
            });
        });
        server.server.Get("/stall", [this](const httplib::Request&, httplib::Response& res) {
            server.stall(3000);
            res.set_content("late", "text/plain");
        });
        server.server.Get(R"(/soft/(.*))", [this](const httplib::Request& req, httplib::Response& res) {
            lastPath = req.path;
            res.set_content("named", "text/plain");
        });
        server.start();
        reader = reads.create();
        reader->onProgress = [this](std::int64_t read, std::int64_t total, int, const std::string&) {
            lastProgress = {read, total};
        };
        reader->onComplete = [this](int status, const std::string& bytes, std::int64_t, const std::string& tag) {
            outcomes[tag] = Outcome{status, bytes};
        };
    }
    std::optional<Outcome> read(const std::string& url, int timeoutMs = 5000,
                                std::int64_t maxBytes = limits::kTextBytes) {
        outcomes.erase(url);
        reader->start(url, url, maxBytes);
        runEventsUntil([&] { return outcomes.count(url) != 0; }, timeoutMs);
        if (!outcomes.count(url)) return std::nullopt;
        return outcomes[url];
    }

    LoopbackServer server;
    IconvCodec codec;
    QtAsyncUrlReads reads{codec, 600};
    std::unique_ptr<AsyncUrlRead> reader;
    std::map<std::string, Outcome> outcomes;
    std::pair<std::int64_t, std::int64_t> lastProgress{0, 0};
    std::string lastPath;
};

}  // namespace

TEST_F(AsyncReadTest, AWholeBodyEndsWithStatus6) {
    auto out = read(server.url("/ok"));
    ASSERT_TRUE(out);
    EXPECT_EQ(out->status, kReadEndOfData);
    EXPECT_EQ(out->bytes, std::string(200000, 'x'));
    EXPECT_EQ(lastProgress, (std::pair<std::int64_t, std::int64_t>{200000, 200000}));
}

TEST_F(AsyncReadTest, FailuresEndWithStatus0NeverWith6) {
    for (const std::string& url :
         {server.url("/missing"), server.url("/cut"), "http://127.0.0.1:" + std::to_string(closedPort()) + "/x"}) {
        auto out = read(url);
        ASSERT_TRUE(out) << url;
        EXPECT_EQ(out->status, kReadError) << url;
        EXPECT_EQ(out->bytes, "") << url;
    }
}

// Announced over the bound (/ok: 200000 bytes) or growing past it without
// end: the read fails as soon as that shows, and nothing is kept.
TEST_F(AsyncReadTest, ABodyOverItsBoundFailsWithoutWaitingForItsEnd) {
    for (const char* path : {"/ok", "/endless"}) {
        QElapsedTimer clock;
        clock.start();
        auto out = read(server.url(path), 5000, 100000);
        ASSERT_TRUE(out) << path;
        EXPECT_EQ(out->status, kReadError) << path;
        EXPECT_TRUE(out->bytes.empty()) << path;
        EXPECT_LT(clock.elapsed(), 3000) << path;
    }
    auto fits = read(server.url("/ok"), 5000, 200000);
    ASSERT_TRUE(fits);
    EXPECT_EQ(fits->status, kReadEndOfData) << "exactly at its bound";
}

TEST_F(AsyncReadTest, AStalledTransferFailsAfterTheStallTime) {
    QElapsedTimer clock;
    clock.start();
    auto out = read(server.url("/stall"));
    ASSERT_TRUE(out);
    EXPECT_EQ(out->status, kReadError);
    EXPECT_LT(clock.elapsed(), 2500);
    server.release = true;
}

TEST_F(AsyncReadTest, UrlsGoOutInTheAnsiCodePage) {
    auto out = read(server.url("/soft/表情 1.gif"));
    ASSERT_TRUE(out);
    EXPECT_EQ(out->status, kReadEndOfData);
    EXPECT_EQ(lastPath, "/soft/\xB1\xED\xC7\xE9 1.gif") << "decoded by the server from %B1%ED%C7%E9%201";
    EXPECT_THROW(reader->start("not a url", "t", limits::kTextBytes), AsyncReadStartError);
}

TEST_F(AsyncReadTest, ACancelledReadIsNeverReported) {
    reader->start(server.url("/stall"), "s", limits::kTextBytes);
    EXPECT_TRUE(reader->cancel("s"));
    EXPECT_FALSE(reader->cancel("s"));
    EXPECT_FALSE(reader->cancel("never"));
    runEventsUntil([] { return false; }, 300);
    EXPECT_TRUE(outcomes.empty());
    server.release = true;
}

TEST_F(AsyncReadTest, TheDownloaderOverRealReadsListsWhatFailed) {
    TempDir dir;
    FakeMessageBox messages;
    Downloader dl(reads.create(), messages);
    std::vector<std::string> failed;
    bool ended = false;
    dl.DownloadAllComplete = [&](const std::vector<std::string>& list) {
        failed = list;
        ended = true;
    };
    writeBytes(dir / "cut", "good old file");
    dl.BeginDownload(server.url("/ok"), dir / "ok");
    dl.BeginDownload(server.url("/cut"), dir / "cut");
    dl.BeginDownload(server.url("/missing"), dir / "missing");
    ASSERT_TRUE(runEventsUntil([&] { return ended; }, 5000));
    EXPECT_EQ(failed, (std::vector<std::string>{"", dir / "cut", dir / "missing"}));
    EXPECT_EQ(readBytes(dir / "ok").size(), 200000u);
    EXPECT_EQ(readBytes(dir / "cut"), "good old file") << "a body cut short never replaces a good file";
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
}

}  // namespace tovlo::test

// fetchUrlText over real HTTP against a server started inside the test.
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "core/functions.h"
#include "platform/fake/fake_platform.h"
#include "platform/posix/curl_fetch.h"
#include "support/temp_dir.h"

using namespace tovlo;

namespace {

class LoopbackServer {
public:
    LoopbackServer() {
        server.Get("/soft/connect.html",
                   [](const httplib::Request&, httplib::Response& res) { res.set_content("1", "text/html"); });
        server.Get("/soft/myClass.asp", [this](const httplib::Request& req, httplib::Response& res) {
            lastQuery = req.params.count("t") ? req.get_param_value("t") : "";
            lastName = req.get_param_value("uName");
            res.set_content("\xC4\xE3\xBA\xC3", "text/html");  // 你好 in GBK
        });
        // A body that never ends, written as fast as it is taken.
        server.Get("/soft/endless.html", [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("text/plain", [](std::size_t, httplib::DataSink& sink) {
                const std::string block(64 * 1024, 'x');
                return sink.write(block.data(), block.size());
            });
        });
        server.Get("/soft/large.html", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(50000, 'y'), "text/plain");
        });
        server.Get("/soft/stall.html", [this](const httplib::Request&, httplib::Response& res) {
            for (int i = 0; i < 200 && !release; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
            res.set_content("late", "text/plain");
        });
        port = server.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { server.listen_after_bind(); });
        while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ~LoopbackServer() {
        release = true;
        server.stop();
        thread.join();
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port) + path; }

    httplib::Server server;
    int port = 0;
    std::thread thread;
    std::string lastQuery, lastName;
    std::atomic<bool> release{false};
};

// A port with nothing listening on it.
int closedPort() {
    httplib::Server probe;
    return probe.bind_to_any_port("127.0.0.1");  // closed again when probe goes
}

struct CurlFetchTest : ::testing::Test {
    test::TempDir dir;
    FakePlatform fake;
    CurlFetch curl{fake.codec, CurlFetch::Limits{2000, 1000, 4000, 40000}};
    Platform platform{fake.loop, curl, fake.codec, fake.messages, fake.processes, fake.forms, fake.tray};
    LoopbackServer server;
    void SetUp() override { std::filesystem::create_directory(dir / "temp"); }
    std::string fetch(const std::string& url) { return fetchUrlText(platform, url); }
};

}  // namespace

TEST_F(CurlFetchTest, FetchesTheBodyOfAUrlWithoutQueryUnchanged) {
    EXPECT_EQ(fetch(server.url("/soft/connect.html")), "1");
}

TEST_F(CurlFetchTest, StampsAUrlWithQueryAndSendsChineseAsGbk) {
    EXPECT_EQ(fetch(server.url("/soft/myClass.asp?uName=张三")), "你好");
    EXPECT_TRUE(std::regex_match(server.lastQuery, std::regex(R"(\d\d:\d\d:\d\d:\d\d)"))) << server.lastQuery;
    EXPECT_EQ(server.lastName, "\xD5\xC5\xC8\xFD");
}

TEST_F(CurlFetchTest, NotFoundIsAFailure) {
    EXPECT_EQ(fetch(server.url("/soft/nothing.html")), "");
    EXPECT_FALSE(curl.fetchBytes(server.url("/soft/nothing.html")).has_value());
}

TEST_F(CurlFetchTest, RefusedConnectionIsAFailure) {
    int port = closedPort();
    EXPECT_EQ(fetch("http://127.0.0.1:" + std::to_string(port) + "/soft/connect.html"), "");
}

TEST_F(CurlFetchTest, StalledServerTimesOutInsteadOfBlockingForEver) {
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(curl.fetchBytes(server.url("/soft/stall.html")).has_value());
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::seconds(6));
}

TEST_F(CurlFetchTest, FailedFetchLeavesAnEarlierFileWhole) {
    std::string target = dir / "kept.txt";
    test::writeBytes(target, "earlier");
    EXPECT_FALSE(curl.fetchToFile(server.url("/soft/nothing.html"), target));
    EXPECT_EQ(test::readBytes(target), "earlier");
    EXPECT_TRUE(curl.fetchToFile(server.url("/soft/connect.html"), target));
    EXPECT_EQ(test::readBytes(target), "1");
}

TEST_F(CurlFetchTest, ABodyOverItsBoundFailsAtOnceAndWritesNothing) {
    const std::string target = dir / "kept.txt";
    test::writeBytes(target, "earlier");
    for (const char* path : {"/soft/large.html", "/soft/endless.html"}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(curl.fetchBytes(server.url(path)).has_value()) << path;
        EXPECT_FALSE(curl.fetchToFile(server.url(path), target)) << path;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3))
            << path << ": no waiting for the end";
    }
    EXPECT_EQ(test::readBytes(target), "earlier");
    EXPECT_EQ(curl.fetchBytes(server.url("/soft/connect.html")), std::optional<std::string>("1"));
}

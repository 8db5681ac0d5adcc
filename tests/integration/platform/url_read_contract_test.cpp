// What the downloads rely on of an asynchronous URL read, run against every
// real implementation (Qt, and WinINet in the Windows build) with a loopback
// HTTP service: the body with its progress, failures as failures, a stalled
// answer failing at its stall limit, and a cancelled read told nothing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "contract_machines.h"

namespace tovlo::test {

template <class Machine>
class UrlReadContract : public ::testing::Test {
protected:
    UrlReadContract() {
        read->onProgress = [this](std::int64_t got, std::int64_t, int status, const std::string& tag) {
            EXPECT_FALSE(inCall);
            EXPECT_EQ(status, kReadReceiving);
            progress[tag] = got;
        };
        read->onComplete = [this](int status, const std::string& bytes, std::int64_t, const std::string& tag) {
            EXPECT_FALSE(inCall);
            EXPECT_FALSE(ends.count(tag)) << tag << " ended twice";
            ends[tag] = status == kReadEndOfData ? bytes : "failed";
        };
    }
    void start(const std::string& path, const std::string& tag, std::int64_t maxBytes = 1 << 20) {
        inCall = true;
        read->start("http://127.0.0.1:" + std::to_string(server.port()) + path, tag, maxBytes);
        inCall = false;
    }
    bool runUntil(const std::function<bool()>& done, int ms) {
        for (int i = 0; i < ms / 50 && !done(); ++i) machine.run(50);
        return done();
    }

    Machine machine;
    PageServer server{std::string(100 * 1024, 'x')};
    std::unique_ptr<AsyncUrlRead> read = machine.reads.create();
    std::map<std::string, std::int64_t> progress;
    std::map<std::string, std::string> ends;
    bool inCall = false;
};

TYPED_TEST_SUITE(UrlReadContract, TcpMachines);

TYPED_TEST(UrlReadContract, BodiesArriveAndFailuresFail) {
    this->start("/page", "whole");
    this->start("/missing", "404");
    this->start("/page", "too long", 1000);
    ASSERT_TRUE(this->runUntil([&] { return this->ends.size() == 3; }, 5000));
    EXPECT_EQ(this->ends["whole"], std::string(100 * 1024, 'x'));
    EXPECT_GT(this->progress["whole"], 0);
    EXPECT_EQ(this->ends["404"], "failed");
    EXPECT_EQ(this->ends["too long"], "failed");
    EXPECT_THROW(this->read->start("ftp://127.0.0.1/x", "bad", 10), AsyncReadStartError);
}

TYPED_TEST(UrlReadContract, AStalledReadFailsAndACancelledOneIsToldNothing) {
    this->start("/stall", "stalled");
    this->start("/page", "cancelled");
    EXPECT_TRUE(this->read->cancel("cancelled"));
    EXPECT_FALSE(this->read->cancel("never started"));
    ASSERT_TRUE(this->runUntil([&] { return this->ends.count("stalled") != 0; }, kContractStallMs + 1500));
    EXPECT_EQ(this->ends["stalled"], "failed");
    this->machine.run(200);
    EXPECT_EQ(this->ends.count("cancelled"), 0u);
}

}  // namespace tovlo::test

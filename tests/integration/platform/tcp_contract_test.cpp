// What the upload relies on of a TCP connection, run against every real
// implementation (Qt, and Winsock in the Windows build; contract_machines.h
// of each build says which) with a loopback HTTP service.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "contract_machines.h"

namespace tovlo::test {

template <class Machine>
class TcpContract : public ::testing::Test {
protected:
    // Runs the loop until done, at most five seconds.
    bool runUntil(const std::function<bool()>& done) {
        for (int i = 0; i < 100 && !done(); ++i) machine.run(50);
        return done();
    }
    // Every notification of the client, in order, a run of one kind once.
    void record(TcpClient& client) {
        const auto note = [this](const char* what) {
            EXPECT_FALSE(inCall) << what << " came from inside a call";
            if (events.empty() || events.back() != what) events.push_back(what);
        };
        client.onConnected = [note] { note("connected"); };
        client.onSent = [note] { note("sent"); };
        client.onData = [this, note](const std::string& bytes) {
            note("data");
            answer += bytes;
        };
        client.onClosed = [note] { note("closed"); };
    }

    Machine machine;
    std::vector<std::string> events;
    std::string answer;
    bool inCall = false;
};

TYPED_TEST_SUITE(TcpContract, TcpMachines);

// A request goes out, its answer arrives (maybe in parts), and the service
// closing ends the connection; every notification comes from the loop.
TYPED_TEST(TcpContract, ARequestIsAnsweredAndTheServiceClosingEndsIt) {
    PageServer server("hello, 你好");
    auto client = this->machine.tcp.create();
    this->record(*client);
    this->inCall = true;
    client->connectTo("127.0.0.1", server.port());
    this->inCall = false;
    ASSERT_TRUE(this->runUntil([&] { return !this->events.empty(); }));
    this->inCall = true;
    client->send("GET /page HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    this->inCall = false;
    ASSERT_TRUE(this->runUntil([&] { return this->events.back() == "closed"; }));
    EXPECT_EQ(this->events, (std::vector<std::string>{"connected", "sent", "data", "closed"}));
    EXPECT_EQ(client->pendingBytes(), 0);
    EXPECT_EQ(this->answer.rfind("HTTP/1.1 200", 0), 0u) << this->answer;
    EXPECT_EQ(this->answer.substr(this->answer.size() - 13), "hello, 你好");
}

// A port nobody listens on ends the connection without connecting; a client
// closed by the program hears nothing more.
TYPED_TEST(TcpContract, ARefusedConnectionEndsItAndACloseIsSilent) {
    int gone = 0;
    {
        PageServer stopped("");
        gone = stopped.port();
    }
    auto refused = this->machine.tcp.create();
    this->record(*refused);
    refused->connectTo("localhost", gone);  // a name, looked up first
    ASSERT_TRUE(this->runUntil([&] { return !this->events.empty(); }));
    EXPECT_EQ(this->events, std::vector<std::string>{"closed"});

    PageServer server("x");
    this->events.clear();
    auto closed = this->machine.tcp.create();
    this->record(*closed);
    closed->connectTo("127.0.0.1", server.port());
    closed->send("GET /page HTTP/1.1\r\n\r\n");
    closed->close();
    this->machine.run(300);
    EXPECT_TRUE(this->events.empty());
}

}  // namespace tovlo::test

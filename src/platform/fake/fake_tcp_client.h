#pragma once
// TCP clients for tests: a connection does nothing by itself; the test
// accepts or refuses it, lets queued bytes go out, and delivers answers.
// Everything sent is kept, one entry per send.
#include <string>
#include <vector>

#include "platform/commands.h"
#include "platform/tcp_client.h"

namespace tovlo {

class FakeTcpClient : public TcpClient {
public:
    void connectTo(const std::string& host, int port) override {
        this->host = host;
        this->port = port;
        connecting = true;
    }
    void send(const std::string& bytes) override {
        sends.push_back(bytes);
        pending += static_cast<std::int64_t>(bytes.size());
    }
    std::int64_t pendingBytes() const override { return pending; }
    void close() override {
        closed = true;
        connecting = false;
    }

    // What the test does in the event loop's place.
    void accept() {
        connecting = false;
        events_.deliver([this] {
            if (onConnected) onConnected();
        });
    }
    void refuse() {
        connecting = false;
        events_.deliver([this] {
            if (onClosed) onClosed();
        });
    }
    // Everything queued goes out.
    void drain() {
        pending = 0;
        events_.deliver([this] {
            if (onSent) onSent();
        });
    }
    void answer(const std::string& bytes) {
        events_.deliver([this, bytes] {
            if (onData) onData(bytes);
        });
    }
    std::string sentBytes() const {
        std::string all;
        for (const std::string& s : sends) all += s;
        return all;
    }

    std::string host;
    int port = 0;
    bool connecting = false;
    bool closed = false;
    std::int64_t pending = 0;
    std::vector<std::string> sends;

private:
    EventSource events_;
};

class FakeTcpClients : public TcpClients {
public:
    std::unique_ptr<TcpClient> create() override {
        auto client = std::make_unique<FakeTcpClient>();
        made.push_back(client.get());
        return client;
    }
    // Every client made, in order (they stay owned by their users).
    std::vector<FakeTcpClient*> made;
};

}  // namespace tovlo

#pragma once
// A TCP client connection driven by the event loop: connecting runs in the
// background, bytes handed to `send` go out while the loop runs, and every
// notification comes from the event loop (never from inside a call).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tovlo {

class TcpClient {
public:
    virtual ~TcpClient() = default;
    // Starts connecting; onConnected or onClosed tells how it went.
    virtual void connectTo(const std::string& host, int port) = 0;
    // Queues bytes on a connected socket.
    virtual void send(const std::string& bytes) = 0;
    // Bytes queued by send that have not gone out yet.
    virtual std::int64_t pendingBytes() const = 0;
    // Closes the connection (or stops connecting); no notification follows.
    virtual void close() = 0;

    std::function<void()> onConnected;
    // Some queued bytes went out.
    std::function<void()> onSent;
    // Bytes that arrived, as they arrived (one answer may come in several parts).
    std::function<void(const std::string& bytes)> onData;
    // The connection failed or the other side closed it.
    std::function<void()> onClosed;
};

class TcpClients {
public:
    virtual ~TcpClients() = default;
    virtual std::unique_ptr<TcpClient> create() = 0;
};

}  // namespace tovlo

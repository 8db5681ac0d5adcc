#pragma once
// A small HTTP server on a free loopback port, in a thread of the test, for
// the WinINet fetch: each request line is kept, and the answer for a path is
// what the test put there (or 404). An answer may stop for a while after its
// first part, to look like a stalled service.
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tovlo::test {

class LoopbackServer {
public:
    struct Answer {
        std::string head;  // status line and headers, without the blank line
        std::string body;
        int stallAfterBytes = -1;  // stop after this many body bytes ...
        int stallMs = 0;           // ... for this long, then send the rest
    };

    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // "http://127.0.0.1:<port>" + path.
    std::string url(const std::string& path) const;
    int port() const { return port_; }
    // A 200 answer with the body and its length.
    void serve(const std::string& path, const std::string& body);
    void answer(const std::string& path, Answer answer);
    // The request lines received so far ("GET /x HTTP/1.1").
    std::vector<std::string> requests() const;

private:
    void acceptLoop();
    void handle(unsigned long long client);

    unsigned long long listener_;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::map<std::string, Answer> answers_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

}  // namespace tovlo::test

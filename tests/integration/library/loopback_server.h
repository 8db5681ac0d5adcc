#pragma once
// A small HTTP server on loopback, run on its own thread for one test; the
// test adds its routes before start(). Handlers that stall wait on release.
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace tovlo::test {

class LoopbackServer {
public:
    void start() {
        port = server.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { server.listen_after_bind(); });
        while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ~LoopbackServer() {
        release = true;
        if (thread.joinable()) {
            server.stop();
            thread.join();
        }
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port) + path; }
    // Waits until release is set, at most the given time.
    void stall(int ms) {
        for (int i = 0; i < ms / 20 && !release; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // Announces a length, sends only part of it, and drops the connection.
    static void cutShort(httplib::Response& res, std::string part, std::size_t announced) {
        res.set_content_provider(announced, "application/octet-stream",
                                 [part](std::size_t, std::size_t, httplib::DataSink& sink) {
                                     sink.write(part.data(), part.size());
                                     return false;
                                 });
    }

    httplib::Server server;
    int port = 0;
    std::thread thread;
    std::atomic<bool> release{false};
};

// A port with nothing listening on it.
inline int closedPort() {
    httplib::Server probe;
    return probe.bind_to_any_port("127.0.0.1");
}

}  // namespace tovlo::test

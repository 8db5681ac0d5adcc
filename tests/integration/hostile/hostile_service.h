#pragma once
// A stand-in of the web service that answers badly on demand: each path of
// the contract can be given a body and a fault. It runs on its own thread
// for one test. A second listener resets every connection it accepts.
// Bodies go as they are (never compressed), as the service sends them.
#include <httplib.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace tovlo::test {

enum class Fault {
    none,         // the body, whole
    serverError,  // 500 with the body
    endless,      // a body that never ends, as fast as it is taken
    trickle,      // a byte every 100 ms, for ever
    longer,       // announces more than it sends, then closes
    cut,          // sends half of the body, then closes
};

class HostileService {
public:
    HostileService();
    ~HostileService();
    HostileService(const HostileService&) = delete;
    HostileService& operator=(const HostileService&) = delete;

    // What a path (without its query) answers from now on; other paths: 404.
    void serve(const std::string& path, std::string body, Fault fault = Fault::none);
    // host:port of the service, and of a listener that resets every connection.
    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string resettingHost() const { return "127.0.0.1:" + std::to_string(resetPort_); }
    // How many requests reached the path.
    int requests(const std::string& path) const;

private:
    struct Answer {
        std::string body;
        Fault fault;
    };
    void answer(const httplib::Request& req, httplib::Response& res);
    void resetEveryConnection();

    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    int resetSocket_ = -1;
    int resetPort_ = 0;
    std::thread resetThread_;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::map<std::string, Answer> answers_;
    std::map<std::string, int> requests_;
};

// Bodies that carry their fault in their content.
namespace hostile {
std::string longLine(std::size_t bytes);  // one line of that many bytes, no line break
std::string notGbk();                     // bytes that are no GBK text
}  // namespace hostile

// A port with nothing listening on it.
int closedPort();

}  // namespace tovlo::test

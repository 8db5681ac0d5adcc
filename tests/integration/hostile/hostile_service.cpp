#include "hostile_service.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace tovlo::test {

HostileService::HostileService() {
    server_.Get(R"(.*)", [this](const httplib::Request& req, httplib::Response& res) { answer(req, res); });
    server_.Post(R"(.*)", [this](const httplib::Request& req, httplib::Response& res) { answer(req, res); });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));

    resetSocket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(resetSocket_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    ::listen(resetSocket_, 16);
    socklen_t len = sizeof addr;
    ::getsockname(resetSocket_, reinterpret_cast<sockaddr*>(&addr), &len);
    resetPort_ = ntohs(addr.sin_port);
    resetThread_ = std::thread([this] { resetEveryConnection(); });
}

HostileService::~HostileService() {
    stopping_ = true;
    server_.stop();
    thread_.join();
    ::shutdown(resetSocket_, SHUT_RDWR);
    ::close(resetSocket_);
    resetThread_.join();
}

void HostileService::serve(const std::string& path, std::string body, Fault fault) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_[path] = Answer{std::move(body), fault};
}

int HostileService::requests(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = requests_.find(path);
    return it == requests_.end() ? 0 : it->second;
}

void HostileService::answer(const httplib::Request& req, httplib::Response& res) {
    Answer a;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++requests_[req.path];
        auto it = answers_.find(req.path);
        if (it == answers_.end()) {
            res.status = 404;
            return;
        }
        a = it->second;
    }
    const auto stopping = &stopping_;
    switch (a.fault) {
        case Fault::none: res.set_content(a.body, "application/octet-stream"); break;
        case Fault::serverError:
            res.status = 500;
            res.set_content(a.body, "application/octet-stream");
            break;
        case Fault::endless:
            res.set_chunked_content_provider("application/octet-stream", [stopping](std::size_t, httplib::DataSink& sink) {
                static const std::string block(64 * 1024, 'x');
                return !*stopping && sink.write(block.data(), block.size());
            });
            break;
        case Fault::trickle:
            res.set_chunked_content_provider("application/octet-stream", [stopping](std::size_t, httplib::DataSink& sink) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                return !*stopping && sink.write("x", 1);
            });
            break;
        case Fault::longer: {
            const std::string body = a.body;
            res.set_content_provider(body.size() + 1000, "application/octet-stream",
                                     [body](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                         if (offset < body.size()) sink.write(body.data(), body.size());
                                         return false;
                                     });
            break;
        }
        case Fault::cut: {
            const std::string half = a.body.substr(0, a.body.size() / 2);
            res.set_content_provider(a.body.size(), "application/octet-stream",
                                     [half](std::size_t, std::size_t, httplib::DataSink& sink) {
                                         sink.write(half.data(), half.size());
                                         return false;
                                     });
            break;
        }
    }
}

// Accepts and closes at once with a reset (linger 0): the peer sees the
// connection torn down, not an answer.
void HostileService::resetEveryConnection() {
    while (!stopping_) {
        const int client = ::accept(resetSocket_, nullptr, nullptr);
        if (client < 0) return;
        linger hard{1, 0};
        ::setsockopt(client, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        ::close(client);
    }
}

namespace hostile {

std::string longLine(std::size_t bytes) {
    std::string line(bytes, 'a');
    for (std::size_t i = 7; i < bytes; i += 8) line[i] = '/';
    return line;
}

std::string notGbk() { return std::string("\x81\x30\xFF\xFE\x80\x7F\xA1\x0A\xFE", 9) + "a.gif"; }

}  // namespace hostile

int closedPort() {
    httplib::Server probe;
    return probe.bind_to_any_port("127.0.0.1");
}

}  // namespace tovlo::test

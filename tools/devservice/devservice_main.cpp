// devservice --root DIR --port N [--log FILE] [--delay-ms N]
//
// The local stand-in of the Tovlo web service: serves the data folder DIR on
// 127.0.0.1 (port 0 takes a free one) and prints, as its first line,
// "devservice listening on 127.0.0.1:<port>". --delay-ms holds every answer
// for a plain file of soft/ (pack lists and files, class faces, the update
// tree) that many milliseconds, so that end-to-end runs can stop the service
// in the middle of a download.
#include <httplib.h>
#include <sys/socket.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "answers.h"
#include "request_log.h"
#include "routes.h"
#include "service.h"

using namespace tovlo::devservice;

namespace {

struct Options {
    std::string root, log;
    int port = -1;
    long delayMs = 0;
};

constexpr long kMaxDelayMs = 600000;

[[noreturn]] void usage(const std::string& problem) {
    std::cerr << "devservice: " << problem << "\nusage: devservice --root DIR --port N [--log FILE] [--delay-ms N]\n";
    std::exit(2);
}

// A whole number from 0 to max, or nothing.
std::optional<long> number(const std::string& text, long max) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    long value = std::stol(text);
    if (value > max) return std::nullopt;
    return value;
}

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (i + 1 >= argc) usage("missing value after " + arg);
        std::string value = argv[++i];
        if (arg == "--root") {
            options.root = value;
        } else if (arg == "--log") {
            options.log = value;
        } else if (arg == "--port") {
            std::optional<long> port = number(value, 65535);
            if (!port) usage("bad port " + value);
            options.port = static_cast<int>(*port);
        } else if (arg == "--delay-ms") {
            std::optional<long> delay = number(value, kMaxDelayMs);
            if (!delay) usage("bad delay " + value + " (0 to " + std::to_string(kMaxDelayMs) + " ms)");
            options.delayMs = *delay;
        } else {
            usage("unknown option " + arg);
        }
    }
    if (options.root.empty() || options.port < 0) usage("--root and --port are required");
    std::error_code ec;
    if (!std::filesystem::is_directory(options.root, ec)) usage("no such folder " + options.root);
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    Options options = parse(argc, argv);

    httplib::Server server;
    // Address reuse only: the library's default also shares the port with
    // another process (SO_REUSEPORT), which would let a second service on a
    // busy port start and take half of the requests.
    server.set_socket_options([](socket_t sock) {
        int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    // Small answers go out at once instead of waiting for the client's
    // acknowledgement (a pack is hundreds of small files on one connection).
    server.set_tcp_nodelay(true);
    int port = options.port == 0 ? server.bind_to_any_port("127.0.0.1")
                                 : (server.bind_to_port("127.0.0.1", options.port) ? options.port : -1);
    if (port <= 0) {
        std::cerr << "devservice: cannot listen on 127.0.0.1:" << options.port << "\n";
        return 1;
    }

    Service service(std::filesystem::absolute(options.root).string(), port);
    service.fileDelay = std::chrono::milliseconds(options.delayMs);
    RequestLog log;
    if (!options.log.empty() && !log.open(options.log)) usage("cannot write " + options.log);
    server.set_pre_routing_handler([&log](const httplib::Request& req, httplib::Response&) {
        log.record(req);
        return httplib::Server::HandlerResponse::Unhandled;
    });
    // Answers the handlers did not write (no route, a request the server
    // could not read) still tell the user what happened.
    server.set_error_handler([&service](const httplib::Request&, httplib::Response& res) {
        if (!res.has_header("Content-Type"))
            sendProblem(res, service, res.status, res.status == 404 ? "找不到这个页面" : "请求无效");
    });
    server.set_exception_handler([&service](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        sendProblem(res, service, 500, "服务内部错误");
    });
    addRoutes(server, service);

    std::printf("devservice listening on 127.0.0.1:%d\n", port);
    std::fflush(stdout);
    return server.listen_after_bind() ? 0 : 1;
}

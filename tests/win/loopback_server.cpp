#include "loopback_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <chrono>
#include <stdexcept>

namespace tovlo::test {

namespace {

void sendAll(SOCKET s, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const int n = send(s, bytes.data() + done, static_cast<int>(bytes.size() - done), 0);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

LoopbackServer::LoopbackServer() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // any free port
    if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(s, 8) != 0)
        throw std::runtime_error("no loopback port to listen on");
    int size = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    listener_ = s;
    thread_ = std::thread([this] { acceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
    stopping_ = true;
    closesocket(static_cast<SOCKET>(listener_));  // ends the accept
    thread_.join();
    WSACleanup();
}

std::string LoopbackServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackServer::serve(const std::string& path, const std::string& body) {
    answer(path,
           {"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()), body});
}

void LoopbackServer::answer(const std::string& path, Answer answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_[path] = std::move(answer);
}

std::vector<std::string> LoopbackServer::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

// One connection at a time is enough for a blocking client.
void LoopbackServer::acceptLoop() {
    while (!stopping_) {
        const SOCKET client = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
        if (client == INVALID_SOCKET) return;
        handle(client);
        closesocket(client);
    }
}

void LoopbackServer::handle(unsigned long long clientSocket) {
    const auto client = static_cast<SOCKET>(clientSocket);
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const int n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        request.append(buffer, static_cast<std::size_t>(n));
    }
    const std::string line = request.substr(0, request.find("\r\n"));
    Answer a{"HTTP/1.1 404 Not Found\r\nContent-Length: 9", "not found"};
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(line);
        const std::size_t start = line.find(' ') + 1;
        const std::string path = line.substr(start, line.rfind(' ') - start);
        const auto it = answers_.find(path.substr(0, path.find('?')));
        if (it != answers_.end()) a = it->second;
    }
    sendAll(client, a.head + "\r\nConnection: close\r\n\r\n");
    if (a.stallAfterBytes < 0 || a.stallAfterBytes >= static_cast<int>(a.body.size())) {
        sendAll(client, a.body);
        return;
    }
    sendAll(client, a.body.substr(0, static_cast<std::size_t>(a.stallAfterBytes)));
    std::this_thread::sleep_for(std::chrono::milliseconds(a.stallMs));
    sendAll(client, a.body.substr(static_cast<std::size_t>(a.stallAfterBytes)));
}

}  // namespace tovlo::test

#include "win_tcp_client.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/commands.h"
#include "win_helper_window.h"

namespace tovlo {

namespace {

constexpr const wchar_t* kWindowClass = L"Tovlo.TcpClients";
constexpr UINT kSocketMessage = WM_APP + 1;
constexpr UINT kLookupMessage = WM_APP + 2;

}  // namespace

// The message-only window every socket and lookup of the clients reports to.
struct WinTcpWindow {
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* clients = reinterpret_cast<WinTcpClients*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (clients && message == kSocketMessage) {
            clients->socketMessage(wParam, WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam));
            return 0;
        }
        if (clients && message == kLookupMessage) {
            clients->lookupMessage(wParam, WSAGETASYNCERROR(lParam));
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

class WinTcpClient : public TcpClient {
public:
    explicit WinTcpClient(WinTcpClients& clients) : clients_(clients) {}
    ~WinTcpClient() override { release(); }

    void connectTo(const std::string& host, int port) override {
        release();
        closing_ = false;
        port_ = port;
        in_addr address{};
        if (inet_pton(AF_INET, host.c_str(), &address) == 1) {
            start(address);
            return;
        }
        lookup_ =
            WSAAsyncGetHostByName(clients_.window_, kLookupMessage, host.c_str(), hostBuffer_, sizeof hostBuffer_);
        if (!lookup_) {
            ended();
            return;
        }
        clients_.lookups_[reinterpret_cast<std::uintptr_t>(lookup_)] = this;
    }

    // The bytes go out from the message loop (a posted FD_WRITE), never from
    // inside this call.
    void send(const std::string& bytes) override {
        pending_ += bytes;
        if (connected_) PostMessageW(clients_.window_, kSocketMessage, socket_, WSAMAKESELECTREPLY(FD_WRITE, 0));
    }
    std::int64_t pendingBytes() const override { return static_cast<std::int64_t>(pending_.size()); }
    void close() override {
        closing_ = true;
        release();
    }

    void lookedUp(int error) {
        clients_.lookups_.erase(reinterpret_cast<std::uintptr_t>(lookup_));
        lookup_ = nullptr;
        const auto* host = reinterpret_cast<const hostent*>(hostBuffer_);
        if (error != 0 || host->h_addrtype != AF_INET || !host->h_addr_list[0]) {
            ended();
            return;
        }
        in_addr address{};
        std::memcpy(&address, host->h_addr_list[0], sizeof address);
        start(address);
    }

    void news(long event, int error) {
        if (socket_ == INVALID_SOCKET) return;
        switch (event) {
            case FD_CONNECT:
                if (error != 0) {
                    ended();
                    return;
                }
                connected_ = true;
                events_.deliver([this] {
                    if (onConnected) onConnected();
                });
                if (!pending_.empty()) flush();
                return;
            case FD_WRITE: flush(); return;
            case FD_READ: receive(); return;
            case FD_CLOSE:
                // What arrived before the other side closed comes first.
                receive();
                ended();
                return;
            default: return;
        }
    }

private:
    void start(const in_addr& address) {
        socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (socket_ == INVALID_SOCKET) {
            ended();
            return;
        }
        clients_.sockets_[socket_] = this;
        // Also makes the socket non-blocking.
        WSAAsyncSelect(socket_, clients_.window_, kSocketMessage, FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr = address;
        to.sin_port = htons(static_cast<u_short>(port_));
        if (::connect(socket_, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0 &&
            WSAGetLastError() != WSAEWOULDBLOCK)
            PostMessageW(clients_.window_, kSocketMessage, socket_, WSAMAKESELECTREPLY(FD_CONNECT, WSAECONNREFUSED));
    }

    void flush() {
        bool sent = false;
        while (!pending_.empty()) {
            const int n =
                ::send(socket_, pending_.data(), static_cast<int>(std::min<std::size_t>(pending_.size(), 1 << 16)), 0);
            if (n > 0) {
                pending_.erase(0, static_cast<std::size_t>(n));
                sent = true;
                continue;
            }
            if (WSAGetLastError() != WSAEWOULDBLOCK) ended();
            break;  // FD_WRITE comes when there is room again
        }
        if (sent)
            events_.deliver([this] {
                if (onSent) onSent();
            });
    }

    void receive() {
        std::string bytes;
        char block[16 * 1024];
        for (;;) {
            const int n = ::recv(socket_, block, sizeof block, 0);
            if (n <= 0) break;
            bytes.append(block, static_cast<std::size_t>(n));
        }
        if (!bytes.empty())
            events_.deliver([this, bytes = std::move(bytes)] {
                if (onData) onData(bytes);
            });
    }

    void ended() {
        if (closing_) return;
        closing_ = true;
        events_.deliver([this] {
            if (onClosed) onClosed();
        });
    }

    // Stops connecting and drops the socket; nothing of it is told any more.
    void release() {
        if (lookup_) {
            WSACancelAsyncRequest(lookup_);
            clients_.lookups_.erase(reinterpret_cast<std::uintptr_t>(lookup_));
            lookup_ = nullptr;
        }
        if (socket_ != INVALID_SOCKET) {
            clients_.sockets_.erase(socket_);
            closesocket(socket_);
            socket_ = INVALID_SOCKET;
        }
        connected_ = false;
        pending_.clear();
    }

    WinTcpClients& clients_;
    SOCKET socket_ = INVALID_SOCKET;
    HANDLE lookup_ = nullptr;
    char hostBuffer_[MAXGETHOSTSTRUCT];
    int port_ = 0;
    bool connected_ = false;
    bool closing_ = false;
    std::string pending_;
    EventSource events_{"a connection's news"};
};

WinTcpClients::WinTcpClients() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("Winsock cannot be started");
    window_ = makeHelperWindow(kWindowClass, WinTcpWindow::proc, this);
}

WinTcpClients::~WinTcpClients() {
    DestroyWindow(window_);
    WSACleanup();
}

std::unique_ptr<TcpClient> WinTcpClients::create() { return std::make_unique<WinTcpClient>(*this); }

void WinTcpClients::socketMessage(std::uintptr_t socket, long event, int error) {
    // A socket closed since the message was posted has no client any more.
    const auto it = sockets_.find(socket);
    if (it != sockets_.end()) it->second->news(event, error);
}

void WinTcpClients::lookupMessage(std::uintptr_t lookup, int error) {
    const auto it = lookups_.find(lookup);
    if (it != lookups_.end()) it->second->lookedUp(error);
}

}  // namespace tovlo

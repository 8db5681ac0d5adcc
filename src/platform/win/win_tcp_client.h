#pragma once
// TCP client connections on Winsock. Each socket reports to a message-only
// window (WSAAsyncSelect), so connecting, sending and receiving run while
// the thread's message loop runs and every notification comes from it.
// Names are looked up the same way (WSAAsyncGetHostByName).
#include <map>
#include <memory>

#include "platform/tcp_client.h"

struct HWND__;

namespace tovlo {

class WinTcpClient;

class WinTcpClients : public TcpClients {
public:
    WinTcpClients();
    ~WinTcpClients() override;
    WinTcpClients(const WinTcpClients&) = delete;
    WinTcpClients& operator=(const WinTcpClients&) = delete;

    std::unique_ptr<TcpClient> create() override;

private:
    friend class WinTcpClient;
    friend struct WinTcpWindow;
    // A socket's news, or a name lookup's end, for the client that owns it.
    void socketMessage(std::uintptr_t socket, long event, int error);
    void lookupMessage(std::uintptr_t lookup, int error);

    HWND__* window_ = nullptr;
    std::map<std::uintptr_t, WinTcpClient*> sockets_;
    std::map<std::uintptr_t, WinTcpClient*> lookups_;
};

}  // namespace tovlo

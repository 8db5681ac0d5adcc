#pragma once
// TCP client connections on QTcpSocket.
#include "platform/tcp_client.h"

namespace tovlo {

class QtTcpClients : public TcpClients {
public:
    std::unique_ptr<TcpClient> create() override;
};

}  // namespace tovlo

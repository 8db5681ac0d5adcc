#pragma once
// The machines the contracts run on in the Windows build: the fake platform
// on its virtual clock, and the Win32 implementations in real time.
#include <gtest/gtest.h>

#include "chat_window.h"
#include "loopback_server.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/win/win_event_loop.h"
#include "platform/win/win_tcp_client.h"

namespace tovlo::test {

struct FakeMachine {
    FakeEventLoop loop;
    void run(int ms) { loop.advance(ms); }
};

struct WinMachine {
    WinEventLoop loop;
    WinTcpClients tcp;
    void run(int ms) { runMessages(ms); }
};

using ContractMachines = ::testing::Types<FakeMachine, WinMachine>;
// The machines with real connections.
using TcpMachines = ::testing::Types<WinMachine>;

// A loopback HTTP service with one page, "/page".
class PageServer {
public:
    explicit PageServer(const std::string& body) { server_.serve("/page", body); }
    int port() const { return server_.port(); }

private:
    LoopbackServer server_;
};

}  // namespace tovlo::test

#pragma once
// The machines the contracts run on in the Windows build: the fake platform
// on its virtual clock, and the Win32 implementations in real time.
#include <gtest/gtest.h>

#include "chat_window.h"
#include "loopback_server.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_forms.h"
#include "platform/native_codec.h"
#include "platform/win/win_async_url_read.h"
#include "platform/win/win_event_loop.h"
#include "platform/win/win_forms.h"
#include "platform/win/win_images.h"
#include "platform/win/win_tcp_client.h"

namespace tovlo::test {

struct FakeMachine {
    FakeEventLoop loop;
    FakeForms forms;
    void run(int ms) { loop.advance(ms); }
    WindowStyle styleOf(Form& form) { return static_cast<FakeForm&>(form).style; }
};

// The stall limit of the machines' URL reads.
inline constexpr int kContractStallMs = 500;

struct WinMachine {
    WinEventLoop loop;
    WinTcpClients tcp;
    NativeCodec codec;
    WinAsyncUrlReads reads{codec, kContractStallMs};
    WinImages images;
    WinForms forms;
    void run(int ms) { runMessages(ms); }
    // What the window was really given; whether it shows without the focus
    // is seen by showing it.
    WindowStyle styleOf(Form& form) {
        const HWND window = reinterpret_cast<HWND>(form.handle());
        const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE), ex = GetWindowLongPtrW(window, GWL_EXSTYLE);
        form.show();
        runMessages(100);
        const bool quiet = GetForegroundWindow() != window;
        form.hide();
        return {.frameless = !(style & WS_CAPTION), .topMost = (ex & WS_EX_TOPMOST) != 0, .showsWithoutFocus = quiet};
    }
};

using ContractMachines = ::testing::Types<FakeMachine, WinMachine>;
// The machines with real connections.
using TcpMachines = ::testing::Types<WinMachine>;
// The machines with real pictures.
using ImageMachines = ::testing::Types<WinMachine>;

// A loopback HTTP service with one page, "/page", and "/stall", which sends
// 10 of its 100 bytes and then nothing for 3 seconds.
class PageServer {
public:
    explicit PageServer(const std::string& body) {
        server_.serve("/page", body);
        server_.answer("/stall", {"HTTP/1.1 200 OK\r\nContent-Length: 100", std::string(100, 's'), 10, 3000});
    }
    int port() const { return server_.port(); }

private:
    LoopbackServer server_;
};

}  // namespace tovlo::test

#pragma once
// The two machines the contract tests run their cases on: the fake platform
// on its virtual clock, and the Qt implementations in real time. Each says
// how time passes and what style a window really got.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>

#include "loopback_server.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_forms.h"
#include "platform/native_codec.h"
#include "platform/qt/qt_async_url_read.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_forms.h"
#include "platform/qt/qt_images.h"
#include "platform/qt/qt_tcp_client.h"

namespace tovlo::test {

struct FakeMachine {
    FakeEventLoop loop;
    FakeForms forms;

    void run(int ms) { loop.advance(ms); }
    WindowStyle styleOf(Form& form) { return static_cast<FakeForm&>(form).style; }
};

// The stall limit of the machines' URL reads.
inline constexpr int kContractStallMs = 500;

struct QtMachine {
    QtEventLoop loop;
    QtForms forms;
    QtTcpClients tcp;
    NativeCodec codec;
    QtAsyncUrlReads reads{codec, kContractStallMs};
    QtImages images;

    // Lets the event loop run for the time, in small steps.
    void run(int ms) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    // What the window was really given.
    WindowStyle styleOf(Form& form) {
        const QWidget* w = qtWidgetOf(form);
        const Qt::WindowFlags flags = w->windowFlags();
        return {.frameless = flags.testFlag(Qt::FramelessWindowHint),
                .topMost = flags.testFlag(Qt::WindowStaysOnTopHint),
                .showsWithoutFocus = w->testAttribute(Qt::WA_ShowWithoutActivating)};
    }
};

// The machines the event loop's contract runs on.
using ContractMachines = ::testing::Types<FakeMachine, QtMachine>;
// The machines with real connections.
using TcpMachines = ::testing::Types<QtMachine>;
// The machines with real pictures.
using ImageMachines = ::testing::Types<QtMachine>;

// A loopback HTTP service with one page, "/page".
class PageServer {
public:
    explicit PageServer(const std::string& body) {
        server_.server.Get(
            "/page", [body](const httplib::Request&, httplib::Response& res) { res.set_content(body, "text/plain"); });
        // One request per connection: nothing holds the server open at its end.
        server_.server.set_keep_alive_max_count(1);
        server_.server.set_read_timeout(1, 0);
        server_.start();
    }
    int port() const { return server_.port; }

private:
    LoopbackServer server_;
};

}  // namespace tovlo::test

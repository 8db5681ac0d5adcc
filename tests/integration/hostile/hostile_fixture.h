#pragma once
// The program's download paths against the hostile service: a main window
// with the library and upload panels on the real network, clock and files
// (forms, desktop and clipboard stay fakes). The test folder holds the
// program folder and a sibling that nothing may touch; every test checks
// that only the folders its path may write have changed, that the work
// ends, and that page commands are answered in time while the fault goes on.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bridge/main_form.h"
#include "hostile_service.h"
#include "platform/fake/fake_clipboard.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_forms.h"
#include "platform/fake/fake_history_db.h"
#include "platform/fake/fake_services.h"
#include "platform/posix/curl_fetch.h"
#include "platform/posix/iconv_codec.h"
#include "platform/qt/qt_async_url_read.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_images.h"
#include "platform/qt/qt_tcp_client.h"
#include "platform/qt/qt_waiting_fetch.h"
#include "support/temp_dir.h"

namespace tovlo::test {

// Every file and folder below a root, with what it holds.
using Tree = std::map<std::string, std::string>;
Tree treeOf(const std::string& root);
// The paths that differ between two trees and lie outside every allowed folder.
std::vector<std::string> changedOutside(const Tree& before, const Tree& after, const std::vector<std::string>& allowed);

class HostileTest : public ::testing::Test {
protected:
    // Short limits, so that every fault ends within seconds.
    static constexpr int kStallMs = 800;
    static constexpr int kBatchMs = 3000;
    static constexpr int kAnswerMs = 1500;
    // A page command must be answered within this, whatever the service does.
    static constexpr int kResponsiveMs = 200;

    HostileTest();
    void TearDown() override;
    // The main window pointed at a service host, with the library's and the
    // upload's panels.
    void start(const std::string& host);
    std::string inApp(const std::string& rel) const { return app + "/" + rel; }

    // Runs events until done (or the time is up) while a page command goes to
    // the main window every 50 ms; true when done. worstMs: the longest a
    // command waited beyond its time.
    bool runProbing(const std::function<bool()>& done, int timeoutMs);
    int worstMs = 0;
    std::string worstAfter;  // the debug line before the longest wait
    bool saw(const std::string& debugLineStart) const;

    TempDir root;
    std::string app;
    HostileService service;
    QtEventLoop loop;
    IconvCodec codec;
    CurlFetch curl{codec, CurlFetch::Limits{2000, 1000, 4000}};
    QtWaitingFetch fetch{curl};
    FakeMessageBox messages;
    FakeProcesses processes;
    FakeForms forms;
    FakeTrayIcon tray;
    Platform platform{loop, fetch, codec, messages, processes, forms, tray};
    FakeDesktop desktop;
    FakeHistoryDb historyDb;
    PanelFactory panels;
    QtAsyncUrlReads reads{codec, kStallMs};
    QtImages images;
    QtTcpClients connections;
    FakeClipboard clipboard;
    std::unique_ptr<PublicParm> parm;
    std::unique_ptr<DebugForm> debug;
    std::unique_ptr<PluginRegistry> plugins;
    std::unique_ptr<MainForm> main;
    std::vector<std::string> debugLines;
};

}  // namespace tovlo::test

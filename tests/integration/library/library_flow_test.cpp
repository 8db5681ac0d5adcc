// The panels end to end on the real network and images: a sample pack from
// the devservice downloaded and processed, a class page of the demo
// account, and a pack from a server that fails, cuts short and stalls.
#include <gtest/gtest.h>

#include <filesystem>

#include "bridge/main_form.h"
#include "core/functions.h"
#include "core/text.h"
#include "devservice_process.h"
#include "library/library_deps.h"
#include "loopback_server.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_forms.h"
#include "platform/fake/fake_history_db.h"
#include "platform/fake/fake_services.h"
#include "platform/posix/curl_fetch.h"
#include "platform/posix/iconv_codec.h"
#include "platform/qt/qt_async_url_read.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_images.h"
#include "run_events.h"
#include "support/temp_dir.h"

namespace tovlo::test {

namespace fs = std::filesystem;

class LibraryFlowTest : public ::testing::Test {
protected:
    // A program folder pointed at the service on that port, and the main
    // window with the library's panels (real network, images and clock;
    // forms and desktop stay fakes).
    void start(int port) {
        for (const char* d : {"w/CustomFace", "temp", "templates", "plus"}) fs::create_directories(app / d);
        for (const char* t : {"faceMain.html", "myFaceOneClass.html"})
            fs::copy_file(std::string(TOVLO_DIST_DIR) + "/templates/" + t, app / (std::string("templates/") + t));
        writeBytes(app / "config.ini",
                   "[application]\r\nname=Tovlo\r\nver=1.2\r\nserviceHost=127.0.0.1:" + std::to_string(port) +
                       "\r\n[run]\r\nupdateFaseMainhtml=1\r\nshowModel=normal\r\n");
        parm = std::make_unique<PublicParm>(app.path(), codec);
        debug = std::make_unique<DebugForm>(platform);
        plugins = std::make_unique<PluginRegistry>(codec, app.path());
        main = std::make_unique<MainForm>(MainForm::Deps{platform, *parm, *debug, desktop, historyDb, panels, *plugins},
                                          MainFormHooks{});
        main->load("");
        registerLibraryPanels(panels, LibraryDeps{platform, *parm, *debug, *plugins, reads, images});
    }
    void TearDown() override { main.reset(); }
    FakeBrowserView& web() { return forms.find("mainForm")->views["web"]; }
    bool pageSwitchedTo(const std::string& pack) {
        for (const std::string& s : web().scripts)
            if (s.starts_with("changeClass('" + pack + "'")) return true;
        return false;
    }
    std::string inPack(const std::string& pack, const std::string& name) { return app / ("w/" + pack + "/" + name); }

    TempDir app;
    QtEventLoop loop;
    IconvCodec codec;
    CurlFetch fetch{codec};
    FakeMessageBox messages;
    FakeProcesses processes;
    FakeForms forms;
    FakeTrayIcon tray;
    Platform platform{loop, fetch, codec, messages, processes, forms, tray};
    FakeDesktop desktop;
    FakeHistoryDb historyDb;
    PanelFactory panels;
    QtAsyncUrlReads reads{codec, 800};
    QtImages images;
    std::unique_ptr<PublicParm> parm;
    std::unique_ptr<DebugForm> debug;
    std::unique_ptr<PluginRegistry> plugins;
    std::unique_ptr<MainForm> main;
};

TEST_F(LibraryFlowTest, ASamplePackIsDownloadedAndProcessed) {
    DevServiceProcess service;
    start(service.port());
    // A Chinese folder name: GBK in the addresses, UTF-8 on disk.
    const std::string pack = "经典笑脸";
    main->callVb("showFace||" + pack + ",3");
    ASSERT_NE(main->control(MainForm::kSlot), nullptr);
    ASSERT_TRUE(runEventsUntil([&] { return pageSwitchedTo(pack); }, 60000));
    EXPECT_EQ(web().scripts.back(), "changeClass('" + pack + "','" + app.path() + "/w')");
    runEventsUntil([&] { return main->control(MainForm::kSlot) == nullptr; }, 2000);
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);

    const std::string served = service.dataFolder() + "/soft/" + pack + "/";
    int faces = 0;
    for (const auto& e : fs::directory_iterator(served)) {
        const std::string name = e.path().filename().string();
        if (name == "imgs.txt") continue;
        EXPECT_EQ(readBytes(inPack(pack, name)), readBytes(e.path().string())) << name;
        faces += name.ends_with(".gif");
    }
    EXPECT_EQ(faces, 40);
    EXPECT_TRUE(fs::exists(inPack(pack, "ver-3.txt")));
    QtImages check;
    auto sheet = check.load(inPack(pack, "small.bmp"));
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->width(), 180);
    EXPECT_EQ(sheet->height(), (40 / 6 + 1) * 30);
    const std::string page = readTextFile(codec, inPack(pack, "main.html"));
    EXPECT_NE(page.find("<title>" + pack + "</title>"), std::string::npos);
    EXPECT_NE(page.find("height:210px"), std::string::npos);
    EXPECT_EQ(page.find("{{"), std::string::npos);
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.front().text;
}

TEST_F(LibraryFlowTest, AClassPageOfTheDemoAccountIsBuilt) {
    DevServiceProcess service;
    start(service.port());
    parm->userName = "demo";
    fs::create_directories(app / "w/CustomFace/demo");
    main->callVb("showMyOneClassFaces||10--1");
    ASSERT_NE(main->control(MainForm::kSlot), nullptr);
    ASSERT_TRUE(runEventsUntil([&] { return main->control(MainForm::kSlot) == nullptr; }, 60000));
    const std::string pagePath = app / "w/CustomFace/demo/10/1.html";
    EXPECT_EQ(forms.find("mainForm")->views["web3"].location(), "file://" + pagePath);
    const std::string page = readTextFile(codec, pagePath);
    EXPECT_EQ(page.find("{{str}}"), std::string::npos);
    EXPECT_NE(page.find("file://" + app.path() + "/w/CustomFace/demo"), std::string::npos);
    // Every face of the listing is on disk with the service's bytes.
    const std::string listing = readTextFile(codec, app / "temp/tempMyFaceClass.txt");
    EXPECT_NE(page.find(listing), std::string::npos) << "the page holds the whole listing";
    int files = 0;
    for (const std::string& entry : split(listing.substr(0, listing.find("--")), "||")) {
        auto parts = split(entry, "$$");
        if (parts.size() < 2) continue;
        for (const std::string& rel : {parts[0], parts[1]}) {
            EXPECT_EQ(readBytes(app / ("w/CustomFace/demo/" + rel)), readBytes(service.dataFolder() + "/soft/" + rel))
                << rel;
            ++files;
        }
    }
    EXPECT_GE(files, 2);
}

TEST_F(LibraryFlowTest, APackWithBrokenFilesCompletesWithoutItsMarker) {
    LoopbackServer server;
    const std::string gif = readBytes(std::string(DEVSERVICE_DATA) + "/soft/经典笑脸/1-1.gif");
    server.server.Get("/soft/bad/imgs.txt", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("1-1.gif/1-2.gif/1-3.gif/1-4.gif/ver-1.txt", "text/plain");
    });
    server.server.Get("/soft/bad/1-1.gif",
                      [gif](const httplib::Request&, httplib::Response& res) { res.set_content(gif, "image/gif"); });
    server.server.Get("/soft/bad/1-2.gif", [gif](const httplib::Request&, httplib::Response& res) {
        LoopbackServer::cutShort(res, gif.substr(0, 20), gif.size());
    });
    server.server.Get("/soft/bad/1-3.gif", [&server](const httplib::Request&, httplib::Response& res) {
        server.stall(5000);
        res.set_content("late", "image/gif");
    });
    server.server.Get("/soft/bad/ver-1.txt",
                      [](const httplib::Request&, httplib::Response& res) { res.set_content("1", "text/plain"); });
    server.start();
    start(server.port);
    writeBytes(inPack("bad", "1-2.gif"), gif);
    main->callVb("showFace||bad,1");
    ASSERT_TRUE(runEventsUntil([&] { return pageSwitchedTo("bad"); }, 20000));
    server.release = true;
    EXPECT_FALSE(fs::exists(inPack("bad", "ver-1.txt"))) << "the pack is not marked complete";
    EXPECT_EQ(readBytes(inPack("bad", "1-2.gif")), gif) << "the good copy stays";
    EXPECT_FALSE(fs::exists(inPack("bad", "1-3.gif")));
    EXPECT_FALSE(fs::exists(inPack("bad", "1-4.gif")));
    QtImages check;
    auto sheet = check.load(inPack("bad", "small.bmp"));
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->height(), 30);
}

}  // namespace tovlo::test

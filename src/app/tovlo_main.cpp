// Tovlo.exe: picks the real platform, wires the objects together and runs
// the program until every window is unloaded.
#include <QApplication>
#include <QScreen>
#include <cstdio>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "bridge/main_form.h"
#include "bridge/panel_factory.h"
#include "core/debug_form.h"
#include "core/paths.h"
#include "library/library_deps.h"
#include "platform/commands.h"
#include "platform/posix/curl_fetch.h"
#include "platform/posix/iconv_codec.h"
#include "platform/posix/lock_file_instance.h"
#include "platform/posix/xdg_auto_start.h"
#include "platform/qt/qt_async_url_read.h"
#include "platform/qt/qt_browser_view.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_folder_dialog.h"
#include "platform/qt/qt_forms.h"
#include "platform/qt/qt_images.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_processes.h"
#include "platform/qt/qt_socket_events.h"
#include "platform/qt/qt_tcp_client.h"
#include "platform/qt/qt_translations.h"
#include "platform/qt/qt_tray_icon.h"
#include "platform/qt/qt_waiting_fetch.h"
#include "platform/qt/qt_web_profile.h"
#include "platform/qt/web_engine_setup.h"
#include "platform/sqlite/sqlite_history_db.h"
#include "platform/x11/x11_clipboard.h"
#include "platform/x11/x11_desktop.h"
#include "platform/x11/x11_global_hot_key.h"
#include "plugins/plugin_panels.h"
#include "plugins/plugin_registry.h"
#include "settings/settings_windows.h"
#include "update/update_check.h"
#include "upload/upload_deps.h"

int main(int argc, char** argv) {
    tovlo::prepareWebEngine();
    QApplication qtApp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (!tovlo::installChineseTranslations(qtApp))
        std::fprintf(stderr, "Qt's Chinese translations are not installed\n");
    const std::string app = QCoreApplication::applicationDirPath().toStdString();

    tovlo::QtEventLoop loop;
    tovlo::IconvCodec codec;
    // The service's texts come over libcurl on a worker thread, the windows
    // going on meanwhile.
    tovlo::CurlFetch curl(codec);
    tovlo::QtWaitingFetch fetch(curl);
    tovlo::QtMessageBox messages;
    tovlo::QtProcesses processes;
    tovlo::QtForms forms(tovlo::makeQtFormView);
    tovlo::QtTrayIcon tray;
    tovlo::Platform platform{loop, fetch, codec, messages, processes, forms, tray};

    // Only one copy runs per program folder; the running one is left alone.
    tovlo::LockFileInstance instance(app);
    if (!instance.acquire()) {
        messages.show("程序已经运行！", "Tovlo", tovlo::MessageIcon::Information);
        return 0;
    }

    auto desktop = tovlo::X11Desktop::connect();
    if (!desktop) {
        std::fprintf(stderr, "Tovlo: no X display to follow chat windows on (DISPLAY=%s)\n",
                     std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
        return 1;
    }
    // Our windows are placed in the toolkit's pixels, which a scaled screen
    // (200 %) makes larger than the display's.
    desktop->setScale(qtApp.primaryScreen()->devicePixelRatio());
    // The desktop's changes (the window in front, its moves and title) reach
    // the tracking tick through the event loop.
    tovlo::X11Desktop& x11 = *desktop;
    tovlo::QtSocketEvents desktopEvents(
        x11.socket(), [&x11] { return x11.eventsWaiting(); }, [&x11] { x11.handleEvents(); });
    // The hot key's presses come on a connection of their own.
    auto hotKey = tovlo::X11GlobalHotKey::connect();
    if (!hotKey) {
        std::fprintf(stderr, "Tovlo: no X display for the hot key\n");
        return 1;
    }
    tovlo::QtSocketEvents hotKeyEvents(
        hotKey->socket(), [&hotKey] { return hotKey->eventsWaiting(); }, [&hotKey] { hotKey->handleEvents(); });
    tovlo::SqliteHistoryDb historyDb(tovlo::joinPath(app, {"w", "datas.jpg"}));
    tovlo::PublicParm parm(app, codec);
    tovlo::DebugForm debugForm(platform);
    // An event that fails is noted where the user can look for it.
    tovlo::Commands::reportTo([&debugForm](const std::string& line) { debugForm.log(line); });
    // TOVLO_DEBUG_LOG=1: every debug line also goes to standard error.
    if (const char* echo = std::getenv("TOVLO_DEBUG_LOG"); echo && std::string(echo) == "1")
        debugForm.setEcho([](const std::string& line) { std::fprintf(stderr, "[debug] %s\n", line.c_str()); });
    tovlo::PanelFactory panels;
    tovlo::PluginRegistry plugins(codec, app);
    // The readers outlive the panels that use them.
    tovlo::QtAsyncUrlReads reads(codec);
    tovlo::QtImages images;
    tovlo::registerLibraryPanels(panels, {platform, parm, debugForm, plugins, reads, images});
    // The clipboard as X has it; while a page of ours owns it, through Qt.
    auto clipboard = tovlo::X11Clipboard::connect();
    if (!clipboard) {
        std::fprintf(stderr, "Tovlo: no X display to read the clipboard on\n");
        return 1;
    }
    tovlo::QtClipboard ownClipboard([&clipboard](const std::string& name) { return clipboard->formatId(name); });
    clipboard->readOwnClipboardThrough(ownClipboard, [&ownClipboard] { return ownClipboard.ownsClipboard(); });
    tovlo::QtTcpClients connections;
    tovlo::registerUploadPanels(panels, {platform, parm, debugForm, *clipboard, connections});
    tovlo::registerPluginPanels(panels, {platform, parm, debugForm, plugins, *clipboard});

    // Pages keep what they store (the main page its pack tabs) across runs.
    tovlo::setWebProfileFolder(tovlo::joinPath(app, {"webdata"}));
    // The update check needs the main window (its Timer3, its unloading),
    // which needs the check: it is made right after the window.
    // So do the settings windows (the face copy shows the main window).
    std::unique_ptr<tovlo::UpdateCheck> updateCheck;
    std::unique_ptr<tovlo::SettingsWindows> settings;
    tovlo::MainFormHooks hooks;
    hooks.runUpdateCheck = [&updateCheck] { updateCheck->run(); };
    hooks.openSettings = [&settings] { settings->openSettings(); };
    hooks.openFaceCopy = [&settings](const std::string& pack) { settings->openFaceCopy(pack); };
    tovlo::MainForm mainForm({platform, parm, debugForm, *desktop, historyDb, panels, plugins, hotKey.get()},
                                hooks);
    updateCheck = std::make_unique<tovlo::UpdateCheck>(platform, parm, debugForm, mainForm.Timer3(),
                                                       [&mainForm] { mainForm.unloadAll(); });
    tovlo::QtFolderDialog folderDialog;
    tovlo::XdgAutoStart autoStart = tovlo::XdgAutoStart::forThisUser();
    const std::string programPath = QCoreApplication::applicationFilePath().toStdString();
    settings = std::make_unique<tovlo::SettingsWindows>(
        tovlo::SettingsDeps{platform, parm, folderDialog, autoStart, programPath,
                            [&mainForm](const std::string& keys) { return mainForm.useHotKey(keys); }},
        tovlo::FaceCopyHost{[&mainForm](const std::string& pack) { mainForm.showClass(pack); },
                            [&mainForm] { mainForm.showWindow(); }});
    {
        // The load handler is a command: what arrives during its message
        // boxes waits for it.
        tovlo::Commands::Scope loading;
        mainForm.load(tovlo::commandLineText(argc, argv));
    }
    // The service's pages, besides the local ones, may call the program.
    tovlo::setTrustedServiceHost(parm.serviceHost);
    std::fprintf(stderr, "Tovlo %s started in %s\n", parm.ver.c_str(), app.c_str());
    const int exitCode = qtApp.exec();
    tovlo::Commands::reportTo(nullptr);
    return exitCode;
}

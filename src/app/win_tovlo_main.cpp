// Tovlo.exe for Windows: picks the Win32 platform, wires the objects
// together and runs the program until every window is unloaded.
#include <cstdio>
#include <memory>
#include <string>

#include "app/win_program.h"
#include "bridge/main_form.h"
#include "bridge/panel_factory.h"
#include "core/debug_form.h"
#include "core/paths.h"
#include "library/library_deps.h"
#include "platform/commands.h"
#include "platform/read_limits.h"
#include "platform/sqlite/sqlite_history_db.h"
#include "platform/win/win_async_url_read.h"
#include "platform/win/win_auto_start.h"
#include "platform/win/win_automation.h"
#include "platform/win/win_browser_view.h"
#include "platform/win/win_clipboard.h"
#include "platform/win/win_codec.h"
#include "platform/win/win_desktop.h"
#include "platform/win/win_global_hot_key.h"
#include "platform/win/win_dialogs.h"
#include "platform/win/win_event_loop.h"
#include "platform/win/win_forms.h"
#include "platform/win/win_images.h"
#include "platform/win/win_processes.h"
#include "platform/win/win_single_instance.h"
#include "platform/win/win_tcp_client.h"
#include "platform/win/win_tray_icon.h"
#include "platform/win/win_waiting_fetch.h"
#include "platform/win/wininet_fetch.h"
#include "plugins/plugin_panels.h"
#include "plugins/plugin_registry.h"
#include "settings/settings_windows.h"
#include "update/update_check.h"
#include "upload/upload_deps.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::string app = tovlo::programFolder();

    tovlo::WinEventLoop loop;
    tovlo::WinCodec codec;
    // The service's texts come over WinINet on a worker thread, the windows
    // going on meanwhile.
    tovlo::WinInetFetch wininet(codec);
    tovlo::WinWaitingFetch fetch(wininet);
    tovlo::WinMessageBox messages;
    tovlo::WinProcesses processes(loop);
    // Pages run in the browser control's newest mode, whatever they declare.
    tovlo::useNewestBrowserMode(L"Tovlo.exe");
    tovlo::WinForms forms(tovlo::makeWinFormView);
    tovlo::WinTrayIcon tray;
    tovlo::Platform platform{loop, fetch, codec, messages, processes, forms, tray};

    // Only one copy runs per program folder; the running one is left alone.
    tovlo::MutexInstance instance(app);
    if (!instance.acquire()) {
        messages.show("程序已经运行！", "Tovlo", tovlo::MessageIcon::Information);
        return 0;
    }

    tovlo::WinDesktop desktop;
    tovlo::WinGlobalHotKey hotKey;
    tovlo::SqliteHistoryDb historyDb(tovlo::joinPath(app, {"w", "datas.jpg"}));
    tovlo::PublicParm parm(app, codec);
    tovlo::DebugForm debugForm(platform);
    // An event that fails is noted where the user can look for it.
    tovlo::Commands::reportTo([&debugForm](const std::string& line) { debugForm.log(line); });
    tovlo::PanelFactory panels;
    tovlo::PluginRegistry plugins(codec, app);
    // The readers outlive the panels that use them.
    tovlo::WinAsyncUrlReads reads(codec, tovlo::limits::kStallMs);
    tovlo::WinImages images;
    tovlo::registerLibraryPanels(panels, {platform, parm, debugForm, plugins, reads, images});
    tovlo::WinClipboard clipboard;
    tovlo::WinTcpClients connections;
    tovlo::registerUploadPanels(panels, {platform, parm, debugForm, clipboard, connections});
    tovlo::registerPluginPanels(panels, {platform, parm, debugForm, plugins, clipboard});

    // The update check needs the main window (its Timer3, its unloading),
    // which needs the check: it is made right after the window. So do the
    // settings windows (the face copy shows the main window).
    std::unique_ptr<tovlo::UpdateCheck> updateCheck;
    std::unique_ptr<tovlo::SettingsWindows> settings;
    tovlo::MainFormHooks hooks;
    hooks.runUpdateCheck = [&updateCheck] { updateCheck->run(); };
    hooks.openSettings = [&settings] { settings->openSettings(); };
    hooks.openFaceCopy = [&settings](const std::string& pack) { settings->openFaceCopy(pack); };
    tovlo::MainForm mainForm({platform, parm, debugForm, desktop, historyDb, panels, plugins, &hotKey}, hooks);
    updateCheck = std::make_unique<tovlo::UpdateCheck>(platform, parm, debugForm, mainForm.Timer3(),
                                                       [&mainForm] { mainForm.unloadAll(); });
    tovlo::WinFolderDialog folderDialog;
    tovlo::RunKeyAutoStart autoStart;
    settings = std::make_unique<tovlo::SettingsWindows>(
        tovlo::SettingsDeps{platform, parm, folderDialog, autoStart, tovlo::programFile(),
                            [&mainForm](const std::string& keys) { return mainForm.useHotKey(keys); }},
        tovlo::FaceCopyHost{[&mainForm](const std::string& pack) { mainForm.showClass(pack); },
                            [&mainForm] { mainForm.showWindow(); }});
    {
        // The load handler is a command: what arrives during its message
        // boxes waits for it.
        tovlo::Commands::Scope loading;
        mainForm.load(tovlo::commandLineText());
    }
    // The service's pages, besides the local ones, may call the program.
    tovlo::setTrustedServiceHost(parm.serviceHost);
    // Runs under test drive the pages' calls by a file (TOVLO_AUTOMATION).
    const auto automation = tovlo::WinAutomation::fromEnvironment();
    loop.run();
    tovlo::Commands::reportTo(nullptr);
    return 0;
}

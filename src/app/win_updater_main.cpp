// Kestrup_updateSelf.exe for Windows, installed as Kestrup.exe: the updater
// program. It is started with the version to update from, moves the program
// folder one version on, and hands over to updateAft.exe (or, at the newest
// version, to Tovlo.exe).
#include <cstdio>
#include <string>

#include "app/win_program.h"
#include "core/ini_cls.h"
#include "core/paths.h"
#include "core/service.h"
#include "platform/read_limits.h"
#include "platform/win/win_async_url_read.h"
#include "platform/win/win_codec.h"
#include "platform/win/win_dialogs.h"
#include "platform/win/win_event_loop.h"
#include "platform/win/win_forms.h"
#include "platform/win/win_processes.h"
#include "platform/win/win_waiting_fetch.h"
#include "platform/win/wininet_fetch.h"
#include "updater/updater_form.h"

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
    tovlo::WinForms forms;
    tovlo::WinAsyncUrlReads reads(codec, tovlo::limits::kStallMs);

    // The same service as the main program's.
    tovlo::IniCls ini(codec);
    ini.setINIFileName(tovlo::joinPath(app, {"config.ini"}));
    const std::string host = tovlo::effectiveServiceHost(ini.GetIniKey("application", "serviceHost"));

    tovlo::UpdaterForm form({loop, fetch, codec, messages, processes, forms, reads}, app, host,
                            tovlo::commandLineText());
    form.onReport = [](const std::string& line) {
        std::fprintf(stderr, "Kestrup: %s\n", line.c_str());
        std::fflush(stderr);
    };
    loop.run();
    return 0;
}

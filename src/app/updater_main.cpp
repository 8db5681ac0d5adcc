// Kestrup_updateSelf.exe, installed as Kestrup.exe: the updater program. It
// is started with the version to update from, moves the program folder one
// version on, and hands over to updateAft.exe (or, at the newest version,
// to Tovlo.exe).
#include <QApplication>
#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "core/ini_cls.h"
#include "core/paths.h"
#include "core/service.h"
#include "platform/posix/curl_fetch.h"
#include "platform/posix/iconv_codec.h"
#include "platform/qt/qt_async_url_read.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_forms.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_processes.h"
#include "platform/qt/qt_translations.h"
#include "platform/qt/qt_waiting_fetch.h"
#include "updater/updater_form.h"

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (!tovlo::installChineseTranslations(qtApp))
        std::fprintf(stderr, "Qt's Chinese translations are not installed\n");
    const std::string app = QCoreApplication::applicationDirPath().toStdString();

    tovlo::QtEventLoop loop;
    tovlo::IconvCodec codec;
    tovlo::CurlFetch curl(codec);
    tovlo::QtWaitingFetch fetch(curl);
    tovlo::QtMessageBox messages;
    tovlo::QtProcesses processes;
    tovlo::QtForms forms;
    tovlo::QtAsyncUrlReads reads(codec);

    // The same service as the main program's.
    tovlo::IniCls ini(codec);
    ini.setINIFileName(tovlo::joinPath(app, {"config.ini"}));
    const std::string host = tovlo::effectiveServiceHost(ini.GetIniKey("application", "serviceHost"));

    const std::string from = tovlo::commandLineText(argc, argv);
    tovlo::UpdaterForm form({loop, fetch, codec, messages, processes, forms, reads}, app, host, from);
    form.onReport = [](const std::string& line) { std::fprintf(stderr, "Kestrup: %s\n", line.c_str()); };
    std::fprintf(stderr, "Kestrup: updating %s from version %s\n", app.c_str(), from.c_str());
    return qtApp.exec();
}

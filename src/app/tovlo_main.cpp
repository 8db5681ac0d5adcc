// Tovlo.exe: picks the real platform and runs the program.
#include <QApplication>
#include <cstdio>
#include <string>

#include "core/debug_form.h"
#include "core/startup.h"
#include "platform/posix/curl_fetch.h"
#include "platform/posix/iconv_codec.h"
#include "platform/posix/lock_file_instance.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_forms.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_processes.h"
#include "platform/qt/qt_tray_icon.h"
#include "platform/qt/web_engine_setup.h"

namespace {

// The whole command line after the program name, as one text.
std::string commandLineText(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    tovlo::prepareWebEngine();
    QApplication qtApp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const std::string app = QCoreApplication::applicationDirPath().toStdString();

    tovlo::QtEventLoop loop;
    tovlo::IconvCodec codec;
    tovlo::CurlFetch fetch(codec);
    tovlo::QtMessageBox messages;
    tovlo::QtProcesses processes;
    tovlo::QtForms forms;
    tovlo::QtTrayIcon tray;
    tovlo::Platform platform{loop, fetch, codec, messages, processes, forms, tray};

    // Only one copy runs per program folder; the running one is left alone.
    tovlo::LockFileInstance instance(app);
    if (!instance.acquire()) {
        messages.show("程序已经运行！", "Tovlo", tovlo::MessageIcon::Information);
        return 0;
    }

    tovlo::PublicParm parm(app, codec);
    tovlo::DebugForm debugForm(platform);
    tovlo::startUp(parm, platform, [&](const std::string& name) { parm.userName = name; });
    tovlo::takeVersion(parm, commandLineText(argc, argv));
    if (parm.isDebug) debugForm.show();
    const std::string trayTip = tovlo::trayTipText(parm);
    tray.setToolTip(trayTip);
    tray.setVisible(true);
    tray.showBalloon("标题", "Tovlo欢迎你!");
    std::fprintf(stderr, "Tovlo %s started in %s\n", parm.ver.c_str(), app.c_str());
    return qtApp.exec();
}

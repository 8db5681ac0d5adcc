#include "web_engine_setup.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QtGlobal>

namespace tovlo {

void prepareWebEngine() {
    // Chromium's sandbox refuses to run as root; the pages we show are our
    // own and the service's, so the program runs them without it there.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Machines without a usable GPU (virtual desktops, Xvfb) render pages in
    // software; the pages are simple enough that nothing is lost elsewhere.
    // The program's views show its own pages and the service's, a few at a
    // time: one page process for all of them instead of one each (each
    // costs some 15-25 MiB).
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --renderer-process-limit=1");
    // Web views in widgets share their OpenGL context with the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

}  // namespace tovlo

// Runs the browser view tests in a real QApplication on the X display the
// test command provides (Xvfb), with a window manager so that windows are
// activated and focused as on a desktop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>

#include "platform/qt/web_engine_setup.h"
#include "view_fixture.h"

namespace {

bool windowManagerRunning() {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    xprop.waitForFinished(5000);
    return xprop.readAllStandardOutput().contains("window id");
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    tovlo::prepareWebEngine();
    QApplication app(argc, argv);

    // Our own window manager when the display has none; it ends with us.
    QProcess openbox;
    if (!windowManagerRunning()) {
        openbox.start(QStringLiteral("openbox"), {});
        if (!openbox.waitForStarted(5000) || !tovlo::test::waitFor([] { return windowManagerRunning(); }, 10000)) {
            fprintf(stderr, "no window manager could be started\n");
            return 1;
        }
    }

    const int result = RUN_ALL_TESTS();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (openbox.state() != QProcess::NotRunning) {
        openbox.terminate();
        openbox.waitForFinished(5000);
    }
    return result;
}

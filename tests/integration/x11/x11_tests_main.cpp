// Runs the X11 desktop and clipboard tests on the display the test command
// provides (Xvfb), with a Qt application on the same display for the cases
// where this process itself owns the clipboard.
#include <gtest/gtest.h>

#include <QGuiApplication>

// Xlib's macros (None, Bool, Status) clash with gtest and Qt: it comes last.
#include <X11/Xlib.h>

int main(int argc, char** argv) {
    // The stand-in clipboard owners serve requests from threads of their own.
    XInitThreads();
    ::testing::InitGoogleTest(&argc, argv);
    // Nothing here draws with OpenGL. Left to itself, Qt's X platform loads
    // the system's GL driver (Mesa's software renderer under Xvfb), which on
    // some processors keeps a block from its start-up until it is unloaded
    // at exit, and the leak checker reports it as ours.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION")) qputenv("QT_XCB_GL_INTEGRATION", "none");
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

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
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}

#include "qt_processes.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QProcess>
#include <QUrl>
#include <QString>

namespace tovlo {

namespace {

// The argument text is the rest of the program's command line ("main.exe",
// one space, the text): it reaches the program whole, as one argument, with
// every space it holds, and empty when it is empty.
QStringList argumentsOf(const std::string& argument) { return {QString::fromStdString(argument)}; }

}  // namespace

bool QtProcesses::startDetached(const std::string& program, const std::string& argument) {
    return QProcess::startDetached(QString::fromStdString(program), argumentsOf(argument));
}

bool QtProcesses::runAndWait(const std::string& program, const std::string& argument) {
    QProcess process;
    QEventLoop wait;
    bool started = true;
    QObject::connect(&process, &QProcess::finished, &wait, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &wait, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) started = false;
        wait.quit();
    });
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QString::fromStdString(program), argumentsOf(argument));
    // A program that cannot be started is reported inside start(); one that
    // runs reports its end through the loop, however soon it comes.
    if (process.state() != QProcess::NotRunning) wait.exec();
    return started;
}

}  // namespace tovlo

namespace tovlo {

bool QtProcesses::openUrl(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace tovlo

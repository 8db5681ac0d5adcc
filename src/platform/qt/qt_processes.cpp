#include "qt_processes.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QProcess>
#include <QString>
#include <QUrl>

#include <algorithm>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#endif

#include "platform/nested_wait.h"

namespace tovlo {

namespace {

// The argument text is the rest of the program's command line ("main.exe",
// one space, the text): it reaches the program whole, as one argument, with
// every space it holds, and empty when it is empty.
QStringList argumentsOf(const std::string& argument) { return {QString::fromStdString(argument)}; }

// A started program gets our standard channels and nothing else of ours: no
// listening socket, lock or file we hold open stays open in it (a Tovlo
// started again by the updater must be able to open them itself). Every
// descriptor above the standard ones is marked close-on-exec in this
// process, which changes nothing for our own use of it. (QProcess of this Qt
// runs no child modifier for detached starts, so it is done beforehand.)
void keepOnlyStandardChannels() {
#ifdef Q_OS_UNIX
    if (DIR* fds = ::opendir("/proc/self/fd")) {
        while (const dirent* entry = ::readdir(fds)) {
            const int fd = std::atoi(entry->d_name);
            if (fd > 2 && fd != ::dirfd(fds)) ::fcntl(fd, F_SETFD, ::fcntl(fd, F_GETFD) | FD_CLOEXEC);
        }
        ::closedir(fds);
        return;
    }
    const long last = std::min<long>(::sysconf(_SC_OPEN_MAX), 65536);
    for (int fd = 3; fd < last; ++fd) {
        const int flags = ::fcntl(fd, F_GETFD);
        if (flags >= 0) ::fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
    }
#endif
}

}  // namespace

bool QtProcesses::startDetached(const std::string& program, const std::string& argument) {
    keepOnlyStandardChannels();
    return QProcess::startDetached(QString::fromStdString(program), argumentsOf(argument));
}

bool QtProcesses::runAndWait(const std::string& program, const std::string& argument) {
    QProcess process;
    QEventLoop wait;
    bool started = true;
    QObject::connect(&process, &QProcess::finished, &wait, &QEventLoop::quit);
    // Only a program that could not start ends the wait early; after any
    // other error the program may still run, and it is waited for (leaving
    // earlier would kill it).
    QObject::connect(&process, &QProcess::errorOccurred, &wait, [&](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        started = false;
        wait.quit();
    });
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    keepOnlyStandardChannels();
    process.start(QString::fromStdString(program), argumentsOf(argument));
    // A program that cannot be started is reported inside start(); one that
    // runs reports its end through the loop, however soon it comes.
    if (process.state() != QProcess::NotRunning) {
        NestedWaits::Scope nested;
        wait.exec();
    }
    return started;
}

}  // namespace tovlo

namespace tovlo {

bool QtProcesses::openUrl(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace tovlo

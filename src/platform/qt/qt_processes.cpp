#include "qt_processes.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>
#include <QString>

namespace tovlo {

bool QtProcesses::startDetached(const std::string& program, const std::string& argument) {
    // The argument text is the rest of a command line: it reaches the program
    // as its arguments, split at spaces.
    QStringList args = QString::fromStdString(argument).split(' ', Qt::SkipEmptyParts);
    return QProcess::startDetached(QString::fromStdString(program), args);
}

}  // namespace tovlo

namespace tovlo {

bool QtProcesses::openUrl(const std::string& url) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace tovlo

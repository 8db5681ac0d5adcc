#include "qt_message_box.h"

#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/nested_wait.h"

namespace tovlo {

bool unattendedRun() {
    const char* v = std::getenv("TOVLO_UNATTENDED");
    return v && std::strcmp(v, "1") == 0;
}

void QtMessageBox::show(const std::string& text, const std::string& title, MessageIcon icon) {
    if (unattendedRun()) {
        std::fprintf(stderr, "[message] %s: %s\n", title.c_str(), text.c_str());
        std::fflush(stderr);
        return;
    }
    QMessageBox box(icon == MessageIcon::Critical      ? QMessageBox::Critical
                    : icon == MessageIcon::Information ? QMessageBox::Information
                                                       : QMessageBox::NoIcon,
                    QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    NestedWaits::Scope nested;
    box.exec();
}

}  // namespace tovlo

#include "qt_message_box.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
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
    // A short message must not make the box narrower than its title and
    // the title bar's buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        QFont titleFont = box.font();
        titleFont.setBold(true);
        const QFontMetrics metrics(titleFont);
        const int width = metrics.horizontalAdvance(box.windowTitle()) + 8 * metrics.height();
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
    }
    NestedWaits::Scope nested;
    box.exec();
}

}  // namespace tovlo

#include "qt_message_box.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include "platform/nested_wait.h"
#include "platform/unattended.h"

namespace tovlo {

void QtMessageBox::show(const std::string& text, const std::string& title, MessageIcon icon) {
    if (unattendedRun()) {
        unattendedMessage(title, text);
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

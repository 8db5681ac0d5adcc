#include "qt_tray_icon.h"

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

#include "platform/nested_wait.h"

namespace tovlo {

namespace {

// A small smiling face, drawn rather than shipped as an image file.
QIcon faceIcon() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(255, 204, 51));
    p.setPen(QPen(QColor(180, 120, 0), 2));
    p.drawEllipse(2, 2, 28, 28);
    p.setBrush(Qt::black);
    p.setPen(Qt::NoPen);
    p.drawEllipse(10, 10, 4, 5);
    p.drawEllipse(18, 10, 4, 5);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(9, 12, 14, 12, 200 * 16, 140 * 16);
    return QIcon(pm);
}

}  // namespace

QtTrayIcon::QtTrayIcon() : icon_(std::make_unique<QSystemTrayIcon>(faceIcon())) {
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Context) {
            if (onMenuRequest) events_.deliver(onMenuRequest);
        } else if (r == QSystemTrayIcon::Trigger || r == QSystemTrayIcon::DoubleClick) {
            if (onClick) events_.deliver(onClick);
        }
    });
}

QtTrayIcon::~QtTrayIcon() = default;

void QtTrayIcon::setToolTip(const std::string& tip) { icon_->setToolTip(QString::fromStdString(tip)); }

void QtTrayIcon::setVisible(bool visible) { icon_->setVisible(visible); }

void QtTrayIcon::showBalloon(const std::string& title, const std::string& text) {
    icon_->showMessage(QString::fromStdString(title), QString::fromStdString(text), QSystemTrayIcon::Information);
}

void QtTrayIcon::popupMenu(const std::vector<std::string>& items, std::function<void(int)> chosen) {
    QMenu menu;
    for (std::size_t i = 0; i < items.size(); ++i) {
        QAction* a = menu.addAction(QString::fromStdString(items[i]));
        a->setData(static_cast<int>(i));
    }
    QAction* picked = nullptr;
    {
        NestedWaits::Scope nested;
        picked = menu.exec(QCursor::pos());
    }
    if (picked && chosen) chosen(picked->data().toInt());
}

}  // namespace tovlo

#pragma once
// Real mouse and key events through the X server (XTest, by xdotool), as a
// user at the desktop would make them.
#include <QApplication>
#include <QPoint>
#include <QProcess>
#include <QStringList>
#include <QWidget>
#include <QWindow>
#include <string>

#include "view_fixture.h"

namespace tovlo::test {

inline bool xdotool(const QStringList& args) { return QProcess::execute(QStringLiteral("xdotool"), args) == 0; }

// The widget of the browser view the fixture's form shows under this name.
inline QWidget* viewWidget(const std::string& name = "web") {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* w = top->findChild<QWidget*>(QString::fromStdString(name))) return w;
    return nullptr;
}

// Waits until the view is on screen, then clicks at a point of it.
inline bool clickView(QWidget* view, QPoint at, int button = 1) {
    if (!view || !waitFor([&] {
            QWindow* window = view->window()->windowHandle();
            return view->isVisible() && window && window->isExposed();
        }))
        return false;
    const QPoint p = view->mapToGlobal(at);
    return xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()),
                    QStringLiteral("click"), QString::number(button)});
}

// Presses keys or key combinations, one after the other ("ctrl+c", "F5").
inline bool pressKeys(const QStringList& keys) { return xdotool(QStringList{QStringLiteral("key")} + keys); }

inline bool typeText(const QString& text) { return xdotool({QStringLiteral("type"), text}); }

}  // namespace tovlo::test

#pragma once
// Runs the Qt event loop until a condition holds or the time is up.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

namespace tovlo::test {

inline bool runEventsUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

}  // namespace tovlo::test

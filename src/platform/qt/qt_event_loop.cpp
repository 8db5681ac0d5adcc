#include "qt_event_loop.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>

#include "platform/commands.h"
#include "platform/nested_wait.h"

namespace tovlo {

namespace {

class QtTimer : public Timer {
public:
    QtTimer(int intervalMs, bool enabled, TimerKind kind) : interval_(intervalMs), ticks_(*this, kind) {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] { ticks_.due([this] { restart(); }); });
        setEnabled(enabled);
    }
    void setInterval(int ms) override {
        interval_ = ms;
        if (enabled_) restart();
    }
    int interval() const override { return interval_; }
    void setEnabled(bool on) override {
        if (on == enabled_) return;
        enabled_ = on;
        if (on)
            restart();
        else
            timer_.stop();
    }
    bool enabled() const override { return enabled_; }

private:
    void restart() {
        // An interval of 0 never fires, like a timer control without interval.
        if (interval_ > 0)
            timer_.start(interval_);
        else
            timer_.stop();
    }
    QTimer timer_;
    int interval_;
    bool enabled_ = false;
    TimerTicks ticks_;
};

}  // namespace

std::unique_ptr<Timer> QtEventLoop::createTimer(int intervalMs, bool enabled, TimerKind kind) {
    return std::make_unique<QtTimer>(intervalMs, enabled, kind);
}

void QtEventLoop::processEvents() {
    NestedWaits::Scope pumping;
    QCoreApplication::processEvents();
}

std::int64_t QtEventLoop::nowMs() const { return QDateTime::currentMSecsSinceEpoch(); }

void QtEventLoop::quit() {
    Commands::deliver([] { QCoreApplication::quit(); });
}

}  // namespace tovlo

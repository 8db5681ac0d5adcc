#include "qt_socket_events.h"

#include <QAbstractEventDispatcher>
#include <QSocketNotifier>

namespace tovlo {

QtSocketEvents::QtSocketEvents(int socket, std::function<bool()> waiting, std::function<void()> handle)
    : waiting_(std::move(waiting)),
      handle_(std::move(handle)),
      notifier_(std::make_unique<QSocketNotifier>(socket, QSocketNotifier::Read)) {
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { handleOnce(); });
    // The loop is about to sleep: events already read would wait for the
    // next ones. They are handled by a queued call, which wakes the loop,
    // rather than inside the dispatcher's preparations.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this, [this] {
        if (queued_ || !waiting_()) return;
        queued_ = true;
        QMetaObject::invokeMethod(this, [this] { handleOnce(); }, Qt::QueuedConnection);
    });
}

QtSocketEvents::~QtSocketEvents() = default;

void QtSocketEvents::handleOnce() {
    queued_ = false;
    handle_();
}

}  // namespace tovlo

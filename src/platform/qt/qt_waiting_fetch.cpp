#include "qt_waiting_fetch.h"

#include <QEventLoop>
#include <QMetaObject>
#include <thread>

#include "platform/nested_wait.h"

namespace tovlo {

namespace {

// Runs the work on a thread of its own and waits for it with events running.
template <class Work>
auto whileEventsRun(Work work) -> decltype(work()) {
    NestedWaits::Scope nested;
    decltype(work()) result{};
    QEventLoop wait;
    std::thread worker([&] {
        result = work();
        // Queued: delivered once the loop runs, however soon the work ends.
        QMetaObject::invokeMethod(&wait, &QEventLoop::quit, Qt::QueuedConnection);
    });
    wait.exec();
    worker.join();
    return result;
}

}  // namespace

bool QtWaitingFetch::fetchToFile(const std::string& url, const std::string& path) {
    return whileEventsRun([&] { return inner_.fetchToFile(url, path); });
}

std::optional<std::string> QtWaitingFetch::fetchBytes(const std::string& url) {
    return whileEventsRun([&] { return inner_.fetchBytes(url); });
}

}  // namespace tovlo

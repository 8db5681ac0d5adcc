#pragma once
// Events of a connection of our own (the X server's, for the desktop) read
// in Qt's event loop: `handle` runs when the socket is readable, and before
// the loop goes to sleep whenever `waiting` says events were read from the
// socket already (by a request that waited for its reply) and would
// otherwise lie unhandled until the next one arrives.
#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace tovlo {

class QtSocketEvents : public QObject {
public:
    QtSocketEvents(int socket, std::function<bool()> waiting, std::function<void()> handle);
    ~QtSocketEvents() override;

private:
    void handleOnce();

    std::function<bool()> waiting_;
    std::function<void()> handle_;
    std::unique_ptr<QSocketNotifier> notifier_;
    bool queued_ = false;
};

}  // namespace tovlo

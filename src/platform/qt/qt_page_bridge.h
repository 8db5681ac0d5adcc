#pragma once
// The object a page reaches over the web channel: window.external.calls
// lands in calls(), which hands it to the view's handler.
//
// The handler does not run inside calls(), which the browser engine reaches
// from inside its own message handling: a handler that waits in a nested
// event loop (running a script in a page) would stall the engine there.
// Calls are queued and run in order from a timer of the application's event
// loop (a timer, not a posted event: waiting inside a posted event's delivery
// holds back the engine's work too), each as a command of the program (see
// platform/commands.h); answered() then tells the page how each one went.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <deque>

#include "platform/browser_view.h"
#include "platform/commands.h"

namespace tovlo {

class PageBridge : public QObject {
    Q_OBJECT
public:
    explicit PageBridge(QObject* parent = nullptr);
    void setHandler(BrowserView::ExternalCalls handler) { handler_ = std::move(handler); }

    // One call of the page, numbered by the page.
    Q_INVOKABLE void calls(const QString& id, const QString& webName, const QString& text);

    // A page's own call may close the window that shows the page. The view
    // (and with it this bridge) is then deleted once the running call has
    // returned, or now when no call is running.
    void deleteWhenIdle(QObject* view);

signals:
    // ok: the handler ran (or there is none); else error is the text of
    // the exception it threw.
    void answered(const QString& id, bool ok, const QString& error);

private:
    struct Call {
        QString id;
        QString webName;
        QString text;
    };
    void runNext();
    void run(const Call& call);

    BrowserView::ExternalCalls handler_;
    std::deque<Call> queue_;
    QTimer runTimer_;
    int depth_ = 0;
    QPointer<QObject> doomed_;
    EventSource events_{"a page's call"};
};

}  // namespace tovlo

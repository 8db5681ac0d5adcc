#include "qt_page_bridge.h"

#include <QWebEnginePage>
#include <exception>

#include "qt_web_profile.h"

namespace tovlo {

PageBridge::PageBridge(QObject* parent) : QObject(parent) {
    runTimer_.setSingleShot(true);
    runTimer_.setInterval(0);
    connect(&runTimer_, &QTimer::timeout, this, &PageBridge::runNext);
}

void PageBridge::calls(const QString& id, const QString& webName, const QString& text) {
    // The channel's transport is there for any page the view shows; only the
    // pages that get window.external may reach the program through it.
    if (auto* page = qobject_cast<QWebEnginePage*>(parent()); page && !pageMayCallHost(page->url())) {
        emit answered(id, false, QStringLiteral("这个页面不能调用程序"));
        return;
    }
    queue_.push_back({id, webName, text});
    runTimer_.start();
}

void PageBridge::runNext() {
    if (queue_.empty() || doomed_) return;
    const Call call = queue_.front();
    queue_.pop_front();
    if (!queue_.empty()) runTimer_.start();
    // A call that comes while a command of the program runs (waiting for a
    // fetch or a script, say) waits for it to end.
    events_.deliver([this, call] { run(call); });
}

void PageBridge::run(const Call& call) {
    if (doomed_) return;
    // A copy: the handler may drop this bridge's handler while it runs.
    BrowserView::ExternalCalls handler = handler_;
    bool ok = true;
    QString error;
    ++depth_;
    try {
        if (handler) handler(call.webName.toStdString(), call.text.toStdString());
    } catch (const std::exception& e) {
        ok = false;
        error = QString::fromStdString(e.what());
    } catch (...) {
        ok = false;
        error = QStringLiteral("unknown error");
    }
    --depth_;
    if (doomed_) {
        if (depth_ == 0) doomed_->deleteLater();
        return;
    }
    emit answered(call.id, ok, error);
}

void PageBridge::deleteWhenIdle(QObject* view) {
    handler_ = nullptr;
    if (depth_ == 0)
        delete view;
    else
        doomed_ = view;
}

}  // namespace tovlo

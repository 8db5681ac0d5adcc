#pragma once
// A browser view on Qt WebEngine. Every view shares one web profile, whose
// script gives each page window.external; calls(webName, text) reaches this
// view's handler over a web channel. The host policy holds for every view:
// no browser context menu, no browser shortcuts, no new windows.
//
// location() is the address of the last navigation this program asked for,
// exactly as given; when the page itself goes elsewhere afterwards (a link, a
// form, a script, a redirect) it is that page's address instead. A new view
// shows a blank page and its location() is empty.
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

#include "platform/browser_view.h"
#include "platform/qt/qt_forms.h"

class QEventLoop;
class QUrl;
class QWebEngineView;
class QWidget;

namespace tovlo {

class HostPage;
class PageBridge;

class QtBrowserView : public BrowserView {
public:
    explicit QtBrowserView(QWidget* parent);
    ~QtBrowserView() override;
    QtBrowserView(const QtBrowserView&) = delete;
    QtBrowserView& operator=(const QtBrowserView&) = delete;

    // Accepts URLs and local paths; a local path may carry a query
    // ("/opt/tovlo/w/main.html?v=3").
    void navigate(const std::string& url) override;
    std::string location() const override;
    void stop() override;
    // Waits for a navigation still loading first (at most kLoadWaitMs), then
    // evaluates the code in the page's global scope, letting events run
    // until it has finished. A page that hangs (a script waiting on a
    // stalled server) fails the call after kScriptWaitMs.
    void runScript(const std::string& code) override;
    void setVisible(bool visible) override;
    void focus() override;
    bool isVisible() const override;
    // Pixels relative to the form holding the view. A view placed this way
    // leaves its form's automatic layout.
    void setGeometry(const Rect& r) override;
    Rect geometry() const override;
    void setExternalCalls(ExternalCalls handler) override;

    QWidget* widget() const;

    static constexpr int kLoadWaitMs = 10000;
    static constexpr int kScriptWaitMs = 30000;

private:
    void load(const QUrl& url);
    // Runs events until done() holds, the time is up or the view goes away.
    // Returns false when the view went away.
    bool waitUntil(const std::function<bool()>& done, int timeoutMs);
    void wakeWaits();

    QObject context_;  // the context of this object's connections to the page
    QWebEngineView* view_;
    HostPage* page_;
    PageBridge* bridge_;
    std::string location_;
    bool navigationRequested_ = false;
    int renderEnds_ = 0;  // how often the page's renderer went away
    std::vector<QEventLoop*> waits_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// A browser view for a form of QtForms (its view maker).
QtFormView makeQtFormView(QWidget* parent);

}  // namespace tovlo

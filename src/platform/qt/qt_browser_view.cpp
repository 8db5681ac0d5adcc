#include "qt_browser_view.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLayout>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTimer>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <algorithm>

#include "platform/nested_wait.h"
#include "qt_page_bridge.h"
#include "qt_web_profile.h"

namespace tovlo {

namespace {

// Local paths may carry a query or a fragment, as the program writes them.
QUrl urlFromText(const std::string& text) {
    const QString t = QString::fromStdString(text);
    if (!t.startsWith(QLatin1Char('/'))) return QUrl(t);
    const qsizetype cut = t.indexOf(QRegularExpression(QStringLiteral("[?#]")));
    if (cut < 0) return QUrl::fromLocalFile(t);
    return QUrl::fromLocalFile(t.left(cut)).resolved(QUrl(t.mid(cut)));
}

// The code as a script string literal.
QString scriptLiteral(const std::string& code) {
    const QByteArray json = QJsonDocument(QJsonArray{QString::fromStdString(code)}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

// Indirect eval runs the code in the page's global scope, as a script of the
// page would: its functions and variables become the page's.
QString wrappedScript(const std::string& code) {
    return QStringLiteral(
               "(function () {"
               " try { (0, eval)(%1); return { ok: true }; }"
               " catch (e) { var text; try { text = String(e); } catch (_) { text = 'script error'; }"
               " return { ok: false, error: text }; }"
               "})()")
        .arg(scriptLiteral(code));
}

}  // namespace

// Refuses new windows and reports the navigations the page starts itself.
class HostPage : public QWebEnginePage {
public:
    explicit HostPage(QObject* parent) : QWebEnginePage(sharedWebProfile(), parent) {}
    std::function<void(const QUrl&)> onPageNavigation;

protected:
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        if (isMainFrame && type != NavigationTypeTyped && onPageNavigation) onPageNavigation(url);
        return true;
    }
};

namespace {

// The browser's own mouse navigation never acts: its back and forward
// buttons are kept from the page's render widget, which the view creates
// (and may replace) as a child of its own. Keys all reach the page: the
// engine binds no browser shortcut (reload, find, history, new window, save,
// print, view source) to them, which the tests check under real input.
class HostPolicy : public QObject {
public:
    explicit HostPolicy(QWidget* view) : QObject(view) {
        view->installEventFilter(this);
        for (QWidget* child : view->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::ChildAdded:
                if (QObject* child = static_cast<QChildEvent*>(event)->child(); child->isWidgetType())
                    child->installEventFilter(this);
                break;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick: {
                const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
                if (button == Qt::BackButton || button == Qt::ForwardButton) return true;
                break;
            }
            default: break;
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

QtBrowserView::QtBrowserView(QWidget* parent)
    : view_(new QWebEngineView(parent)), page_(new HostPage(view_)), bridge_(new PageBridge(page_)) {
    view_->setPage(page_);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    new HostPolicy(view_);

    auto* channel = new QWebChannel(page_);
    channel->registerObject(QString::fromLatin1(kPageBridgeName), bridge_);
    page_->setWebChannel(channel, QWebEngineScript::MainWorld);

    // Encoded as the program encodes the addresses it navigates to.
    page_->onPageNavigation = [this](const QUrl& url) { location_ = url.toString(QUrl::FullyEncoded).toStdString(); };
    QObject::connect(page_, &QWebEnginePage::loadStarted, &context_, [this] {
        navigationRequested_ = false;
        wakeWaits();
    });
    QObject::connect(page_, &QWebEnginePage::loadFinished, &context_, [this] {
        navigationRequested_ = false;
        wakeWaits();
    });
    QObject::connect(page_, &QWebEnginePage::renderProcessTerminated, &context_, [this] {
        ++renderEnds_;
        wakeWaits();
    });
    // The engine's first, empty document gets no page scripts: start with a
    // real blank page, so window.external is there before any navigation.
    load(QUrl(QStringLiteral("about:blank")));
}

QtBrowserView::~QtBrowserView() {
    *alive_ = false;
    for (QEventLoop* loop : waits_) loop->quit();
    page_->onPageNavigation = nullptr;
    QObject::disconnect(page_, nullptr, &context_, nullptr);
    view_->hide();
    view_->setParent(nullptr);
    bridge_->deleteWhenIdle(view_);
}

void QtBrowserView::navigate(const std::string& url) {
    location_ = url;
    load(urlFromText(url));
}

void QtBrowserView::load(const QUrl& url) {
    // Until the engine reports the load as started, isLoading() still
    // describes the page before.
    navigationRequested_ = true;
    page_->setUrl(url);
}

std::string QtBrowserView::location() const { return location_; }

void QtBrowserView::stop() {
    page_->triggerAction(QWebEnginePage::Stop);
    navigationRequested_ = false;
}

void QtBrowserView::runScript(const std::string& code) {
    if (!waitUntil([this] { return !navigationRequested_ && !page_->isLoading(); }, kLoadWaitMs))
        throw ScriptError("the view was closed before the script ran");

    struct Outcome {
        bool done = false;
        QVariant result;
    };
    auto outcome = std::make_shared<Outcome>();
    auto alive = alive_;
    page_->runJavaScript(wrappedScript(code), QWebEngineScript::MainWorld,
                         [this, outcome, alive](const QVariant& result) {
                             outcome->done = true;
                             outcome->result = result;
                             if (*alive) wakeWaits();
                         });
    const int renderEnds = renderEnds_;
    if (!waitUntil([&] { return outcome->done || renderEnds_ != renderEnds; }, kScriptWaitMs))
        throw ScriptError("the view was closed while its script ran");
    if (renderEnds_ != renderEnds) throw ScriptError("the page stopped while its script ran");
    if (!outcome->done) throw ScriptError("the page did not finish the script in time");

    const QVariantMap answer = outcome->result.toMap();
    if (!answer.value(QStringLiteral("ok")).toBool()) {
        const QString error = answer.value(QStringLiteral("error")).toString();
        throw ScriptError(error.isEmpty() ? std::string("the page did not run the script") : error.toStdString());
    }
}

bool QtBrowserView::waitUntil(const std::function<bool()>& done, int timeoutMs) {
    NestedWaits::Scope nested;
    auto alive = alive_;
    QElapsedTimer clock;
    clock.start();
    QTimer timeUp;
    timeUp.setSingleShot(true);
    timeUp.start(timeoutMs);
    // Waiting inside the delivery of a posted event (a queued call), Qt's
    // event dispatcher may hold back the events posted meanwhile, among them
    // the browser engine's own work: the page would not answer before the
    // time is up. Delivering posted events on a short timer keeps it going.
    QTimer flush;
    QObject::connect(&flush, &QTimer::timeout, [] { QCoreApplication::sendPostedEvents(); });
    flush.start(10);
    while (!done()) {
        if (clock.elapsed() >= timeoutMs) break;
        QEventLoop loop;
        QObject::connect(&timeUp, &QTimer::timeout, &loop, &QEventLoop::quit);
        waits_.push_back(&loop);
        loop.exec();
        if (!*alive) return false;
        waits_.erase(std::find(waits_.begin(), waits_.end(), &loop));
    }
    return true;
}

void QtBrowserView::wakeWaits() {
    for (QEventLoop* loop : waits_) loop->quit();
}

void QtBrowserView::setVisible(bool visible) { view_->setVisible(visible); }

void QtBrowserView::focus() { view_->setFocus(Qt::OtherFocusReason); }

bool QtBrowserView::isVisible() const { return !view_->isHidden(); }

void QtBrowserView::setGeometry(const Rect& r) {
    if (QWidget* form = view_->parentWidget())
        if (QLayout* layout = form->layout()) layout->removeWidget(view_);
    view_->setGeometry(r.left, r.top, r.width, r.height);
}

Rect QtBrowserView::geometry() const {
    const QRect g = view_->geometry();
    return {g.left(), g.top(), g.width(), g.height()};
}

void QtBrowserView::setExternalCalls(ExternalCalls handler) { bridge_->setHandler(std::move(handler)); }

QWidget* QtBrowserView::widget() const { return view_; }

QtFormView makeQtFormView(QWidget* parent) {
    auto view = std::make_unique<QtBrowserView>(parent);
    QWidget* widget = view->widget();
    return {std::move(view), widget};
}

}  // namespace tovlo

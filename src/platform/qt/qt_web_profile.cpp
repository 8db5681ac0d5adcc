#include "qt_web_profile.h"

#include "platform/page_trust.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <cctype>
#include <stdexcept>

namespace tovlo {

namespace {

// Defines window.external.calls(webName, text) on top of the web channel.
// Each call returns a promise: resolved once the host has run the command,
// rejected with the host's error text. Calls made before the channel is up
// (inline scripts, onload) wait in a queue and go out in order once it is.
const char* const kExternalShim = R"JS(
  var host = null;
  var waiting = [];
  var pending = {};
  // Answers go to whichever document the view shows by then: ids of one
  // document never match another's.
  var idPrefix = Math.random().toString(36).slice(2) + ':';
  var lastId = 0;
  function send(call) {
    var id = idPrefix + (++lastId);
    pending[id] = call;
    host.calls(id, call.webName, call.text);
  }
  function answered(id, ok, error) {
    var call = pending[id];
    if (!call) return;
    delete pending[id];
    if (ok) call.resolve();
    else call.reject(String(error));
  }
  // The transport comes a moment after the document is made; a view that
  // has none is asked ever less often rather than 200 times a second.
  var retryMs = 5;
  function connect() {
    if (typeof qt === 'undefined' || !qt.webChannelTransport) {
      setTimeout(connect, retryMs);
      retryMs = Math.min(retryMs * 2, 1000);
      return;
    }
    new QWebChannel(qt.webChannelTransport, function (channel) {
      host = channel.objects[BRIDGE];
      host.answered.connect(answered);
      waiting.splice(0).forEach(send);
    });
  }
  var external = {
    calls: function (webName, text) {
      return new Promise(function (resolve, reject) {
        var call = { webName: String(webName), text: String(text), resolve: resolve, reject: reject };
        if (host) send(call);
        else waiting.push(call);
      });
    }
  };
  Object.defineProperty(window, 'external', { value: external, enumerable: true });
  connect();
)JS";

// Only local pages and the service's pages get the object: a page reached
// by a link from one of them must not reach the program.
const char* const kPageGuard = R"JS(
  var local = location.protocol === 'file:' || location.href === 'about:blank';
  var service = TRUSTED !== '' && location.protocol === 'http:' && location.host.toLowerCase() === TRUSTED;
  if (!local && !service) return;
)JS";

// The trusted service as pages name it in location.host: lower case,
// without the default port.
std::string& trustedAuthority() {
    static std::string authority;
    return authority;
}

QString& profileFolder() {
    static QString folder;
    return folder;
}

QString readWebChannelLibrary() {
    QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("qwebchannel.js is missing from the Qt WebChannel library");
    return QString::fromUtf8(file.readAll());
}

// Both parts run inside one function, so the page's global scope only gains
// window.external.
QWebEngineScript externalScript() {
    QWebEngineScript script;
    script.setName(QStringLiteral("tovlo-external"));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(false);
    const QByteArray trusted =
        QJsonDocument(QJsonArray{QString::fromStdString(trustedAuthority())}).toJson(QJsonDocument::Compact);
    script.setSourceCode(QStringLiteral("(function () {\nvar BRIDGE = '%1';\nvar TRUSTED = %2[0];\n")
                             .arg(QLatin1String(kPageBridgeName), QString::fromUtf8(trusted)) +
                         QString::fromUtf8(kPageGuard) + readWebChannelLibrary() + QString::fromUtf8(kExternalShim) +
                         QStringLiteral("\n})();"));
    return script;
}

QWebEngineProfile* makeProfile() {
    // Without a folder, no storage name: off the record, nothing is kept on disk.
    QWebEngineProfile* profile = nullptr;
    if (profileFolder().isEmpty()) {
        profile = new QWebEngineProfile(QCoreApplication::instance());
    } else {
        profile = new QWebEngineProfile(QStringLiteral("Tovlo"), QCoreApplication::instance());
        profile->setPersistentStoragePath(profileFolder());
        profile->setCachePath(profileFolder() + QStringLiteral("/cache"));
        // Pages are kept, not the service's answers: they stay as fresh as before.
        profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    }
    QWebEngineSettings* s = profile->settings();
    // Pages put faces on the clipboard themselves: this grants the clipboard
    // permission of the asynchronous clipboard API without asking.
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, true);
    s->setAttribute(QWebEngineSettings::JavascriptCanPaste, true);
    // Local pages show pictures and pages of the service and other local files.
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    // A page that fails to load stays blank instead of showing the browser's
    // own error page; there is nothing for plug-ins to show.
    s->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    profile->scripts()->insert(externalScript());
    return profile;
}

// The script again, with the trusted service, for the documents to come.
void replaceExternalScript(QWebEngineProfile* profile) {
    QWebEngineScriptCollection* scripts = profile->scripts();
    for (const QWebEngineScript& old : scripts->find(QStringLiteral("tovlo-external"))) scripts->remove(old);
    scripts->insert(externalScript());
}

QWebEngineProfile*& existingProfile() {
    static QWebEngineProfile* profile = nullptr;
    return profile;
}

}  // namespace

void setWebProfileFolder(const std::string& folder) { profileFolder() = QString::fromStdString(folder); }

void setTrustedServiceHost(const std::string& hostPort) {
    trustedAuthority() = normalAuthority(hostPort);
    if (QWebEngineProfile* profile = existingProfile()) replaceExternalScript(profile);
}

bool pageMayCallHost(const QUrl& url) {
    return url.isLocalFile() || pageMayCallHost(url.toString(QUrl::FullyEncoded).toStdString(), trustedAuthority());
}

QWebEngineProfile* sharedWebProfile() {
    QWebEngineProfile*& profile = existingProfile();
    if (!profile) {
        profile = makeProfile();
        QObject::connect(profile, &QObject::destroyed, [] { existingProfile() = nullptr; });
    }
    return profile;
}

}  // namespace tovlo

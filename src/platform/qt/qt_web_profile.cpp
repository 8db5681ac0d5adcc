#include "qt_web_profile.h"

#include <QCoreApplication>
#include <QFile>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
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
  function connect() {
    if (typeof qt === 'undefined' || !qt.webChannelTransport) {
      setTimeout(connect, 5);
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
    script.setSourceCode(QStringLiteral("(function () {\nvar BRIDGE = '%1';\n").arg(QLatin1String(kPageBridgeName)) +
                         readWebChannelLibrary() + QString::fromUtf8(kExternalShim) + QStringLiteral("\n})();"));
    return script;
}

QWebEngineProfile* makeProfile() {
    // No storage name: off the record, nothing of it is kept on disk.
    auto* profile = new QWebEngineProfile(QCoreApplication::instance());
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

}  // namespace

QWebEngineProfile* sharedWebProfile() {
    static QWebEngineProfile* profile = nullptr;
    if (!profile) {
        profile = makeProfile();
        QObject::connect(profile, &QObject::destroyed, [] { profile = nullptr; });
    }
    return profile;
}

}  // namespace tovlo

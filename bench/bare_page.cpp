// The floor of the web engine Tovlo uses: a program of ours that shows one
// local page in one web view of the panel's size, with the same engine
// settings (no sandbox as root, software rendering, shared GL contexts), and
// does nothing else. bench/compare_bare.sh measures Tovlo against it.
// With TICK_MS it also runs an empty precise timer of that interval: the
// floor of a program that must wake up that often (Tovlo's tracking tick
// is 20 ms).
// With PROFILE_FOLDER its web profile keeps what pages store in that folder,
// as Tovlo's does (its HTTP cache in memory, like Tovlo's), else it keeps
// nothing.
// Usage: bare_page PAGE.html [TICK_MS] [PROFILE_FOLDER]
#include <cstdlib>

#include <QApplication>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include <QWebEnginePage>
#include <QWebEngineProfile>

#include "platform/qt/web_engine_setup.h"

int main(int argc, char** argv) {
    tovlo::prepareWebEngine();
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    QWebEngineView view;
    if (argc > 3) {
        auto* profile = new QWebEngineProfile(QStringLiteral("bare"), &app);
        profile->setPersistentStoragePath(QString::fromLocal8Bit(argv[3]));
        profile->setCachePath(QString::fromLocal8Bit(argv[3]) + QStringLiteral("/cache"));
        profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        view.setPage(new QWebEnginePage(profile, &view));
    }
    view.resize(360, 520);
    view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    view.show();
    QTimer tick;
    if (argc > 2 && std::atoi(argv[2]) > 0) {
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [] {});
        tick.start(std::atoi(argv[2]));
    }
    return app.exec();
}

// The floor of the web engine Tovlo uses: a program of ours that shows one
// local page in one web view of the panel's size, with the same engine
// settings (no sandbox as root, software rendering, shared GL contexts), and
// does nothing else. bench/compare_bare.sh measures Tovlo against it.
// Usage: bare_page PAGE.html
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

#include "platform/qt/web_engine_setup.h"

int main(int argc, char** argv) {
    tovlo::prepareWebEngine();
    QApplication app(argc, argv);
    if (argc < 2) return 2;
    QWebEngineView view;
    view.resize(360, 520);
    view.load(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])));
    view.show();
    return app.exec();
}

// make_sample_data --out DIR --main-page FILE --updater FILE
//
// Writes the pristine data folder of the devservice: service files, public
// packs, the demo account and the update tree (which delivers the given main
// page and updater). DIR is emptied first.
#include <QGuiApplication>

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

#include "platform/posix/iconv_codec.h"
#include "sample_data.h"

using namespace tovlo::devservice;

int main(int argc, char** argv) {
    std::string out;
    UpdateSources sources;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--out") out = argv[i + 1];
        if (name == "--main-page") sources.mainPage = argv[i + 1];
        if (name == "--updater") sources.updater = argv[i + 1];
    }
    if (argc != 7 || out.empty() || sources.mainPage.empty() || sources.updater.empty()) {
        std::cerr << "usage: make_sample_data --out DIR --main-page FILE --updater FILE\n";
        return 2;
    }
    // The faces carry drawn numbers, which need fonts, which need a GUI
    // application; it never shows anything.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    try {
        std::filesystem::remove_all(out);
        std::filesystem::create_directories(out);
        DataFolder folder{std::filesystem::absolute(out).string()};
        tovlo::IconvCodec codec;
        writeServiceFiles(folder);
        writePacks(folder, codec);
        writeDemoAccount(folder, codec);
        writeUpdateTree(folder, codec, sources);
    } catch (const std::exception& e) {
        std::cerr << "make_sample_data: " << e.what() << "\n";
        return 1;
    }
    std::cout << "sample data written to " << out << "\n";
    return 0;
}

// make_sample_data --out DIR
//
// Writes the pristine data folder of the devservice: service files, public
// packs, the demo account and the update tree. DIR is emptied first.
#include <QGuiApplication>

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

#include "platform/posix/iconv_codec.h"
#include "sample_data.h"

using namespace tovlo::devservice;

int main(int argc, char** argv) {
    if (argc != 3 || std::string(argv[1]) != "--out") {
        std::cerr << "usage: make_sample_data --out DIR\n";
        return 2;
    }
    std::string out = argv[2];
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
        writeUpdateTree(folder, codec);
    } catch (const std::exception& e) {
        std::cerr << "make_sample_data: " << e.what() << "\n";
        return 1;
    }
    std::cout << "sample data written to " << out << "\n";
    return 0;
}

// The thumbnail sheet of a 300-image pack (48 x 48 GIF faces, 6 columns of
// 30 x 30 cells): buildFaceSheet on QImage against ImageMagick's montage
// making the same grid as a BMP. Each iteration runs both; the counters give
// both times and their ratio.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "library/face_sheet.h"
#include "platform/qt/qt_images.h"
#include "support/temp_dir.h"

using namespace tovlo;
namespace fs = std::filesystem;

namespace {

constexpr int kImages = 300;

// 300 row-column faces made from the devservice's sample GIFs.
std::vector<std::string> makePack(const std::string& folder) {
    std::vector<std::string> samples;
    for (const auto& e : fs::directory_iterator(std::string(DEVSERVICE_DATA) + "/soft/经典笑脸"))
        if (e.path().extension() == ".gif") samples.push_back(e.path().string());
    std::sort(samples.begin(), samples.end());
    std::vector<std::string> names;
    for (int i = 0; i < kImages; ++i) {
        names.push_back(std::to_string(i / 6 + 1) + "-" + std::to_string(i % 6 + 1) + ".gif");
        fs::copy_file(samples[static_cast<std::size_t>(i) % samples.size()], folder + "/" + names.back());
    }
    return names;
}

double montageSeconds(const std::string& folder, const std::vector<std::string>& names) {
    // The same grid: every face's first frame stretched to 30 x 30, six per
    // row, no gaps, white background, saved as a BMP.
    std::string command = "cd '" + folder + "' && montage -background white -geometry 30x30!+0+0 -tile 6x";
    for (const std::string& n : names) command += " '" + n + "[0]'";
    command += " BMP3:magick.bmp";
    auto t0 = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "montage failed\n");
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_Sheet300(benchmark::State& state) {
    int argc = 1;
    char name[] = "face_sheet_bench";
    char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
    test::TempDir dir;
    const std::vector<std::string> names = makePack(dir.path());
    QtImages images;
    double ours = 0, theirs = 0;
    int drawn = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        drawn = buildFaceSheet(images, dir.path(), names, dir / "small.bmp").drawn;
        double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        ours += t;
        state.SetIterationTime(t);
        theirs += montageSeconds(dir.path(), names);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["sheet_ms"] = ours / n * 1000;
    state.counters["montage_ms"] = theirs / n * 1000;
    state.counters["ratio"] = ours / theirs;
    state.counters["drawn"] = drawn;
}
BENCHMARK(BM_Sheet300)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();

// A 300-file face pack (about 5 KB per file) from the devservice on
// loopback: the real Downloader on Qt Network with three channels (each
// starts its next file when its previous one completes, as the pack panel
// does), against the curl program fetching the same URLs over three
// parallel connections. Each iteration runs both; the counters give both
// times and their ratio.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "devservice_process.h"
#include "library/downloader.h"
#include "platform/fake/fake_services.h"
#include "platform/posix/iconv_codec.h"
#include "platform/qt/qt_async_url_read.h"
#include "support/temp_dir.h"

using namespace tovlo;
namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 300;
constexpr int kFileBytes = 5 * 1024;

std::vector<std::string> makePack(const std::string& folder) {
    fs::create_directories(folder);
    std::mt19937 random(7);
    std::vector<std::string> names;
    for (int i = 0; i < kFiles; ++i) {
        std::string bytes(kFileBytes, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        names.push_back(std::to_string(i / 6 + 1) + "-" + std::to_string(i % 6 + 1) + ".gif");
        test::writeBytes(folder + "/" + names.back(), bytes);
    }
    return names;
}

// Three channels over one Downloader; returns when every file has ended.
double downloaderSeconds(QtAsyncUrlReads& reads, const std::string& base, const std::vector<std::string>& names,
                         const std::string& out) {
    FakeMessageBox messages;
    Downloader dl(reads.create(), messages);
    std::size_t next = 0;
    int ended = 0;
    auto startNext = [&] {
        if (next < names.size()) {
            const std::string& n = names[next++];
            dl.BeginDownload(base + n, out + "/" + n);
        }
    };
    auto onEnd = [&] {
        ++ended;
        startNext();
    };
    dl.DownloadComplete = [&](std::int64_t, const std::string&) { onEnd(); };
    dl.DownloadError = [&](const std::string&) { onEnd(); };
    QElapsedTimer clock;
    clock.start();
    for (int c = 0; c < 3; ++c) startNext();
    while (ended < static_cast<int>(names.size())) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return clock.nsecsElapsed() / 1e9;
}

double curlSeconds(const std::string& base, const std::vector<std::string>& names, const std::string& out) {
    const std::string config = out + "/curl.cfg";
    {
        std::ofstream cfg(config);
        for (const std::string& n : names)
            cfg << "url = \"" << base << n << "\"\noutput = \"" << out << "/" << n << "\"\n";
    }
    const std::string command =
        "curl --silent --no-progress-meter --fail --parallel --parallel-max 3 --config " + config;
    auto t0 = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "curl failed\n");
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_Pack300ThreeChannels(benchmark::State& state) {
    int argc = 1;
    char name[] = "pack_download_bench";
    char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
    test::DevServiceProcess service;
    const std::vector<std::string> names = makePack(service.dataFolder() + "/soft/bench300");
    const std::string base = "http://127.0.0.1:" + std::to_string(service.port()) + "/soft/bench300/";
    IconvCodec codec;
    QtAsyncUrlReads reads(codec);
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        test::TempDir a, b;
        double t = downloaderSeconds(reads, base, names, a.path());
        theirs += curlSeconds(base, names, b.path());
        ours += t;
        state.SetIterationTime(t);
        if (fs::file_size(a / names.back()) != kFileBytes) state.SkipWithError("incomplete download");
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["downloader_ms"] = ours / n * 1000;
    state.counters["curl_ms"] = theirs / n * 1000;
    state.counters["ratio"] = ours / theirs;
    state.counters["files"] = kFiles;
}
BENCHMARK(BM_Pack300ThreeChannels)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();

// The search box's work on a large library: 10,000 faces in 200 packs (and
// 200 words of the user's), one query as the program runs it (a look at
// the folders, then the search). The baseline, in the same process, is the
// first reading of the whole library, which a query never pays again. The
// index's memory is reported as a counter.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>

#include "library/face_index.h"
#include "platform/native_codec.h"
#include "support/temp_dir.h"

namespace {

constexpr int kPacks = 200, kFacesPerPack = 50;

struct Library {
    tovlo::test::TempDir dir;
    tovlo::NativeCodec codec;
    std::vector<std::string> history, favourites;
    std::map<std::string, std::string> words;
    Library() {
        for (int p = 0; p < kPacks; ++p) {
            const std::string pack = dir / ("表情包" + std::to_string(p));
            std::filesystem::create_directories(tovlo::test::u8Path(pack));
            tovlo::test::writeBytes(pack + "/main.html", "<html>");
            for (int f = 0; f < kFacesPerPack; ++f)
                tovlo::test::writeBytes(pack + "/" + std::to_string(f / 6 + 1) + "-" + std::to_string(f % 6 + 1) + ".gif",
                                        "GIF");
        }
        for (int i = 0; i < 200; ++i) words["file://" + dir.path() + "/x" + std::to_string(i)] = "开心 狗";
    }
};

Library& library() {
    static Library lib;
    return lib;
}

void BM_FirstReading(benchmark::State& state) {
    for (auto _ : state) {
        tovlo::FaceIndex index(library().codec);
        index.refresh(library().dir.path(), "");
        benchmark::DoNotOptimize(index.faces().size());
    }
}

void BM_Query(benchmark::State& state, const char* query) {
    Library& lib = library();
    tovlo::FaceIndex index(lib.codec);
    index.refresh(lib.dir.path(), "");
    std::size_t found = 0;
    for (auto _ : state) {
        index.refresh(lib.dir.path(), "");
        found = tovlo::searchFaces(index, {lib.history, lib.favourites, lib.words}, query, 300).total;
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = static_cast<double>(found);
    state.counters["index_MiB"] = static_cast<double>(index.memoryBytes()) / (1024.0 * 1024.0);
}

// The 95th percentile of the repetitions' times.
double p95(const std::vector<double>& times) {
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    return sorted[static_cast<std::size_t>(0.95 * static_cast<double>(sorted.size() - 1) + 0.5)];
}

}  // namespace

BENCHMARK(BM_FirstReading)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_Query, one_pack, "表情包17")->Unit(benchmark::kMillisecond)->Repetitions(20)->ComputeStatistics("p95", p95)->ReportAggregatesOnly();
BENCHMARK_CAPTURE(BM_Query, file_name, "3-4")->Unit(benchmark::kMillisecond)->Repetitions(20)->ComputeStatistics("p95", p95)->ReportAggregatesOnly();
BENCHMARK_CAPTURE(BM_Query, nothing, "没有这个")->Unit(benchmark::kMillisecond)->Repetitions(20)->ComputeStatistics("p95", p95)->ReportAggregatesOnly();
BENCHMARK_MAIN();

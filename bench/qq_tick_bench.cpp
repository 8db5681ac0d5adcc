// The cost of one tracking tick (classify the foreground window, dock the
// panel and the bar) on the fake desktop, against two baselines in the same
// binary: the bare desktop reads a tick makes, and a tick with the panel
// itself in front (reads and classification, no docking). Reports ns per
// tick, heap allocations per tick, and the ratios at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

#include "counting_new.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_platform.h"
#include "qq/chat_tracker.h"

using namespace tovlo;

namespace {

constexpr WindowHandle kGroupChat = 0x501;   // a long title: one heap string per read
constexpr WindowHandle kPersonChat = 0x502;  // short texts: none

struct Desk {
    FakePlatform fake;
    FakeDesktop desktop;
    PublicParm parm{"/opt/Tovlo", fake.codec};
    std::unique_ptr<Form> panel = fake.forms.create(FormDescription("mainForm"));
    ButtomFrm bar{fake.forms, "/opt/Tovlo", [] {}};
    ChatTracker tracker{desktop, *panel, bar, parm};

    Desk() {
        panel->setGeometry({0, 0, 300, 480});
        desktop.addWindow(kGroupChat, "TXGuiFoundation", "表情爱好者交流 － 高级群", {100, 50, 600, 900});
        desktop.addWindow(kPersonChat, "TXGuiFoundation", "张三", {200, 100, 400, 500});
        desktop.addWindow(panel->handle(), "Tovlo", "Tovlo", {});
    }
};

void countAllocations(benchmark::State& state, std::size_t before) {
    state.counters["allocs/tick"] =
        static_cast<double>(bench::allocationCount() - before) / static_cast<double>(state.iterations());
}

void tickGroupChatButtom(benchmark::State& state) {
    Desk d;
    d.parm.showModel = "buttom";
    static_cast<FakePicture&>(d.bar.Picture1()).click();  // the bar opened
    d.desktop.foreground = kGroupChat;
    const std::size_t before = bench::allocationCount();
    for (auto _ : state) d.tracker.tick();
    countAllocations(state, before);
    if (d.tracker.qqwindow() != kGroupChat) state.SkipWithError("the chat window was not tracked");
}

void tickPersonChatNormal(benchmark::State& state) {
    Desk d;
    d.parm.showModel = "normal";
    d.desktop.foreground = kPersonChat;
    const std::size_t before = bench::allocationCount();
    for (auto _ : state) d.tracker.tick();
    countAllocations(state, before);
    if (d.tracker.qqwindow() != kPersonChat) state.SkipWithError("the chat window was not tracked");
}

void baselinePanelInFront(benchmark::State& state) {
    Desk d;
    d.parm.showModel = "buttom";
    d.desktop.foreground = d.panel->handle();
    const std::size_t before = bench::allocationCount();
    for (auto _ : state) d.tracker.tick();
    countAllocations(state, before);
}

void baselineBareDesktopReads(benchmark::State& state) {
    Desk d;
    d.desktop.foreground = kGroupChat;
    const Desktop& desktop = d.desktop;
    const std::size_t before = bench::allocationCount();
    for (auto _ : state) {
        WindowHandle h = desktop.foregroundWindow();
        std::string title = desktop.windowTitle(h);
        std::string className = desktop.windowClass(h);
        Rect r = desktop.windowRect(h);
        benchmark::DoNotOptimize(title);
        benchmark::DoNotOptimize(className);
        benchmark::DoNotOptimize(r);
    }
    countAllocations(state, before);
}

BENCHMARK(tickGroupChatButtom)->Unit(benchmark::kNanosecond);
BENCHMARK(tickPersonChatNormal)->Unit(benchmark::kNanosecond);
BENCHMARK(baselinePanelInFront)->Unit(benchmark::kNanosecond);
BENCHMARK(baselineBareDesktopReads)->Unit(benchmark::kNanosecond);

// Keeps the time per iteration of every run for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                nsPerIteration[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> nsPerIteration;
};

void printRatio(const RatioReporter& rep, const std::string& what, const std::string& against) {
    auto a = rep.nsPerIteration.find(what), b = rep.nsPerIteration.find(against);
    if (a == rep.nsPerIteration.end() || b == rep.nsPerIteration.end() || b->second <= 0) return;
    std::printf("%-24s / %-26s = %.2f\n", what.c_str(), against.c_str(), a->second / b->second);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\nRatios of time per tick:\n");
    for (const char* tick : {"tickGroupChatButtom", "tickPersonChatNormal"}) {
        printRatio(reporter, tick, "baselineBareDesktopReads");
        printRatio(reporter, tick, "baselinePanelInFront");
    }
    return 0;
}

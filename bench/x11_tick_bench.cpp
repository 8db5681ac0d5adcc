// The real tracking tick on X11: classification and docking of a chat
// window read through X11Desktop (the panel and the bar are in-memory forms,
// so only the desktop reads cross the wire), against the floor of the X
// round trips such a tick would need if it asked the server every time
// (foreground window, title, class, frame: six requests, measured as six
// XGetInputFocus round trips) in the same run. The desktop keeps its answers
// until the server reports a change, so a steady window costs the tick only
// the look-up of the focus (no window manager runs here).
// Needs an X display: xvfb-run -a ./x11_tick_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/fake/fake_platform.h"
#include "platform/x11/x11_desktop.h"
#include "qq/chat_tracker.h"
#include "x11_chat_window.h"

namespace {

constexpr int kFloorRoundTrips = 6;

ChatWindow& chat() {
    static ChatWindow w;
    return w;
}

void trackingTick(benchmark::State& state) {
    if (!chat().window) return state.SkipWithError("no X display");
    auto desktop = tovlo::X11Desktop::connect();
    tovlo::FakePlatform fake;
    tovlo::PublicParm parm("/opt/Tovlo", fake.codec);
    parm.showModel = "normal";
    auto panel = fake.forms.create(tovlo::FormDescription("mainForm"));
    panel->setGeometry({0, 0, 360, 520});
    tovlo::ButtomFrm bar(fake.forms, "/opt/Tovlo", [] {});
    tovlo::ChatTracker tracker(*desktop, *panel, bar, parm);
    for (auto _ : state) tracker.tick();
    if (tracker.qqwindow() != chat().window) state.SkipWithError("the chat window was not recognised");
}

void roundTripFloor(benchmark::State& state) {
    if (!chat().window) return state.SkipWithError("no X display");
    RoundTrips wire;
    for (auto _ : state) wire.run(kFloorRoundTrips);
}

BENCHMARK(trackingTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(roundTripFloor)->Unit(benchmark::kMicrosecond);

// Prints the tick's cost as a multiple of the floor after the runs.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_name.function_name == "trackingTick") tick_ = r.GetAdjustedRealTime();
            if (r.run_name.function_name == "roundTripFloor") floor_ = r.GetAdjustedRealTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        if (tick_ > 0 && floor_ > 0)
            std::printf("tracking tick = %.2f x the floor of %d round trips (target: at most 2)\n", tick_ / floor_,
                        kFloorRoundTrips);
    }

private:
    double tick_ = 0, floor_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return 0;
}

#include "qq/tracking_timer.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_event_loop.h"

using namespace tovlo;

namespace {

// What happens to the timer, one step at a time: the clock moving on, a
// burst of n changes reported at once, the desktop starting or stopping its
// reports, the timer switched off or on.
struct Step {
    enum Kind { Wait, Changes, Reporting, Enabled } kind;
    int value;
    int ticksSoFar;
};

struct Row {
    const char* what;
    bool reporting;
    int anotherLooks;  // how many ticks in a row ask for another look
    std::vector<Step> steps;
};

}  // namespace

TEST(TrackingTimer, TicksOnChangesAtMostOnceAFrameAndPollsWhereNothingIsReported) {
    using S = Step;
    const Row rows[] = {
        {"no reports: every 20 ms, changes add nothing",
         false, 0, {{S::Wait, 19, 0}, {S::Wait, 1, 1}, {S::Changes, 50, 1}, {S::Wait, 200, 11}}},
        {"reports: one look after being switched on, then nothing while nothing changes",
         true, 0, {{S::Wait, 20, 1}, {S::Wait, 10000, 1}}},
        {"a lone change ticks at once",
         true, 0, {{S::Wait, 1000, 1}, {S::Changes, 1, 2}, {S::Wait, 1000, 2}, {S::Changes, 1, 3}}},
        {"a drag's burst: one tick at once, one a frame later, none after",
         true, 0, {{S::Wait, 100, 1}, {S::Changes, 300, 2}, {S::Wait, 15, 2}, {S::Wait, 1, 3}, {S::Wait, 1000, 3}}},
        {"changes a frame apart each tick",
         true, 0, {{S::Wait, 100, 1}, {S::Changes, 1, 2}, {S::Wait, 16, 2}, {S::Changes, 1, 3}, {S::Wait, 16, 3},
                   {S::Changes, 1, 4}}},
        {"switched off: changes tick nothing; switched on: one look an interval later",
         true, 0, {{S::Wait, 100, 1}, {S::Enabled, 0, 1}, {S::Changes, 5, 1}, {S::Wait, 100, 1},
                   {S::Enabled, 1, 1}, {S::Wait, 20, 2}, {S::Wait, 1000, 2}}},
        {"no window in front: another look an interval later while the tick asks for one",
         true, 3, {{S::Wait, 20, 1}, {S::Wait, 20, 2}, {S::Wait, 20, 3}, {S::Wait, 20, 4}, {S::Wait, 1000, 4}}},
        {"the window manager goes: polling; it comes back: quiet again",
         true, 0, {{S::Wait, 100, 1}, {S::Reporting, 0, 1}, {S::Wait, 100, 6}, {S::Reporting, 1, 6},
                   {S::Wait, 20, 7}, {S::Wait, 1000, 7}}},
    };
    for (const Row& row : rows) {
        FakeEventLoop loop;
        FakeDesktop desktop;
        desktop.reporting = row.reporting;
        TrackingTimer timer(loop, desktop, 20, true);
        int ticks = 0, looks = row.anotherLooks;
        timer.onTick = [&] { ++ticks; };
        timer.wantsAnotherLook = [&] { return looks-- > 0; };
        WindowHandle panel = 7;
        timer.watch([&] { return std::vector<WindowHandle>{panel, 8}; });
        EXPECT_EQ(desktop.ours, (std::vector<WindowHandle>{7, 8})) << row.what;
        panel = 9;  // the toolkit replaced the panel's window: the next tick tells the desktop
        int n = 0;
        for (const Step& step : row.steps) {
            switch (step.kind) {
                case S::Wait: loop.advance(step.value); break;
                case S::Changes:
                    for (int i = 0; i < step.value; ++i) desktop.changed();
                    break;
                case S::Reporting:
                    desktop.reporting = step.value != 0;
                    desktop.changed();
                    break;
                case S::Enabled: timer.setEnabled(step.value != 0); break;
            }
            EXPECT_EQ(ticks, step.ticksSoFar) << row.what << ", step " << n++;
        }
        EXPECT_EQ(desktop.ours, (std::vector<WindowHandle>{9, 8})) << row.what;
    }
}

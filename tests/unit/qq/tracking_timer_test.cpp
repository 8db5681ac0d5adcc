#include "qq/tracking_timer.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_event_loop.h"

using namespace tovlo;

// Each step: the clock moves on (Wait), a burst of n changes is reported
// (Changes), the desktop starts or stops reporting (Reporting), the timer
// is switched off or on (Enabled); then the ticks so far are counted.
TEST(TrackingTimer, TicksOnChangesAtMostOnceAFrameAndPollsWhereNothingIsReported) {
    enum Kind { Wait, Changes, Reporting, Enabled };
    struct Step {
        Kind kind;
        int value, ticksSoFar;
    };
    struct Row {
        const char* what;
        bool reporting;
        int anotherLooks;  // how many ticks in a row ask for another look
        std::vector<Step> steps;
    };
    const Row rows[] = {
        {"no reports: every 20 ms, changes add nothing", false, 0,
         {{Wait, 19, 0}, {Wait, 1, 1}, {Changes, 50, 1}, {Wait, 200, 11}}},
        {"reports: one look after being switched on, then quiet", true, 0, {{Wait, 20, 1}, {Wait, 10000, 1}}},
        {"a drag's burst: one tick at once, one a frame later", true, 0,
         {{Wait, 100, 1}, {Changes, 300, 2}, {Wait, 15, 2}, {Wait, 1, 3}, {Wait, 1000, 3}}},
        {"a lone change ticks at once, and so does each a frame after the last tick", true, 0,
         {{Wait, 100, 1}, {Changes, 1, 2}, {Wait, 16, 2}, {Changes, 1, 3}, {Wait, 16, 3}, {Changes, 1, 4}}},
        {"switched off: changes tick nothing; switched on: one look an interval later", true, 0,
         {{Wait, 100, 1}, {Enabled, 0, 1}, {Changes, 5, 1}, {Wait, 100, 1}, {Enabled, 1, 1}, {Wait, 20, 2}}},
        {"no window in front: another look an interval later while the tick asks", true, 3,
         {{Wait, 20, 1}, {Wait, 20, 2}, {Wait, 20, 3}, {Wait, 20, 4}, {Wait, 1000, 4}}},
        {"the window manager goes: polling; it comes back: quiet again", true, 0,
         {{Wait, 100, 1}, {Reporting, 0, 1}, {Wait, 100, 6}, {Reporting, 1, 6}, {Wait, 20, 7}, {Wait, 1000, 7}}},
    };
    for (const Row& row : rows) {
        FakeEventLoop loop;
        FakeDesktop desktop;
        desktop.reporting = row.reporting;
        TrackingTimer timer(loop, desktop, 20, true);
        int ticks = 0, looks = row.anotherLooks, n = 0;
        WindowHandle panel = 7;
        timer.onTick = [&] { ++ticks; };
        timer.wantsAnotherLook = [&] { return looks-- > 0; };
        timer.watch([&] { return std::vector<WindowHandle>{panel, 8}; });
        EXPECT_EQ(desktop.ours, (std::vector<WindowHandle>{7, 8})) << row.what;
        panel = 9;  // the toolkit replaced the panel's window: the next tick tells the desktop
        for (const Step& step : row.steps) {
            if (step.kind == Wait) loop.advance(step.value);
            for (int i = 0; step.kind == Changes && i < step.value; ++i) desktop.changed();
            if (step.kind == Reporting) desktop.reporting = step.value != 0, desktop.changed();
            if (step.kind == Enabled) timer.setEnabled(step.value != 0);
            EXPECT_EQ(ticks, step.ticksSoFar) << row.what << ", step " << n++;
        }
        EXPECT_EQ(desktop.ours, (std::vector<WindowHandle>{9, 8})) << row.what;
    }
}

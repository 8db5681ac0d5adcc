// What the Win32 event loop adds to the shared timer contract: a tick that
// runs the loop is not entered again, quit() ends run(), and timers that
// outlive their loop stay quiet.
#include <gtest/gtest.h>

#include <memory>

#include "contract_machines.h"

namespace tovlo::test {

TEST(WinEventLoop, ATickThatRunsTheLoopIsNotEnteredAgain) {
    WinMachine machine;
    int depth = 0, deepest = 0, ticks = 0;
    auto timer = machine.loop.createTimer(10, true);
    timer->onTick = [&] {
        ++ticks;
        deepest = std::max(deepest, ++depth);
        if (ticks == 1) machine.run(100);  // like a modal wait inside a tick
        --depth;
    };
    machine.run(200);
    EXPECT_GT(ticks, 1);
    EXPECT_EQ(deepest, 1);
}

TEST(WinEventLoop, QuitEndsRun) {
    WinEventLoop loop;
    int ticks = 0;
    auto timer = loop.createTimer(20, true);
    timer->onTick = [&] {
        if (++ticks == 3) loop.quit();
    };
    loop.run();
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(loop.quitRequested());
}

TEST(WinEventLoop, ATimerThatOutlivesItsLoopStaysQuiet) {
    std::unique_ptr<Timer> timer;
    int ticks = 0;
    {
        WinEventLoop loop;
        timer = loop.createTimer(10, true);
        timer->onTick = [&] { ++ticks; };
    }
    timer->setEnabled(false);
    timer->setEnabled(true);
    WinMachine other;
    other.run(100);
    EXPECT_EQ(ticks, 0);
}

}  // namespace tovlo::test

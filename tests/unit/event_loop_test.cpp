#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <stdexcept>

#include "core/reaper.h"
#include "platform/commands.h"
#include "platform/fake/fake_event_loop.h"

using namespace tovlo;

TEST(FakeEventLoop, TimersFireInTimeOrderAndTiesInCreationOrder) {
    FakeEventLoop loop;
    std::vector<std::string> fired;
    auto a = loop.createTimer(30, true);
    auto b = loop.createTimer(20, true);
    auto c = loop.createTimer(30, true);
    a->onTick = [&] { fired.push_back("a"); };
    b->onTick = [&] { fired.push_back("b"); };
    c->onTick = [&] { fired.push_back("c"); };
    loop.advance(60);
    EXPECT_EQ(fired, (std::vector<std::string>{"b", "a", "c", "b", "a", "b", "c"}));
}

TEST(FakeEventLoop, TimerDisabledInsideItsOwnTickDoesNotFireAgain) {
    FakeEventLoop loop;
    int ticks = 0;
    auto t = loop.createTimer(100, true);
    t->onTick = [&] {
        t->setEnabled(false);
        ++ticks;
    };
    loop.advance(1000);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(t->enabled());
}

TEST(FakeEventLoop, EnablingStartsTheIntervalFromNow) {
    FakeEventLoop loop;
    int ticks = 0;
    auto t = loop.createTimer(250, false);
    t->onTick = [&] { ++ticks; };
    loop.advance(1000);
    EXPECT_EQ(ticks, 0);
    t->setEnabled(true);
    loop.advance(249);
    EXPECT_EQ(ticks, 0);
    loop.advance(1);
    EXPECT_EQ(ticks, 1);
}

TEST(FakeEventLoop, ClockReachesTheTickTimeDuringTheTick) {
    FakeEventLoop loop;
    const auto start = loop.nowMs();
    std::vector<std::int64_t> seen;
    auto t = loop.createTimer(20, true);
    t->onTick = [&] { seen.push_back(loop.nowMs() - start); };
    loop.advance(70);
    EXPECT_EQ(seen, (std::vector<std::int64_t>{20, 40, 60}));
    EXPECT_EQ(loop.nowMs() - start, 70);
}

TEST(FakeEventLoop, TimerEnabledByAnotherTickJoinsTheSameAdvance) {
    FakeEventLoop loop;
    std::vector<std::string> fired;
    auto second = loop.createTimer(200, false);
    auto first = loop.createTimer(100, true);
    second->onTick = [&] {
        second->setEnabled(false);
        fired.push_back("second");
    };
    first->onTick = [&] {
        first->setEnabled(false);
        fired.push_back("first");
        second->setEnabled(true);
    };
    loop.advance(299);
    EXPECT_EQ(fired, (std::vector<std::string>{"first"}));
    loop.advance(1);
    EXPECT_EQ(fired, (std::vector<std::string>{"first", "second"}));
}

TEST(FakeEventLoop, DestroyedTimerNeverFires) {
    FakeEventLoop loop;
    int ticks = 0;
    {
        auto t = loop.createTimer(10, true);
        t->onTick = [&] { ++ticks; };
    }
    loop.advance(100);
    EXPECT_EQ(ticks, 0);
}

// Nothing retired is destroyed while a nested wait runs (a modal box, a
// script's or a program's wait): its caller may belong to what was retired.
TEST(Reaper, WaitsForEveryNestedWaitToEnd) {
    FakeEventLoop loop;
    Reaper reaper(loop);
    auto alive = std::make_shared<int>(1);
    std::weak_ptr<int> watch = alive;
    {
        NestedWaits::Scope outer;
        {
            NestedWaits::Scope inner;
            reaper.retire(std::move(alive));
            loop.advance(100);
            EXPECT_FALSE(watch.expired());
        }
        loop.advance(100);
        EXPECT_FALSE(watch.expired()) << "the outer wait still runs";
    }
    loop.advance(1);
    EXPECT_TRUE(watch.expired());
    EXPECT_FALSE(reaper.holds());
}

// A tick that throws is reported where the program logs; the loop goes on.
TEST(FakeEventLoop, AFailingTickIsReportedAndTheLoopGoesOn) {
    FakeEventLoop loop;
    std::vector<std::string> reported;
    Commands::reportTo([&](const std::string& line) { reported.push_back(line); });
    auto failing = loop.createTimer(10, true);
    failing->onTick = [] { throw std::runtime_error("no page"); };
    EXPECT_NO_THROW(loop.advance(20));
    Commands::reportTo(nullptr);
    EXPECT_EQ(reported, (std::vector<std::string>(2, "a timer's tick failed: no page")));
}

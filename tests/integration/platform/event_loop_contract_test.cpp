// What the program relies on of timers, run against the fake event loop and
// a real one alike (Qt, and Win32 in the Windows build; contract_machines.h
// of each build says which), so the fake cannot drift from what the program
// really gets. Only orderings and lower bounds are checked: real time may
// run late.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "contract_machines.h"

namespace tovlo::test {

template <class Machine>
class EventLoopContract : public ::testing::Test {
protected:
    Machine machine;
    EventLoop& loop() { return machine.loop; }
};

TYPED_TEST_SUITE(EventLoopContract, ContractMachines);

TYPED_TEST(EventLoopContract, ATimerDisabledInItsOwnTickFiresOnce) {
    int ticks = 0;
    auto timer = this->loop().createTimer(30, true);
    timer->onTick = [&] {
        timer->setEnabled(false);
        ++ticks;
    };
    this->machine.run(300);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer->enabled());
}

TYPED_TEST(EventLoopContract, DisabledTimersAndTimersWithoutIntervalNeverFire) {
    int ticks = 0;
    auto disabled = this->loop().createTimer(20, false);
    auto noInterval = this->loop().createTimer(0, true);
    disabled->onTick = noInterval->onTick = [&] { ++ticks; };
    this->machine.run(150);
    EXPECT_EQ(ticks, 0);
}

TYPED_TEST(EventLoopContract, EnablingStartsTheIntervalFromNow) {
    std::vector<std::int64_t> waited;
    auto timer = this->loop().createTimer(120, false);
    std::int64_t enabledAt = 0;
    timer->onTick = [&] {
        timer->setEnabled(false);
        waited.push_back(this->loop().nowMs() - enabledAt);
    };
    this->machine.run(200);
    ASSERT_TRUE(waited.empty());
    enabledAt = this->loop().nowMs();
    timer->setEnabled(true);
    this->machine.run(400);
    ASSERT_EQ(waited.size(), 1u);
    EXPECT_GE(waited[0], 119);
}

TYPED_TEST(EventLoopContract, DisablingAndEnablingAgainRestartsTheCount) {
    std::vector<std::int64_t> waited;
    auto timer = this->loop().createTimer(150, true);
    std::int64_t restartedAt = 0;
    timer->onTick = [&] {
        timer->setEnabled(false);
        waited.push_back(this->loop().nowMs() - restartedAt);
    };
    this->machine.run(100);
    timer->setEnabled(false);
    timer->setEnabled(true);
    restartedAt = this->loop().nowMs();
    this->machine.run(500);
    ASSERT_EQ(waited.size(), 1u);
    EXPECT_GE(waited[0], 149) << "counted from the second enabling, not the first";
}

TYPED_TEST(EventLoopContract, ANewIntervalCountsFromWhenItIsSet) {
    std::vector<std::int64_t> waited;
    auto timer = this->loop().createTimer(5000, true);
    std::int64_t setAt = 0;
    timer->onTick = [&] {
        timer->setEnabled(false);
        waited.push_back(this->loop().nowMs() - setAt);
    };
    this->machine.run(50);
    setAt = this->loop().nowMs();
    timer->setInterval(80);
    EXPECT_EQ(timer->interval(), 80);
    this->machine.run(400);
    ASSERT_EQ(waited.size(), 1u) << "the new interval applies at once";
    EXPECT_GE(waited[0], 79);
}

TYPED_TEST(EventLoopContract, ATickMayEnableAnotherTimerWhichThenFires) {
    std::vector<int> order;
    auto second = this->loop().createTimer(40, false);
    auto first = this->loop().createTimer(30, true);
    first->onTick = [&] {
        first->setEnabled(false);
        order.push_back(1);
        second->setEnabled(true);
    };
    second->onTick = [&] {
        second->setEnabled(false);
        order.push_back(2);
    };
    this->machine.run(400);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TYPED_TEST(EventLoopContract, ADestroyedTimerNeverFires) {
    int ticks = 0;
    auto timer = this->loop().createTimer(20, true);
    timer->onTick = [&] { ++ticks; };
    timer.reset();
    this->machine.run(120);
    EXPECT_EQ(ticks, 0);
}

}  // namespace tovlo::test

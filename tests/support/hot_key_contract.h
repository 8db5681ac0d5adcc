#pragma once
// What every desktop's hot key holds to, typed as a keyboard would. The
// keyboard of a platform types Ctrl+Alt with a key (held for `repeats`
// presses, with Num Lock on where the platform has it), lets another program
// take a combination, and runs the program's events until a condition holds
// or a short while has passed.
#include <gtest/gtest.h>

#include "platform/hot_key.h"

namespace tovlo::test {

template <class Keyboard>
void holdsTheHotKeyContract(GlobalHotKey& hotKey, Keyboard& keyboard) {
    int presses = 0;
    auto count = [&] { ++presses; };
    const unsigned ctrlAlt = HotKey::Ctrl | HotKey::Alt;
    auto pressesBecome = [&](int n) { return keyboard.runUntil([&] { return presses == n; }); };
    // Presses are told in the order typed: keys that must not count come
    // before one that must, and the count is then exact.
    ASSERT_TRUE(hotKey.bind({ctrlAlt, 'E'}, count));
    keyboard.typeCtrlAlt('E', 3);
    EXPECT_TRUE(pressesBecome(1)) << "held down, it counts once: " << presses;
    keyboard.typeCtrlAlt('R');
    keyboard.typeCtrlAlt('E', 1, true);
    EXPECT_TRUE(pressesBecome(2)) << "another key does not count, Num Lock changes nothing: " << presses;

    // Another program holds Ctrl+Alt+Q: refused, and Ctrl+Alt+E still works.
    keyboard.takeElsewhere('Q');
    EXPECT_FALSE(hotKey.bind({ctrlAlt, 'Q'}, [&] { presses += 100; }));
    keyboard.typeCtrlAlt('Q');
    keyboard.typeCtrlAlt('E');
    EXPECT_TRUE(pressesBecome(3)) << presses;

    // Moved to Ctrl+Alt+7, E no longer counts; unbound, 7 neither.
    ASSERT_TRUE(hotKey.bind({ctrlAlt, '7'}, count));
    keyboard.typeCtrlAlt('E');
    keyboard.typeCtrlAlt('7');
    EXPECT_TRUE(pressesBecome(4)) << presses;
    hotKey.unbind();
    keyboard.typeCtrlAlt('7');
    ASSERT_TRUE(hotKey.bind({ctrlAlt, 'E'}, count));
    keyboard.typeCtrlAlt('E');
    EXPECT_TRUE(pressesBecome(5)) << presses;
}

}  // namespace tovlo::test

#pragma once
// The machines the event loop's contract runs on in the Windows build: the
// fake platform on its virtual clock, and the Win32 event loop in real time.
#include <gtest/gtest.h>

#include "chat_window.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/win/win_event_loop.h"

namespace tovlo::test {

struct FakeMachine {
    FakeEventLoop loop;
    void run(int ms) { loop.advance(ms); }
};

struct WinMachine {
    WinEventLoop loop;
    void run(int ms) { runMessages(ms); }
};

using ContractMachines = ::testing::Types<FakeMachine, WinMachine>;

}  // namespace tovlo::test

#pragma once
// The machines the event loop's contract runs on in the Windows build: the
// fake platform on its virtual clock, and the Win32 event loop in real time.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/fake/fake_event_loop.h"
#include "platform/win/win_event_loop.h"

namespace tovlo::test {

struct FakeMachine {
    FakeEventLoop loop;
    void run(int ms) { loop.advance(ms); }
};

struct WinMachine {
    WinEventLoop loop;
    // Lets the message loop run for the time, waking for every message.
    void run(int ms) {
        const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
        for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
            loop.processEvents();
        }
    }
};

using ContractMachines = ::testing::Types<FakeMachine, WinMachine>;

}  // namespace tovlo::test

#include "win_waiting_fetch.h"

#include <windows.h>

#include <thread>

#include "platform/nested_wait.h"

namespace tovlo {

namespace {

// Runs the work on a thread of its own and waits for it with the thread's
// messages dispatched meanwhile.
template <class Work>
auto whileMessagesRun(Work work) -> decltype(work()) {
    NestedWaits::Scope nested;
    decltype(work()) result{};
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread worker([&] {
        result = work();
        SetEvent(done);
    });
    int quitCode = -1;  // a quit asked for meanwhile is the outer loop's, after the wait
    while (MsgWaitForMultipleObjectsEx(1, &done, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0 + 1) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.message == WM_QUIT) {
                quitCode = static_cast<int>(m.wParam);
                continue;
            }
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
    worker.join();
    CloseHandle(done);
    if (quitCode >= 0) PostQuitMessage(quitCode);
    return result;
}

}  // namespace

bool WinWaitingFetch::fetchToFile(const std::string& url, const std::string& path) {
    return whileMessagesRun([&] { return inner_.fetchToFile(url, path); });
}

std::optional<std::string> WinWaitingFetch::fetchBytes(const std::string& url) {
    return whileMessagesRun([&] { return inner_.fetchBytes(url); });
}

}  // namespace tovlo

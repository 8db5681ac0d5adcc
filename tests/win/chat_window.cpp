#include "chat_window.h"

#include <windows.h>

#include <algorithm>
#include <sstream>

#include "platform/win/win_processes.h"
#include "platform/win/win_text.h"

namespace tovlo::test {

std::string programFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return narrow(folder.substr(0, folder.find_last_of(L"\\/")));
}

void runMessages(int ms) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
    MSG message;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

ReportTo::ReportTo(const std::string& file) { SetEnvironmentVariableW(L"FAKEQQ_REPORT", widen(file).c_str()); }

ReportTo::~ReportTo() { SetEnvironmentVariableW(L"FAKEQQ_REPORT", nullptr); }

ChatWindow::ChatWindow(const std::vector<std::string>& arguments) {
    const std::string program = programFolder() + "\\fakeqq_win.exe";
    std::wstring line = L"\"" + widen(program) + L"\"";
    for (const std::string& argument : arguments) {
        // Each argument whole, quoted the way the C runtime splits them.
        const std::wstring one = commandLineOf("x", argument);
        line += one.substr(3);  // what follows the program "x"
        if (argument.empty()) line += L" \"\"";
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    bool started = false;
    {
        ReportTo to(dir_ / "report.txt");
        started = CreateProcessW(widen(program).c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &info);
    }
    if (!started) return;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    waitUntil([&] {
        for (const std::string& l : lines())
            if (l.rfind("ready ", 0) == 0) window_ = std::stoull(l.substr(6));
        return window_ != 0;
    });
}

ChatWindow::~ChatWindow() {
    if (!process_) return;
    TerminateProcess(process_, 0);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
}

std::vector<std::string> ChatWindow::lines() const {
    std::istringstream in(readBytes(dir_ / "report.txt"));
    std::vector<std::string> out;
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

bool ChatWindow::waitForLine(const std::string& line, int ms) const {
    return waitUntil(
        [&] {
            const auto all = lines();
            return std::find(all.begin(), all.end(), line) != all.end();
        },
        ms);
}

}  // namespace tovlo::test

// updateAft.exe for the Windows tests, in place of the one the sample data
// delivers for Linux: after an update step the updater of the program
// folder goes on from the version just installed ("Kestrup.exe VERSION").
#include "app/win_program.h"
#include "core/paths.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring updater = tovlo::widen(tovlo::joinPath(tovlo::programFolder(), {"Kestrup.exe"}));
    std::wstring line = L"\"" + updater + L"\" " + tovlo::widen(tovlo::commandLineText());
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(updater.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process))
        return 1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

#include "win_processes.h"

// windows.h first: shellapi.h builds on its types.
#include <windows.h>

#include <shellapi.h>

#include "platform/nested_wait.h"
#include "win_text.h"

namespace tovlo {

namespace {

// The C runtime's splitting undone: backslashes are literal except before a
// quote, where they and the quote are escaped.
std::wstring quoted(const std::wstring& text) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : text) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"') {
            out.append(backslashes * 2 + 1, L'\\');
        } else {
            out.append(backslashes, L'\\');
        }
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, L'\\');
    out.push_back(L'"');
    return out;
}

// Starts the program; the handles of the process, or none.
bool start(const std::string& program, const std::string& argument, PROCESS_INFORMATION& process) {
    const std::wstring path = widen(program);
    std::wstring line = commandLineOf(program, argument);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    // No handle of ours is handed on: files and sockets we hold stay ours.
    return CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process) != 0;
}

bool startsWithNoCase(const std::string& text, const char* prefix) {
    for (std::size_t i = 0; prefix[i]; ++i) {
        if (i >= text.size()) return false;
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

}  // namespace

std::wstring commandLineOf(const std::string& program, const std::string& argument) {
    std::wstring line = L"\"" + widen(program) + L"\"";
    if (argument.empty()) return line;
    const std::wstring text = widen(argument);
    line += L' ';
    line += text.find_first_of(L" \t\n\v\"") == std::wstring::npos ? text : quoted(text);
    return line;
}

bool WinProcesses::startDetached(const std::string& program, const std::string& argument) {
    PROCESS_INFORMATION process{};
    if (!start(program, argument, process)) return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool WinProcesses::runAndWait(const std::string& program, const std::string& argument) {
    PROCESS_INFORMATION process{};
    if (!start(program, argument, process)) return false;
    CloseHandle(process.hThread);
    {
        NestedWaits::Scope nested;
        for (;;) {
            const DWORD woke =
                MsgWaitForMultipleObjectsEx(1, &process.hProcess, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            if (woke == WAIT_OBJECT_0 + 1) {
                loop_.processEvents();
                continue;
            }
            // The process handle is signalled when the program has ended
            // (the moment its exit code is no longer STILL_ACTIVE); a wait
            // that failed has nothing left to wait for either.
            break;
        }
    }
    CloseHandle(process.hProcess);
    return true;
}

bool WinProcesses::openUrl(const std::string& url) {
    if (!startsWithNoCase(url, "http://") && !startsWithNoCase(url, "https://")) return false;
    const HINSTANCE rc = ShellExecuteW(nullptr, L"open", widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(rc) > 32;
}

}  // namespace tovlo

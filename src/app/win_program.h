#pragma once
// What both Windows programs take from the system at start: their own
// folder and file, and the command line after the program's name as one
// text (UTF-16 from the system, UTF-8 for the logic).
#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <string>

#include "platform/win/win_text.h"

namespace tovlo {

// The running program's full path.
inline std::string programFile() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return narrow(path);
}

// The folder the program runs from.
inline std::string programFolder() {
    const std::string file = programFile();
    return file.substr(0, file.find_last_of("\\/"));
}

inline std::string commandLineText() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::string line;
    for (int i = 1; arguments && i < count; ++i) {
        if (i > 1) line += ' ';
        line += narrow(arguments[i]);
    }
    LocalFree(arguments);
    return line;
}

}  // namespace tovlo

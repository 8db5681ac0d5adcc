#pragma once
// Auto-start on Windows: a value of the Run key
// (Software\Microsoft\Windows\CurrentVersion\Run), named after the entry, of
// type REG_SZ, holding the program's full path. The machine's key
// (HKEY_LOCAL_MACHINE) is written when the system allows it; a user without
// the right to write there gets the value in their own key
// (HKEY_CURRENT_USER) instead, so that the choice still takes effect.
// Disabling removes the value from both. A path with a space is written in
// double quotes, so that the system runs that program and not one named
// after the path's first word.
#include <string>

#include "platform/auto_start.h"

namespace tovlo {

// What the Run key's value holds for a program path.
std::string runKeyCommand(const std::string& programPath);

class RunKeyAutoStart : public AutoStart {
public:
    static constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

    bool enable(const std::string& entryName, const std::string& programPath) override;
    bool disable(const std::string& entryName) override;
};

}  // namespace tovlo

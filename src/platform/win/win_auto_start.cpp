#include "win_auto_start.h"

#include <windows.h>

#include "win_text.h"

namespace tovlo {

namespace {

// The Run key, opened (and made when missing) for the access asked.
class RunKey {
public:
    explicit RunKey(REGSAM access) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, widen(RunKeyAutoStart::kRunKey).c_str(), 0, nullptr, 0, access,
                            nullptr, &key_, nullptr) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~RunKey() {
        if (key_) RegCloseKey(key_);
    }
    RunKey(const RunKey&) = delete;
    RunKey& operator=(const RunKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

std::string runKeyCommand(const std::string& programPath) {
    if (programPath.find_first_of(" \t") == std::string::npos) return programPath;
    return "\"" + programPath + "\"";
}

bool RunKeyAutoStart::enable(const std::string& entryName, const std::string& programPath) {
    RunKey key(KEY_SET_VALUE);
    if (!key.get()) return false;
    const std::wstring value = widen(runKeyCommand(programPath));
    // The data of a REG_SZ value is the text with its terminating NUL.
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), widen(entryName).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          bytes) == ERROR_SUCCESS;
}

bool RunKeyAutoStart::disable(const std::string& entryName) {
    RunKey key(KEY_SET_VALUE);
    if (!key.get()) return false;
    const LONG rc = RegDeleteValueW(key.get(), widen(entryName).c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace tovlo

#include "win_auto_start.h"

#include <windows.h>

#include "win_text.h"

namespace tovlo {

namespace {

// The Run key under a root, opened (and made when missing) for setting and
// deleting values.
class RunKey {
public:
    explicit RunKey(HKEY root) {
        if (RegCreateKeyExW(root, widen(RunKeyAutoStart::kRunKey).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS)
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

bool setValue(HKEY root, const std::wstring& name, const std::wstring& value) {
    RunKey key(root);
    if (!key.get()) return false;
    // The data of a REG_SZ value is the text with its terminating NUL.
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) ==
           ERROR_SUCCESS;
}

// True when the value is not there afterwards. A value that is not there
// needs no right to delete it (a user may not write the machine's key).
bool deleteValue(HKEY root, const std::wstring& name) {
    const std::wstring sub = widen(RunKeyAutoStart::kRunKey);
    const LONG found = RegGetValueW(root, sub.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr);
    if (found == ERROR_FILE_NOT_FOUND) return true;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, sub.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return false;
    const LONG rc = RegDeleteValueW(key, name.c_str());
    RegCloseKey(key);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

}  // namespace

std::string runKeyCommand(const std::string& programPath) {
    if (programPath.find_first_of(" \t") == std::string::npos) return programPath;
    return "\"" + programPath + "\"";
}

bool RunKeyAutoStart::enable(const std::string& entryName, const std::string& programPath) {
    const std::wstring name = widen(entryName);
    const std::wstring value = widen(runKeyCommand(programPath));
    if (setValue(HKEY_LOCAL_MACHINE, name, value)) {
        // One entry only: a copy from an earlier run without the right to the
        // machine's key would start the program twice.
        deleteValue(HKEY_CURRENT_USER, name);
        return true;
    }
    return setValue(HKEY_CURRENT_USER, name, value);
}

bool RunKeyAutoStart::disable(const std::string& entryName) {
    const std::wstring name = widen(entryName);
    const bool machine = deleteValue(HKEY_LOCAL_MACHINE, name);
    const bool user = deleteValue(HKEY_CURRENT_USER, name);
    return machine && user;
}

}  // namespace tovlo

#include "win_single_instance.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>

#include "win_text.h"

namespace tovlo {

namespace {

// The folder's full path, with backslashes, no separator at the end, in
// lower case.
std::wstring comparableFolder(const std::string& folder) {
    std::wstring path = widen(folder);
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n > 0) {
        std::wstring full(n, L'\0');
        const DWORD got = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
        if (got > 0 && got < n) {
            full.resize(got);
            path = full;
        }
    }
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    while (path.size() > 3 && path.back() == L'\\') path.pop_back();
    if (!path.empty()) CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

}  // namespace

std::wstring instanceMutexName(const std::string& programFolder) {
    // FNV-1a over the UTF-16 units: mutex names may not hold backslashes.
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : comparableFolder(programFolder)) {
        hash ^= static_cast<std::uint16_t>(c);
        hash *= 1099511628211ull;
    }
    wchar_t hex[17];
    std::swprintf(hex, 17, L"%016llx", static_cast<unsigned long long>(hash));
    return L"Local\\Tovlo.Instance." + std::wstring(hex);
}

MutexInstance::~MutexInstance() {
    if (mutex_) CloseHandle(mutex_);
}

bool MutexInstance::acquire() {
    if (mutex_) return true;
    HANDLE h = CreateMutexW(nullptr, FALSE, instanceMutexName(folder_).c_str());
    if (!h) return true;  // no mutex can be made at all: do not refuse to run
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(h);
        return false;
    }
    mutex_ = h;
    return true;
}

}  // namespace tovlo

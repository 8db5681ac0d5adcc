#include "win_dialogs.h"

#include <windows.h>
// After windows.h:
#include <objbase.h>
#include <shlobj.h>

#include "platform/nested_wait.h"
#include "platform/unattended.h"
#include "win_text.h"

namespace tovlo {

void WinMessageBox::show(const std::string& text, const std::string& title, MessageIcon icon) {
    if (unattendedRun()) {
        unattendedMessage(title, text);
        return;
    }
    UINT style = MB_OK | MB_TOPMOST | MB_SETFOREGROUND;
    if (icon == MessageIcon::Information) style |= MB_ICONINFORMATION;
    if (icon == MessageIcon::Critical) style |= MB_ICONERROR;
    NestedWaits::Scope nested;
    MessageBoxW(nullptr, widen(text).c_str(), widen(title).c_str(), style);
}

namespace {

// Opens the chooser at the start folder.
int CALLBACK startAt(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

}  // namespace

std::optional<std::string> WinFolderDialog::chooseFolder(const std::string& prompt, const std::string& startFolder) {
    if (unattendedRun()) return unattendedFolder(prompt);
    // The chooser's new style needs COM on this thread (once is enough).
    static const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    (void)com;
    const std::wstring title = widen(prompt);
    const std::wstring start = widen(startFolder);
    BROWSEINFOW info{};
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = startAt;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    NestedWaits::Scope nested;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    const bool ok = SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    if (!ok || !path[0]) return std::nullopt;
    return narrow(path);
}

}  // namespace tovlo

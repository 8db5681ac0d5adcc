// click_control.exe TITLE TEXT: clicks the control that shows TEXT in the
// window titled TITLE, of whichever program, as a user's click would
// (BM_CLICK); waits up to ten seconds for both to be there. Exits 0 once it
// has clicked, 1 when it found nothing.
#include "app/win_program.h"

namespace {

struct Search {
    std::wstring text;
    HWND found = nullptr;
};

BOOL CALLBACK match(HWND control, LPARAM search) {
    auto* s = reinterpret_cast<Search*>(search);
    wchar_t text[256] = {};
    GetWindowTextW(control, text, 256);
    if (IsWindowVisible(control) && s->text == text) {
        s->found = control;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count != 3) return 2;
    for (int tries = 0; tries < 100; ++tries, Sleep(100)) {
        HWND window = FindWindowW(nullptr, arguments[1]);
        Search search{arguments[2]};
        if (window) EnumChildWindows(window, match, reinterpret_cast<LPARAM>(&search));
        if (!search.found) continue;
        PostMessageW(search.found, BM_CLICK, 0, 0);
        return 0;
    }
    return 1;
}

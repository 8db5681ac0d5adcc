// fakeqq for Windows: a stand-in chat window for the tests under Wine. Its
// top-level window has the class "TXGuiFoundation" and the title given on
// the command line (the whole first argument that is not an option); its
// edit box has the keyboard focus and reports, one line each, to the file
// named by the environment variable FAKEQQ_REPORT:
//   ready <window handle in decimal>
//   key down <virtual key> / key up <virtual key>
//   pasted text <the clipboard's text, UTF-8>
//   instance held / instance refused
// Options:
//   --size WIDTHxHEIGHT  the window's outer size (500x600 when not given)
//   --copy-text TEXT     puts the text on the clipboard
//   --copy-qq PATH       puts a picture as the chat client describes one: the
//                        text "[图片]" and data in the registered format
//                        "QQ_RichEdit_Format" holding filepath="PATH", in GBK
//                        (code page 936) with a NUL at the end
//   --instance FOLDER    takes the single-instance lock of that program folder
//   --exit-after MS      closes the window after that time
//   --title-from FILE    takes the first line of the file (UTF-8), when it
//                        has one, as its title; looks every 100 ms
//   --raise-events       raises the window events Windows raises for the
//                        window and Wine 8 does not (coming to the front, a
//                        move or resize, a new title), so that hooks on them
//                        can be tried under Wine
// windows.h first: shellapi.h builds on its types.
#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/win/win_single_instance.h"
#include "platform/win/win_text.h"

namespace {

constexpr wchar_t kChatClass[] = L"TXGuiFoundation";
constexpr UINT_PTR kExitTimer = 1;
constexpr UINT_PTR kTitleTimer = 2;

std::wstring reportPath;
std::wstring titlePath;
bool raiseEvents = false;
WNDPROC editProc = nullptr;

void report(const std::string& line) {
    if (reportPath.empty()) return;
    std::FILE* f = _wfopen(reportPath.c_str(), L"ab");
    if (!f) return;
    std::fputs((line + "\n").c_str(), f);
    std::fclose(f);
}

std::string clipboardText(HWND owner) {
    std::string text;
    if (!OpenClipboard(owner)) return text;
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(block))) {
            text = tovlo::narrow(chars);
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return text;
}

LRESULT CALLBACK inputBox(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN: report("key down " + std::to_string(wParam)); break;
        case WM_KEYUP: report("key up " + std::to_string(wParam)); break;
        case WM_PASTE: report("pasted text " + clipboardText(box)); break;
        default: break;
    }
    return CallWindowProcW(editProc, box, message, wParam, lParam);
}

void raise(DWORD event, HWND window) {
    if (raiseEvents) NotifyWinEvent(event, window, OBJID_WINDOW, CHILDID_SELF);
}

void retitleFromFile(HWND window) {
    char line[512] = "";
    std::FILE* f = _wfopen(titlePath.c_str(), L"rb");
    if (f && std::fgets(line, sizeof line, f) && line[0] != '\n')
        SetWindowTextW(window, tovlo::widen(std::string(line, std::strcspn(line, "\r\n"))).c_str());
    if (f) std::fclose(f);
}

LRESULT CALLBACK chatWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: {
            // The history above, the input box below, as in a chat window.
            const int w = LOWORD(lParam), h = HIWORD(lParam);
            MoveWindow(GetDlgItem(window, 1), 0, h * 3 / 4, w, h - h * 3 / 4, TRUE);
            return 0;
        }
        case WM_ACTIVATE:
            // Whoever brings the window to the front types into its input box.
            if (LOWORD(wParam) != WA_INACTIVE) {
                SetFocus(GetDlgItem(window, 1));
                raise(EVENT_SYSTEM_FOREGROUND, window);
            }
            return 0;
        case WM_WINDOWPOSCHANGED:
            if ((reinterpret_cast<const WINDOWPOS*>(lParam)->flags & (SWP_NOMOVE | SWP_NOSIZE)) !=
                (SWP_NOMOVE | SWP_NOSIZE))
                raise(EVENT_OBJECT_LOCATIONCHANGE, window);
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_SETTEXT: {
            const LRESULT set = DefWindowProcW(window, message, wParam, lParam);
            raise(EVENT_OBJECT_NAMECHANGE, window);
            return set;
        }
        case WM_TIMER:
            if (wParam == kExitTimer) DestroyWindow(window);
            if (wParam == kTitleTimer) retitleFromFile(window);
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Puts the blocks on the clipboard, in this order, owned by the window.
void putOnClipboard(HWND owner, const std::vector<std::pair<UINT, std::string>>& blocks) {
    if (!OpenClipboard(owner)) return;
    EmptyClipboard();
    for (const auto& [format, bytes] : blocks) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (!block) continue;
        std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        if (!SetClipboardData(format, block)) GlobalFree(block);
    }
    CloseClipboard();
}

std::string unicodeBlock(const std::string& utf8) {
    const std::wstring wide = tovlo::widen(utf8);
    return std::string(reinterpret_cast<const char*>(wide.c_str()), (wide.size() + 1) * sizeof(wchar_t));
}

std::string gbk(const std::string& utf8) {
    const std::wstring wide = tovlo::widen(utf8);
    const int n = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

int main() {
    if (const wchar_t* path = _wgetenv(L"FAKEQQ_REPORT")) reportPath = path;

    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::string title = "张三", copyText, copyQq, instanceFolder;
    int width = 500, height = 600, exitAfterMs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--size" && hasValue) {
            std::swscanf(argv[++i], L"%dx%d", &width, &height);
        } else if (arg == L"--copy-text" && hasValue) {
            copyText = tovlo::narrow(argv[++i]);
        } else if (arg == L"--copy-qq" && hasValue) {
            copyQq = tovlo::narrow(argv[++i]);
        } else if (arg == L"--instance" && hasValue) {
            instanceFolder = tovlo::narrow(argv[++i]);
        } else if (arg == L"--exit-after" && hasValue) {
            exitAfterMs = _wtoi(argv[++i]);
        } else if (arg == L"--title-from" && hasValue) {
            titlePath = argv[++i];
        } else if (arg == L"--raise-events") {
            raiseEvents = true;
        } else {
            title = tovlo::narrow(arg);
        }
    }
    LocalFree(argv);

    // Held for the life of the process, as the program holds it.
    tovlo::MutexInstance instance(instanceFolder);
    if (!instanceFolder.empty()) report(instance.acquire() ? "instance held" : "instance refused");

    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.lpfnWndProc = chatWindow;
    c.hInstance = GetModuleHandleW(nullptr);
    c.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    c.lpszClassName = kChatClass;
    RegisterClassExW(&c);
    HWND window = CreateWindowExW(0, kChatClass, tovlo::widen(title).c_str(), WS_OVERLAPPEDWINDOW, 100, 100, width,
                                  height, nullptr, nullptr, c.hInstance, nullptr);
    HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0,
                               0, 10, 10, window, reinterpret_cast<HMENU>(1), c.hInstance, nullptr);
    editProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(inputBox)));
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(box);

    if (!copyText.empty()) putOnClipboard(window, {{CF_UNICODETEXT, unicodeBlock(copyText)}});
    if (!copyQq.empty()) {
        const UINT qqFormat = RegisterClipboardFormatW(L"QQ_RichEdit_Format");
        std::string block = "<QQRichEditFormat><EditElement type=\"1\" filepath=\"" + gbk(copyQq) +
                            "\" shortcut=\"\"></EditElement></QQRichEditFormat>";
        block.push_back('\0');
        putOnClipboard(window, {{CF_UNICODETEXT, unicodeBlock("[图片]")}, {qqFormat, block}});
    }
    if (exitAfterMs > 0) SetTimer(window, kExitTimer, static_cast<UINT>(exitAfterMs), nullptr);
    if (!titlePath.empty()) SetTimer(window, kTitleTimer, 100, nullptr);
    report("ready " + std::to_string(reinterpret_cast<std::uintptr_t>(window)));

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

// The message box and the folder chooser under Wine, answered from another
// thread as a user would: each waits for its answer while the program's
// windows and the tracking tick go on, and what a command's timer wants
// waits for the command.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "platform/commands.h"
#include "platform/win/win_dialogs.h"
#include "platform/win/win_event_loop.h"
#include "platform/win/win_text.h"

namespace tovlo::test {
namespace {

// The text of the item selected in the dialog's folder tree (the chooser
// fills it a while after it shows).
std::wstring selectedFolder(HWND dialog) {
    HWND tree = FindWindowExW(dialog, nullptr, L"SysTreeView32", nullptr);
    for (HWND child = FindWindowExW(dialog, nullptr, nullptr, nullptr); !tree && child;
         child = FindWindowExW(dialog, child, nullptr, nullptr))
        tree = FindWindowExW(child, nullptr, L"SysTreeView32", nullptr);
    if (!tree) return {};
    wchar_t text[MAX_PATH] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (!item.hItem || !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
    return text;
}

// The visible dialogs (class "#32770") of this process.
std::vector<HWND> openDialogs() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND w, LPARAM list) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            wchar_t name[16] = {};
            GetClassNameW(w, name, 16);
            if (pid == GetCurrentProcessId() && std::wstring(name) == L"#32770" && IsWindowVisible(w))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Answers the dialog titled so (any dialog for an empty title): OK once it
// is ready, Cancel when it is not ready within fifteen seconds (okayed says
// which), so that a test never hangs on a dialog.
std::thread answerDialog(const std::wstring& title, const std::function<bool(HWND)>& ready,
                         std::atomic<bool>* okayed = nullptr) {
    return std::thread([title, ready, okayed] {
        for (int i = 0; i < 300; ++i) {
            Sleep(50);
            for (HWND dialog : openDialogs()) {
                wchar_t text[128] = {};
                GetWindowTextW(dialog, text, 128);
                if ((!title.empty() && title != text) || !ready(dialog)) continue;
                Sleep(300);  // the timers run meanwhile
                if (okayed) *okayed = true;
                PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                return;
            }
        }
        for (HWND dialog : openDialogs()) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
}

TEST(WinDialogs, EachWaitsForItsAnswerWhileTheLoopGoesOn) {
    WinEventLoop loop;
    int moves = 0;
    int logic = 0;
    auto tracking = loop.createTimer(20, true, TimerKind::MovesWindows);
    tracking->onTick = [&] { ++moves; };
    auto tick = loop.createTimer(30, true);
    tick->onTick = [&] {
        tick->setEnabled(false);
        ++logic;
    };
    const std::filesystem::path start = std::filesystem::temp_directory_path() / L"表情文件夹";
    std::filesystem::create_directories(start);
    std::optional<std::string> chosen;
    std::atomic<bool> okayed{false};
    {
        Commands::Scope command;
        std::thread answer = answerDialog(L"Tovlo消息", [](HWND) { return true; });
        WinMessageBox().show("你好", "Tovlo消息", MessageIcon::Information);
        answer.join();
        EXPECT_GT(moves, 5) << "the tracking tick went on";
        // The chooser fills its tree a while after it shows (in a new Wine
        // prefix the first chooser may never get there: it is cancelled).
        answer = answerDialog(
            L"", [](HWND dialog) { return selectedFolder(dialog) == L"表情文件夹"; }, &okayed);
        chosen = WinFolderDialog().chooseFolder("选择表情存放目录", narrow(start.wstring()));
        answer.join();
        EXPECT_EQ(logic, 0) << "the command's timer waited";
    }
    EXPECT_EQ(logic, 1);
    if (!okayed) {
        EXPECT_EQ(chosen, std::nullopt) << "a cancelled chooser gives nothing";
        return;
    }
    ASSERT_TRUE(chosen.has_value());
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::path(widen(*chosen)), start)) << *chosen;
}

TEST(WinDialogs, UnattendedRunsShowNothing) {
    _putenv_s("TOVLO_UNATTENDED", "1");
    _putenv_s("TOVLO_FOLDER_ANSWER", "C:\\faces");
    WinMessageBox().show("你好", "Tovlo", MessageIcon::Critical);
    EXPECT_EQ(WinFolderDialog().chooseFolder("选择", ""), std::optional<std::string>("C:\\faces"));
    _putenv_s("TOVLO_FOLDER_ANSWER", "");
    EXPECT_EQ(WinFolderDialog().chooseFolder("选择", ""), std::nullopt);
    _putenv_s("TOVLO_UNATTENDED", "");
}

}  // namespace
}  // namespace tovlo::test

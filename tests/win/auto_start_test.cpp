// The Run key value under Wine: written with the program's full path,
// rewritten, and removed, wherever it was written.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "platform/win/win_auto_start.h"
#include "platform/win/win_text.h"

namespace tovlo::test {

namespace {

const wchar_t* const kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The REG_SZ value under the root's Run key, or nothing.
std::optional<std::string> runValue(HKEY root, const wchar_t* name) {
    wchar_t data[1024];
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegGetValueW(root, kRun, name, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ) return "type " + std::to_string(type);
    return narrow(std::wstring(data, size / sizeof(wchar_t) - 1));
}

}  // namespace

TEST(RunKeyAutoStart, VendrimIsWrittenRewrittenAndRemoved) {
    RunKeyAutoStart autoStart;
    struct Row {
        std::string program;
        std::string value;
    };
    const Row rows[] = {
        {"C:\\Tovlo\\Tovlo.exe", "C:\\Tovlo\\Tovlo.exe"},
        {"C:\\Program Files\\表情\\Tovlo.exe", "\"C:\\Program Files\\表情\\Tovlo.exe\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.program);
        ASSERT_TRUE(autoStart.enable("Vendrim", row.program));
        EXPECT_EQ(runValue(HKEY_LOCAL_MACHINE, L"Vendrim"), row.value) << "the machine's key, where allowed";
        EXPECT_EQ(runValue(HKEY_CURRENT_USER, L"Vendrim"), std::nullopt) << "one entry only";
    }
    EXPECT_TRUE(autoStart.disable("Vendrim"));
    EXPECT_EQ(runValue(HKEY_LOCAL_MACHINE, L"Vendrim"), std::nullopt);
    EXPECT_TRUE(autoStart.disable("Vendrim")) << "nothing left to remove is no failure";
}

// A value written into the user's key (by a run without the right to the
// machine's key) goes too, and an enable that reaches the machine's key
// leaves no second entry behind.
TEST(RunKeyAutoStart, TheUsersCopyIsRemovedToo) {
    RunKeyAutoStart autoStart;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRun, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring old = L"C:\\Old\\Tovlo.exe";
    RegSetValueExW(key, L"Vendrim", 0, REG_SZ, reinterpret_cast<const BYTE*>(old.c_str()),
                   static_cast<DWORD>((old.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    ASSERT_EQ(runValue(HKEY_CURRENT_USER, L"Vendrim"), "C:\\Old\\Tovlo.exe");

    EXPECT_TRUE(autoStart.disable("Vendrim"));
    EXPECT_EQ(runValue(HKEY_CURRENT_USER, L"Vendrim"), std::nullopt);
    EXPECT_TRUE(autoStart.enable("Other", "C:\\x.exe"));
    EXPECT_TRUE(autoStart.disable("Other"));
    EXPECT_EQ(runValue(HKEY_LOCAL_MACHINE, L"Other"), std::nullopt);
}

}  // namespace tovlo::test

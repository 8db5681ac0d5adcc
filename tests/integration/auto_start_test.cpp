// The XDG autostart entry that starts Tovlo when the user logs in.
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/files.h"
#include "core/text.h"
#include "platform/posix/xdg_auto_start.h"
#include "support/temp_dir.h"

namespace tovlo::test {

TEST(AutoStart, TheExecKeyHoldsAnyProgramPathAsOneArgument) {
    struct Row {
        const char* path;
        const char* exec;
    };
    const Row rows[] = {
        {"/opt/tovlo/Tovlo.exe", "/opt/tovlo/Tovlo.exe"},
        {"/home/u/My Apps/Tovlo.exe", "\"/home/u/My Apps/Tovlo.exe\""},
        {"/home/u/表情 工具/Tovlo.exe", "\"/home/u/表情 工具/Tovlo.exe\""},
        {"/home/u/表情/Tovlo.exe", "/home/u/表情/Tovlo.exe"},
        {"/a\"b/Tovlo.exe", "\"/a\\\\\"b/Tovlo.exe\""},  // \" inside the quotes, its \ escaped again
        {"/a$b`c/Tovlo.exe", "\"/a\\\\$b\\\\`c/Tovlo.exe\""},
        {"/a\\b/Tovlo.exe", "\"/a\\\\\\\\b/Tovlo.exe\""},
        {"/100%/Tovlo.exe", "/100%%/Tovlo.exe"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(desktopExecValue(row.path), row.exec);
    }
}

TEST(AutoStart, TheEntryIsWrittenRepairedAndRemoved) {
    TempDir dir;
    XdgAutoStart autoStart(dir / "config/autostart");
    const std::string entry = dir / "config/autostart/Vendrim.desktop";

    ASSERT_TRUE(autoStart.enable("Vendrim", "/old place/Tovlo.exe"));
    const std::string first = readFileBytes(entry).value_or("");
    EXPECT_TRUE(startsWith(first, "[Desktop Entry]\n"));
    EXPECT_TRUE(contains(first, "\nType=Application\n"));
    EXPECT_TRUE(contains(first, "\nExec=\"/old place/Tovlo.exe\"\n"));

    // Saving again after the program folder moved points the entry at it.
    ASSERT_TRUE(autoStart.enable("Vendrim", "/new/Tovlo.exe"));
    const std::string second = readFileBytes(entry).value_or("");
    EXPECT_TRUE(contains(second, "\nExec=/new/Tovlo.exe\n"));
    EXPECT_FALSE(contains(second, "old place"));

    EXPECT_TRUE(autoStart.disable("Vendrim"));
    EXPECT_FALSE(fileExists(entry));
    EXPECT_TRUE(autoStart.disable("Vendrim")) << "removing an entry that is gone is not a failure";

    // A folder that cannot be made (a file is in its way) is a failure.
    writeBytes(dir / "blocked", "x");
    XdgAutoStart blocked(dir / "blocked/autostart");
    EXPECT_FALSE(blocked.enable("Vendrim", "/new/Tovlo.exe"));
}

TEST(AutoStart, TheUsersFolderComesFromTheEnvironment) {
    struct Row {
        const char* configHome;  // null: unset
        const char* entry;
    };
    const Row rows[] = {
        {"/x/conf", "/x/conf/autostart/Vendrim.desktop"},
        {nullptr, "/home/u/.config/autostart/Vendrim.desktop"},
        {"relative/conf", "/home/u/.config/autostart/Vendrim.desktop"},  // not absolute: ignored
    };
    ::setenv("HOME", "/home/u", 1);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.configHome ? row.configHome : "(unset)");
        if (row.configHome)
            ::setenv("XDG_CONFIG_HOME", row.configHome, 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(XdgAutoStart::forThisUser().entryPath("Vendrim"), row.entry);
    }
}

}  // namespace tovlo::test

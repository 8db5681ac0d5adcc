// The texts both programs read: the version list, the news, the file list.
#include <gtest/gtest.h>

#include "core/paths.h"
#include "update/need_update.h"
#include "update/version_list.h"
#include "updater/install_list.h"

namespace tovlo::test {

TEST(VersionList, EachVersionFindsItsPlace) {
    struct Row {
        const char* list;
        const char* version;
        VersionStep::Kind kind;
        const char* next;
    };
    const Row rows[] = {
        {"1.0-1.1-1.2-", "1.2", VersionStep::kLast, ""},
        {"1.0-1.1-1.2-", "1.0", VersionStep::kNext, "1.1"},
        {"1.0-1.1-1.2-", "1.1", VersionStep::kNext, "1.2"},
        {"1.0-", "1.0", VersionStep::kLast, ""},
        // A line break after the list, or no "-" after its last version.
        {"1.0-1.1-1.2-\r\n", "1.2", VersionStep::kLast, ""},
        {"1.0-1.1-1.2", "1.1", VersionStep::kNext, "1.2"},
        {"1.0-1.1-1.2", "1.2", VersionStep::kLast, ""},
        // Versions are whole entries: a part of one is not found.
        {"11.1-11.2-", "1.1", VersionStep::kUnknown, ""},
        {"1.0-1.1-", "1", VersionStep::kUnknown, ""},
        {"1.0-1.1-1.2-", "0.9", VersionStep::kUnknown, ""},
        {"1.0-1.1-1.2-", "", VersionStep::kUnknown, ""},
        {"", "1.0", VersionStep::kUnknown, ""},
        {"1.0--1.1-", "1.0", VersionStep::kUnknown, ""},
        {"版本一-版本二-", "版本一", VersionStep::kNext, "版本二"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.list) + " / " + row.version);
        const VersionStep step = stepFrom(row.list, row.version);
        EXPECT_EQ(step.kind, row.kind);
        EXPECT_EQ(step.next, row.next);
    }
}

TEST(NeedUpdateNews, ShowsTheVersionsNewsOnwardsWithLineBreaks) {
    struct Row {
        const char* news;
        const char* version;
        const char* shown;
    };
    const Row rows[] = {
        {"1.2 更快\r\n修正\r\n1.1 新增", "1.1", "1.1 新增"},
        {"1.2 更快\r\n修正\r\n1.1 新增", "1.2", "1.2 更快<br />修正<br />1.1 新增"},
        {"前言\r\n<b>1.1</b>: 一\r\n二", "1.1", "1.1</b>: 一<br />二"},
        // A lone LF is not a line break of the news text.
        {"1.1 一\n二", "1.1", "1.1 一\n二"},
        {"只有别的版本", "1.1", ""},
        {"", "1.1", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.news);
        EXPECT_EQ(newsPart(row.news, row.version), row.shown);
    }
}

TEST(InstallList, RealFileNames) {
    const std::string sep(1, kPathSep);
    const std::pair<std::string, std::string> rows[] = {
        {"main__exe.txt", "main.exe"},
        {"w" + sep + "index.html", "w" + sep + "index.html"},
        {"x__dll.txt", "x.dll"},
        {"a" + sep + "b__exe.txt", "a" + sep + "b.exe"},
        {"Kestrup_updateSelf__exe.txt", "Kestrup_updateSelf.exe"},
        {"notes.txt", "notes.txt"},
        // Without ".txt" after the mark there is nothing to convert.
        {"odd__name", "odd__name"},
        {"a.txt__b", "a.txt__b"},
        // Only a real extension is restored: a long text or a folder after
        // the mark is part of the name.
        {"page__manifest.txt", "page.manifest"},
        {"a__" + std::string(17, 'x') + ".txt.txt", "a__" + std::string(17, 'x') + ".txt.txt"},
        {"a__b" + sep + "c.txt", "a__b" + sep + "c.txt"},
    };
    for (const auto& [server, installed] : rows) EXPECT_EQ(getRealFileName(server), installed) << server;
}

TEST(InstallList, SoundEntriesAreListedAndOneUnsafeEntryRefusesTheWholeList) {
    const std::string sep(1, kPathSep);
    const InstallList sound = readInstallList("w/main.html--main__exe.txt--w/main.html--docs/a b.txt\r\n");
    ASSERT_FALSE(sound.refused);
    ASSERT_EQ(sound.entries.size(), 3u);
    EXPECT_EQ(sound.entries[0].remote, "w/main.html");
    EXPECT_EQ(sound.entries[0].installed, "w" + sep + "main.html");
    EXPECT_EQ(sound.entries[1].installed, "main.exe");
    EXPECT_EQ(sound.entries[2].remote, "docs/a b.txt");
    EXPECT_TRUE(readInstallList("").entries.empty());
    EXPECT_FALSE(readInstallList("").refused);

    for (const char* bad : {"../evil.txt", "w/../../evil.txt", "/etc/passwd", "w//x.txt", "w/./x.txt", "C:/x.txt",
                            "w\\..\\x.txt", "..", "w/"}) {
        const InstallList list = readInstallList(std::string("ok.txt--") + bad + "--later.txt");
        ASSERT_TRUE(list.refused) << bad;
        EXPECT_EQ(*list.refused, bad);
        EXPECT_TRUE(list.entries.empty()) << bad;
    }
    EXPECT_EQ(readInstallList("a.txt----b.txt").refused, std::optional<std::string>(""));
}

}  // namespace tovlo::test

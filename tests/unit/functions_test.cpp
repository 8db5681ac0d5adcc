#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "core/errors.h"
#include "core/functions.h"
#include "platform/fake/fake_platform.h"
#include "support/temp_dir.h"

using namespace tovlo;
using test::readBytes;
using test::writeBytes;

namespace {

struct FunctionsTest : ::testing::Test {
    test::TempDir dir;
    FakePlatform fake;
    void SetUp() override { std::filesystem::create_directory(dir / "temp"); }
};

}  // namespace

TEST_F(FunctionsTest, ReadTextFileDecodesAndTellsAMissingFileApart) {
    writeBytes(dir / "empty.txt", "");
    EXPECT_EQ(readTextFile(fake.codec, dir / "empty.txt"), "");
    writeBytes(dir / "gbk.txt", "\xd5\xc5\xc8\xfd");  // 张三 in GBK
    EXPECT_EQ(readTextFile(fake.codec, dir / "gbk.txt"), "张三");
    try {
        readTextFile(fake.codec, dir / "missing.txt");
        FAIL() << "a missing file must raise";
    } catch (const TovloError& e) {
        EXPECT_EQ(e.number(), 53);
    }
    // A folder is not a file either.
    EXPECT_THROW(readTextFile(fake.codec, dir.path()), FileNotFoundError);
}

TEST_F(FunctionsTest, WriteTextFileEncodesAndTruncates) {
    writeBytes(dir / "a.txt", "a much longer earlier content");
    writeTextFile(fake.codec, dir / "a.txt", "张三");
    EXPECT_EQ(readBytes(dir / "a.txt"), "\xd5\xc5\xc8\xfd");
    EXPECT_THROW(writeTextFile(fake.codec, dir / "no/folder/a.txt", "x"), TovloError);
}

TEST_F(FunctionsTest, MakeDirectoriesCreatesEveryLevelAndToleratesExisting) {
    std::string deep = dir / "a/b/c";
    makeDirectories(deep);
    EXPECT_TRUE(std::filesystem::is_directory(deep));
    EXPECT_NO_THROW(makeDirectories(deep));
    EXPECT_NO_THROW(makeDirectories(deep + "/"));
    EXPECT_TRUE(std::filesystem::is_directory(deep));
}

TEST_F(FunctionsTest, JoinArrayConcatenatesWithoutSeparator) {
    EXPECT_EQ(joinArray({}), "");
    EXPECT_EQ(joinArray({"a", "", "bc", "张"}), "abc张");
}

TEST_F(FunctionsTest, TimeStampHasHourMinuteSecondThenSecondAgain) {
    std::string stamp = timeStamp(fake.loop.nowMs() + 7000);
    ASSERT_TRUE(std::regex_match(stamp, std::regex(R"(\d\d:\d\d:(\d\d):(\d\d))"))) << stamp;
    EXPECT_EQ(stamp.substr(6, 2), stamp.substr(9, 2));
}

TEST_F(FunctionsTest, FetchUrlTextStampsOnlyUrlsWithAQuery) {
    fake.fetch.handler = [](const std::string& url) -> std::optional<std::string> {
        if (url.rfind("http://h/soft/myClass.asp?uName=tom&t=", 0) == 0) return std::string("\xd5\xc5");
        return std::nullopt;
    };
    fake.fetch.answers["http://h/soft/connect.html"] = "1";
    EXPECT_EQ(fetchUrlText(fake.platform, "http://h/soft/connect.html"), "1");
    EXPECT_EQ(fake.fetch.requests.back(), "http://h/soft/connect.html");
    EXPECT_EQ(fetchUrlText(fake.platform, "http://h/soft/myClass.asp?uName=tom"), "张");
    EXPECT_TRUE(std::regex_match(fake.fetch.requests.back(),
                                 std::regex(R"(http://h/soft/myClass\.asp\?uName=tom&t=\d\d:\d\d:\d\d:\d\d)")))
        << fake.fetch.requests.back();
    EXPECT_FALSE(std::filesystem::exists(dir / "temp/nomalTemp.txt")) << "no scratch file: two fetches never share one";
}

TEST_F(FunctionsTest, FetchUrlTextGivesEmptyTextOnFailure) {
    EXPECT_EQ(fetchUrlText(fake.platform, "http://h/soft/connect.html"), "");
}

TEST_F(FunctionsTest, DebugLogAddsLinesOnlyWhileShownAndFollowsTheEnd) {
    DebugForm debug(fake.platform);
    FakeForm* form = fake.forms.find("debugForm");
    ASSERT_NE(form, nullptr);
    debug.log("hidden");
    debug.show();
    EXPECT_TRUE(form->lists["List1"].items.empty()) << "lines logged while hidden never appear";
    debug.log("mainform=into||-");
    debug.log("聚焦");
    EXPECT_EQ(form->lists["List1"].items, (std::vector<std::string>{"-mainform=into||-", "-聚焦"}));
    EXPECT_EQ(form->lists["List1"].selected, -1);
    fake.loop.advance(20);
    EXPECT_EQ(form->lists["List1"].selected, 1) << "the 20 ms tick selects the newest line";
}

TEST_F(FunctionsTest, RunPageScriptRaisesScriptErrorsToTheCaller) {
    FakeBrowserView view;
    runPageScript(view, "history()");
    EXPECT_EQ(view.scripts, (std::vector<std::string>{"history()"}));
    view.missingFunctions.insert("df");
    EXPECT_THROW(runPageScript(view, "df()"), ScriptError);
}

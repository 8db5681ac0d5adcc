#include <gtest/gtest.h>

#include "core/paths.h"
#include "core/service.h"
#include "core/text.h"

using namespace tovlo;

TEST(Text, SplitFirstKeepsFurtherSeparatorsInTheArgument) {
    auto parts = splitFirst("showMyOneClassFaces||12--1||x", "||");
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->first, "showMyOneClassFaces");
    EXPECT_EQ(parts->second, "12--1||x");
    auto empty = splitFirst("history||", "||");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->second, "");
    EXPECT_FALSE(splitFirst("history", "||"));
}

TEST(Text, SplitAndReplace) {
    EXPECT_EQ(split("a/b//c/", "/"), (std::vector<std::string>{"a", "b", "", "c", ""}));
    EXPECT_EQ(split("", "||"), (std::vector<std::string>{""}));
    EXPECT_EQ(replaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(replaceAll("x", "", "y"), "x");
}

TEST(Paths, JoinUsesOneSeparator) {
    EXPECT_EQ(joinPath("/opt/Tovlo", {"w", "main.html"}), "/opt/Tovlo/w/main.html");
    EXPECT_EQ(joinPath("/opt/Tovlo/", {"/w/", "x"}), "/opt/Tovlo/w/x");
}

TEST(Paths, FileUrlsHaveThreeSlashes) {
    EXPECT_EQ(fileUrl("/home/u/Tovlo/w/nullInte.html"), "file:///home/u/Tovlo/w/nullInte.html");
}

TEST(Service, HostSettingShapesEveryAddress) {
    EXPECT_EQ(effectiveServiceHost(""), kDefaultServiceHost);
    EXPECT_EQ(serviceBase("127.0.0.1:8080"), "http://127.0.0.1:8080/soft/");
    EXPECT_EQ(serviceUrl("h", "/soft/connect.html"), "http://h/soft/connect.html");
    EXPECT_EQ(uploadHostField("face.example"), "face.example:80");
    EXPECT_EQ(uploadHostField("127.0.0.1:8080"), "127.0.0.1:8080");
    EXPECT_EQ(uploadHostField("[::1]"), "[::1]:80");
}

TEST(Text, ScriptStringTextEscapesWhatEndsOrBendsALiteral) {
    EXPECT_EQ(scriptStringText("a'b\\c\r\nd 张"), "a\\'b\\\\c\\r\\nd 张");
    EXPECT_EQ(scriptStringText(",||x.gif"), ",||x.gif");
}

#include <gtest/gtest.h>

#include "core/paths.h"
#include "core/service.h"
#include "core/text.h"
#include "core/urls.h"
#include "platform/native_codec.h"
#include "platform/wire_url.h"
#include "support/temp_dir.h"

using namespace tovlo;
using test::nativePath;

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

TEST(Paths, ServicePathsMustStayInTheirFolder) {
    for (const char* ok : {"10/a.gif", "10/s_a.gif", "a.gif", "x/y/z.jpg", "a..b.gif"})
        EXPECT_TRUE(isSafeRelativePath(ok)) << ok;
    for (const char* bad : {"", "/etc/passwd", "../a.gif", "10/../../a.gif", "10/./a", "10//a", "10/", "c:/x",
                            "10\\..\\a", "..", "a\nb.gif", "10/a.gif\r", "\x01"})
        EXPECT_FALSE(isSafeRelativePath(bad)) << bad;
    // One name: the same, and no separator at all.
    for (const char* ok : {"a.gif", "a..b", "中文.gif", "a b", "com10", "con2.gif", "consoles"})
        EXPECT_TRUE(isSafeName(ok)) << ok;
    for (const char* bad : {"", ".", "..", "a/b", "a\\b", "a\nb", "a\tb", "\x1f", "c:x", "a:b.gif", "CON", "nul.gif",
                            "Com1.txt", "lpt9", "a.", "a ", "表情."})
        EXPECT_FALSE(isSafeName(bad)) << bad;
    EXPECT_FALSE(isSafeRelativePath("10/aux.gif")) << "a device name anywhere in the path";
    EXPECT_TRUE(isSafeName(std::string(255, 'a')));
    EXPECT_FALSE(isSafeName(std::string(256, 'a'))) << "longer than a file system holds";
}

TEST(Paths, JoinUsesOneSeparator) {
    EXPECT_EQ(joinPath(nativePath("/opt/Tovlo"), {"w", "main.html"}), nativePath("/opt/Tovlo/w/main.html"));
    EXPECT_EQ(joinPath(nativePath("/opt/Tovlo/"), {nativePath("/w/"), "x"}), nativePath("/opt/Tovlo/w/x"));
}

// Names holding what an address gives a meaning to ("#", "?", "%", "&",
// spaces) stay names; plain paths keep their look.
TEST(Urls, EveryAddressIsEncodedOnce) {
    const std::pair<std::string, std::string> rows[] = {
        {fileUrl("/home/u/Tovlo/w/nullInte.html"), "file:///home/u/Tovlo/w/nullInte.html"},
        {fileUrl("/home/u/a#1/b?2/50%/x y.html"), "file:///home/u/a%231/b%3F2/50%25/x%20y.html"},
        {fileUrl("/opt/表情/it's.html"), "file:///opt/%E8%A1%A8%E6%83%85/it%27s.html"},
        {fileUrl("C:/Tovlo/w/main.html"), "file:///C:/Tovlo/w/main.html"},
        {withQuery(fileUrl("/p/main.html"), {{"v", "2.3 beta&x"}}), "file:///p/main.html?v=2.3%20beta%26x"},
        {withQuery("/soft/myClass.asp", {{"uName", "张#三"}}), "/soft/myClass.asp?uName=%E5%BC%A0%23%E4%B8%89"},
        {withQuery("/a?x=1", {{"b", "="}, {"c", ""}}), "/a?x=1&b=%3D&c="},
    };
    for (const auto& [built, want] : rows) EXPECT_EQ(built, want);
    // The service's addresses keep their Chinese for the wire, which sends it
    // in the code page (GBK) like every other text for the service.
    NativeCodec codec;
    const std::pair<std::string, std::string> service[] = {
        {withServiceQuery("/soft/myClass.asp", {{"uName", "张#三"}}), "/soft/myClass.asp?uName=%D5%C5%23%C8%FD"},
        {withServiceQuery("/a?x=1", {{"b", "= +"}, {"c", ""}}), "/a?x=1&b=%3D%20%2B&c="},
        {servicePath("docs/新 1%.txt"), "docs/%D0%C2%201%25.txt"},
        {withServiceQuery("/u.txt", {{"d", "2026/12/7 14:05:09"}}), "/u.txt?d=2026%2F12%2F7%2014%3A05%3A09"},
    };
    for (const auto& [built, want] : service) EXPECT_EQ(wireUrl(codec, built), want) << built;
    for (const char* text : {"a#b?c%d 张 &=+", "%", "%4", "%zz", ""})
        EXPECT_EQ(percentDecode(percentEncode(text)), text);
    EXPECT_EQ(percentDecode("50%-%4x%E5%BC%A0"), "50%-%4x张");
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
    struct Row {
        std::string text, literal;
    };
    const Row rows[] = {
        {"a'b\\c\r\nd 张", "a\\'b\\\\c\\r\\nd 张"},
        {",||x.gif", ",||x.gif"},
        {"say \"hi\"", "say \\\"hi\\\""},
        {"</script>", "\\u003c/script>"},
        {std::string("nul\0bell\a\x1f\x7f", 11), "nul\\u0000bell\\u0007\\u001f\\u007f"},
        {"line\xE2\x80\xA8para\xE2\x80\xA9", "line\\u2028para\\u2029"},
        {"\xE2\x80\xA6 ok", "\xE2\x80\xA6 ok"},  // another character of that block stays
    };
    for (const Row& row : rows) EXPECT_EQ(scriptStringText(row.text), row.literal) << row.text;
    EXPECT_EQ(scriptLiteral("it's"), "'it\\'s'");
    EXPECT_EQ(scriptBlockText("a</script>b</SCRIPT >c</scrip"), "a<\\/script>b<\\/SCRIPT >c</scrip");
}

TEST(Paths, AbsolutePathsAndTrailingSeparators) {
    struct Row {
        const char* path;
        bool absolute;
        const char* trimmed;
    };
    const Row rows[] = {
#ifdef _WIN32
        {"C:\\Users\\u\\表情", true, "C:\\Users\\u\\表情"},
        {"C:\\faces\\\\", true, "C:\\faces"},
        {"C:\\", true, "C:\\"},
        {"\\\\server\\faces", true, "\\\\server\\faces"},
        {"\\faces", false, "\\faces"},  // on the current drive: not a place on its own
        {"C:faces", false, "C:faces"},
        {"faces\\", false, "faces"},
#else
        {"/home/u/表情", true, "/home/u/表情"},
        {"/home/u/faces//", true, "/home/u/faces"},
        {"/", true, "/"},
        {"faces/", false, "faces"},
#endif
        {"./faces", false, "./faces"},
        {"", false, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(isAbsolutePath(row.path), row.absolute);
        EXPECT_EQ(withoutTrailingSeparators(row.path), row.trimmed);
    }
}

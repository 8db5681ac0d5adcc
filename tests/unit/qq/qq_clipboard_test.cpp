#include <gtest/gtest.h>

#include "platform/fake/fake_clipboard.h"
#include "platform/fake/fake_platform.h"
#include "qq/qq_clipboard.h"

using namespace tovlo;

namespace {

struct QQClipboardTest : ::testing::Test {
    FakePlatform fake;
    FakeClipboard clipboard;
    ClipboardFormat find() { return findQQRichEditFormat(clipboard, fake.loop); }
    std::string text(ClipboardFormat f) { return getClipboardText(clipboard, fake.codec, f); }
};

}  // namespace

TEST_F(QQClipboardTest, FirstFormatWhoseNameContainsTheQQNameWins) {
    clipboard.put(7, "QQ_RichEdit_Format", "x");  // a standard id is known by its fixed name only
    clipboard.put(0xC001, "qq_richedit_format", "x");
    clipboard.put(0xC002, "xQQ_RichEdit_Format2", "first");
    clipboard.put(0xC003, "QQ_RichEdit_Format", "second");
    EXPECT_EQ(find(), 0xC002u);
    EXPECT_FALSE(clipboard.isOpen);
    EXPECT_EQ(fake.loop.pumps, 3) << "one pass of the event loop per format looked at";
}

TEST_F(QQClipboardTest, NoQQDataOrAClosedClipboardGiveNothing) {
    clipboard.put(1, "", "text");
    clipboard.put(2, "", std::nullopt);
    EXPECT_EQ(find(), 0u);
    EXPECT_EQ(text(0), "");
    EXPECT_EQ(text(2), "") << "listed without data";
    clipboard.put(0xC003, "QQ_RichEdit_Format", "x");
    clipboard.refuseOpen = true;
    EXPECT_EQ(find(), 0u);
    EXPECT_EQ(text(0xC003), "");
}

TEST_F(QQClipboardTest, TextIsTheWholeBlockFromGbkAndGivesItsFilePath) {
    // <img filepath="C:\表情\a.gif"> in GBK, with the block's trailing NUL.
    clipboard.put(0xC003, "QQ_RichEdit_Format",
                  "<img filepath=\"C:\\\xB1\xED\xC7\xE9\\a.gif\">" + std::string(1, '\0'));
    const std::string got = text(0xC003);
    EXPECT_EQ(got, "<img filepath=\"C:\\表情\\a.gif\">" + std::string(1, '\0'));
    EXPECT_FALSE(clipboard.isOpen);
    EXPECT_EQ(getFilePath(got), "C:\\表情\\a.gif");
}

TEST(FormatName, StandardTableThenRegisteredNameUpTo99Characters) {
    FakeClipboard clipboard;
    clipboard.put(0xC001, std::string(120, 'n'), "");
    EXPECT_EQ(getFormatName(clipboard, 1), "CF_Text");
    EXPECT_EQ(getFormatName(clipboard, 9), "CF_Pallette");
    EXPECT_EQ(getFormatName(clipboard, 17), "CF_Max");
    EXPECT_EQ(getFormatName(clipboard, 18), "");
    EXPECT_EQ(getFormatName(clipboard, 0xC001), std::string(99, 'n'));
}

TEST(GetFilePath, FirstAttributeBetweenItsQuotes) {
    EXPECT_EQ(getFilePath("<EditElement type=\"1\" filepath=\"/home/u/Image/a.jpg\" shortcut=\"\"/>"
                          "<EditElement filepath=\"/other.png\"/>"),
              "/home/u/Image/a.jpg");
    // Short paths end at their own quote, not at a later attribute's.
    EXPECT_EQ(getFilePath("filepath=\"a.b\" x=\"y\""), "a.b");
    EXPECT_EQ(getFilePath("filepath=\"\" x=\"yyyy\""), "");
    EXPECT_EQ(getFilePath("FilePath=\"/a/b.gif\""), "");
    EXPECT_EQ(getFilePath("filepath= \"/a/b.gif\""), "");
    EXPECT_EQ(getFilePath("filepath=\"/a/b.gif without end"), "");
}

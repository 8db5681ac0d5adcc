// The Win32 clipboard against the test chat window under Wine: a picture
// copied in a chat is found by its registered format and its file path read
// back (GBK on the clipboard, UTF-8 here); plain text is not taken for one.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "chat_window.h"
#include "platform/win/win_clipboard.h"
#include "platform/win/win_codec.h"
#include "platform/win/win_event_loop.h"
#include "qq/qq_clipboard.h"

namespace tovlo::test {

TEST(WinClipboard, APictureCopiedInAChatGivesItsFilePath) {
    WinClipboard clipboard;
    WinCodec codec;
    WinEventLoop loop;
    for (const std::string path : {"C:\\Users\\张三\\AppData\\QQ\\Image\\{7A1B}.gif", "C:\\a b\\图 1.jpg"}) {
        SCOPED_TRACE(path);
        ChatWindow chat({"张三", "--copy-qq", path});
        ASSERT_NE(chat.window(), 0u);
        const ClipboardFormat format = findQQRichEditFormat(clipboard, loop);
        ASSERT_NE(format, 0u);
        EXPECT_GE(format, 0xC000u) << "a registered format";
        EXPECT_EQ(getFormatName(clipboard, format), "QQ_RichEdit_Format");
        const std::string text = getClipboardText(clipboard, codec, format);
        EXPECT_EQ(getFilePath(text), path);
        EXPECT_EQ(text.back(), '\0') << "the block's closing NUL is part of the text";
    }
}

TEST(WinClipboard, FormatsAreListedInOrderWithTheirNames) {
    WinClipboard clipboard;
    ChatWindow chat({"张三", "--copy-qq", "C:\\q.gif"});
    ASSERT_NE(chat.window(), 0u);
    ASSERT_TRUE(clipboard.open());
    EXPECT_FALSE(clipboard.open()) << "already open";
    std::vector<ClipboardFormat> formats;
    for (ClipboardFormat f = clipboard.enumFormats(0); f != 0 && formats.size() < 50; f = clipboard.enumFormats(f))
        formats.push_back(f);
    ASSERT_FALSE(formats.empty());
    EXPECT_EQ(formats.front(), ClipboardFormat{CF_UNICODETEXT}) << "the order the window put them in";
    EXPECT_EQ(clipboard.formatName(CF_UNICODETEXT), "") << "standard formats have no registered name";
    bool named = false;
    for (ClipboardFormat f : formats) named = named || clipboard.formatName(f) == "QQ_RichEdit_Format";
    EXPECT_TRUE(named);
    const auto unicode = clipboard.data(CF_UNICODETEXT);
    ASSERT_TRUE(unicode.has_value());
    EXPECT_EQ(unicode->substr(0, 4), std::string("[\0\xFE\x56", 4)) << "UTF-16 of \"[图\"";
    EXPECT_FALSE(clipboard.data(CF_BITMAP).has_value()) << "a drawing object has no bytes";
    clipboard.close();
    EXPECT_EQ(clipboard.enumFormats(0), 0u) << "nothing is listed while closed";
    EXPECT_FALSE(clipboard.data(CF_UNICODETEXT).has_value());
}

TEST(WinClipboard, PlainTextIsNoPicture) {
    WinClipboard clipboard;
    WinCodec codec;
    WinEventLoop loop;
    ChatWindow chat({"张三", "--copy-text", "filepath=\"C:\\not-a-picture.gif\""});
    ASSERT_NE(chat.window(), 0u);
    EXPECT_EQ(findQQRichEditFormat(clipboard, loop), 0u);
    EXPECT_EQ(getClipboardText(clipboard, codec, 0), "");
    EXPECT_EQ(getFormatName(clipboard, CF_UNICODETEXT), "CF_UnicodeText") << "the standard names table";
}

// The clipboard held open by another program: reading fails, and gives the
// empty answers the callers expect.
TEST(WinClipboard, AClipboardHeldElsewhereReadsAsEmpty) {
    WinClipboard clipboard;
    WinEventLoop loop;
    ChatWindow chat({"张三", "--copy-qq", "C:\\q.gif"});
    ASSERT_NE(chat.window(), 0u);
    HWND holder = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(holder));
    std::thread([&] {
        WinClipboard other;
        EXPECT_FALSE(other.open());
    }).join();
    CloseClipboard();
    DestroyWindow(holder);
    EXPECT_NE(findQQRichEditFormat(clipboard, loop), 0u) << "free again";
}

}  // namespace tovlo::test

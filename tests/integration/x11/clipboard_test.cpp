// The X11 clipboard against real selection owners: another program's (a
// thread with its own connection), none, one that never answers, and this
// process's own Qt.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/fake_event_loop.h"
#include "platform/posix/iconv_codec.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/x11/x11_clipboard.h"
#include "qq/qq_clipboard.h"
#include "selection_owner.h"
// Xlib's macros clash with gtest and Qt: it comes last.
#include "test_display.h"

namespace tovlo::test {
namespace {

using namespace std::string_literals;

// What QQ puts on the clipboard for a copied picture: GBK text ending in NUL.
const std::string kQQBlock =
    "<QQRichEditFormat><EditElement type=\"1\" title=\"\xb1\xed\xc7\xe9\" filepath=\"/tmp/x.gif\" "
    "shortcut=\"\"></EditElement></QQRichEditFormat>\0"s;

class ClipboardTest : public ::testing::Test {
protected:
    std::unique_ptr<X11Clipboard> clipboard = X11Clipboard::connect();
    FakeEventLoop loop;
    IconvCodec codec;

    std::vector<std::string> formatNames() {
        std::vector<std::string> names;
        if (!clipboard->open()) return {"(not opened)"};
        for (ClipboardFormat f = clipboard->enumFormats(0); f != 0; f = clipboard->enumFormats(f))
            names.push_back(clipboard->formatName(f));
        clipboard->close();
        return names;
    }
    // The file behind the QQ picture on the clipboard, read the way the upload panel does.
    std::string qqFilePath() {
        const ClipboardFormat f = findQQRichEditFormat(*clipboard, loop);
        return getFilePath(getClipboardText(*clipboard, codec, f));
    }
};

TEST_F(ClipboardTest, QQPictureCopiedInAnotherProgramGivesItsFilePath) {
    ASSERT_TRUE(clipboard);
    SelectionOwner qq({{"UTF8_STRING", "张三"}, {"QQ_RichEdit_Format", kQQBlock}});

    EXPECT_EQ(formatNames(), (std::vector<std::string>{"UTF8_STRING", "QQ_RichEdit_Format"}));
    const ClipboardFormat f = findQQRichEditFormat(*clipboard, loop);
    EXPECT_EQ(f, clipboard->formatId("QQ_RichEdit_Format"));
    const std::string text = getClipboardText(*clipboard, codec, f);
    EXPECT_NE(text.find("title=\"表情\""), std::string::npos) << text;
    EXPECT_EQ(text.back(), '\0');
    EXPECT_EQ(qqFilePath(), "/tmp/x.gif");
}

TEST_F(ClipboardTest, DataComesWholeInIncrChunksAndOnlyForOfferedAndAnsweredTargets) {
    std::string picture(300 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<char>(i * 7 + i / 251);
    SelectionOwner owner({{"image/gif", picture}, {"text/html", "<b>x</b>"}, {"refused", std::nullopt}});

    ASSERT_TRUE(clipboard->open());
    EXPECT_EQ(clipboard->data(clipboard->formatId("image/gif")), picture);
    EXPECT_EQ(owner.incrementalTransfers(), 1);
    EXPECT_EQ(clipboard->data(clipboard->formatId("text/html")), "<b>x</b>");
    EXPECT_EQ(clipboard->data(clipboard->formatId("refused")), std::nullopt);
    EXPECT_EQ(clipboard->data(clipboard->formatId("never offered")), std::nullopt);
    EXPECT_EQ(clipboard->data(1), std::nullopt);
    clipboard->close();
    EXPECT_EQ(clipboard->data(clipboard->formatId("text/html")), std::nullopt);  // only while open
}

TEST_F(ClipboardTest, EmptyClipboardOpensWithoutFormats) {
    TestDisplay x;
    XSetSelectionOwner(x.display(), x.atom("CLIPBOARD"), None, CurrentTime);
    XSync(x.display(), False);

    EXPECT_EQ(formatNames(), std::vector<std::string>{});
    EXPECT_EQ(findQQRichEditFormat(*clipboard, loop), 0u);
    EXPECT_EQ(getClipboardText(*clipboard, codec, 0), "");
}

TEST_F(ClipboardTest, OwnerThatNeverAnswersMakesOpeningFailInsteadOfHanging) {
    TestDisplay x;  // owns the selection but never reads its requests
    const Window silent = x.create({});
    XSetSelectionOwner(x.display(), x.atom("CLIPBOARD"), silent, CurrentTime);
    XSync(x.display(), False);

    EXPECT_FALSE(clipboard->open());
    EXPECT_EQ(findQQRichEditFormat(*clipboard, loop), 0u);
}

TEST_F(ClipboardTest, OwnedByThisProcessIsReadThroughQt) {
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("QQ_RichEdit_Format"), QByteArray(kQQBlock.data(), kQQBlock.size()));
    QGuiApplication::clipboard()->setMimeData(mime);
    ASSERT_TRUE(QGuiApplication::clipboard()->ownsClipboard());

    // Our own connection cannot be answered by Qt's while this thread waits.
    EXPECT_FALSE(clipboard->open());

    QtClipboard qt([this](const std::string& name) { return clipboard->formatId(name); });
    clipboard->readOwnClipboardThrough(qt, [&] { return qt.ownsClipboard(); });
    EXPECT_EQ(formatNames(), std::vector<std::string>{"QQ_RichEdit_Format"});
    EXPECT_EQ(getClipboardText(*clipboard, codec, clipboard->formatId("QQ_RichEdit_Format")),
              codec.ansiToUtf8(kQQBlock));
    EXPECT_EQ(qqFilePath(), "/tmp/x.gif");

    // Once another program owns the clipboard, it is read from the X server again.
    SelectionOwner other(std::vector<OfferedTarget>{{"UTF8_STRING", "李四"}});
    QCoreApplication::processEvents();  // Qt learns that it lost the clipboard
    ASSERT_TRUE(waitUntil([] {
        QCoreApplication::processEvents();
        return !QGuiApplication::clipboard()->ownsClipboard();
    }));
    EXPECT_EQ(formatNames(), std::vector<std::string>{"UTF8_STRING"});
}

}  // namespace
}  // namespace tovlo::test

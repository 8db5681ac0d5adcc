// A page puts a picture on the system clipboard itself.
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>

#include "desktop_input.h"

namespace tovlo::test {
namespace {

using ClipboardImage = ViewTest;

// What works: the asynchronous clipboard API with a PNG blob. Our profile's
// settings grant the clipboard permission without asking.
TEST_F(ClipboardImage, AsyncClipboardApiPutsThePictureOnTheSystemClipboard) {
    load("canvas.html",
         "<canvas id=\"c\" width=\"3\" height=\"2\"></canvas>"
         "<script>"
         "navigator.permissions.query({ name: 'clipboard-write' }).then("
         "  function (p) { external.calls('p', p.state); }, function (e) { external.calls('p', 'error:' + e); });"
         "function copyCanvas() {"
         "  var c = document.getElementById('c'), x = c.getContext('2d');"
         "  x.fillStyle = '#ff0000'; x.fillRect(0, 0, 3, 2); x.fillStyle = '#0000ff'; x.fillRect(2, 0, 1, 2);"
         "  c.toBlob(function (blob) {"
         "    navigator.clipboard.write([new ClipboardItem({ 'image/png': blob })]).then("
         "      function () { external.calls('c', 'written'); }, function (e) { external.calls('c', 'failed:' + e); });"
         "  }, 'image/png');"
         "}"
         "</script>");
    ASSERT_TRUE(waitFor([&] { return !textsOf("p").empty(); }));
    EXPECT_EQ(textsOf("p"), (std::vector<std::string>{"granted"}));
    ASSERT_TRUE(clickView(viewWidget(), {300, 300}));  // the page has the focus, as when a face is clicked
    QApplication::clipboard()->setText(QStringLiteral("before"));
    view->runScript("copyCanvas()");
    ASSERT_TRUE(waitFor([&] { return !textsOf("c").empty(); }));
    EXPECT_EQ(textsOf("c"), (std::vector<std::string>{"written"}));
    // The engine commits the picture to the system clipboard on its own time.
    ASSERT_TRUE(waitFor([] { return !QApplication::clipboard()->image().isNull(); }, 3000));
    const QImage image = QApplication::clipboard()->image();
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(2, 1), QColor(0, 0, 255));
}

// What does not: copying a selected <img> puts only its markup there, no
// picture, so pages must use the asynchronous API for faces.
TEST_F(ClipboardImage, CopyingASelectedImageGivesMarkupOnly) {
    QImage pic(4, 4, QImage::Format_RGB32);
    pic.fill(QColor(0, 255, 0));
    ASSERT_TRUE(pic.save(QString::fromStdString(dir / "face.png")));
    load("select.html",
         "<img id=\"i\" src=\"face.png\">"
         "<script>"
         "function copySelected() {"
         "  var r = document.createRange(); r.selectNode(document.getElementById('i'));"
         "  var s = getSelection(); s.removeAllRanges(); s.addRange(r);"
         "  external.calls('c', String(document.execCommand('copy')));"
         "}"
         "</script>");
    ASSERT_TRUE(clickView(viewWidget(), {300, 300}));
    QApplication::clipboard()->setText(QStringLiteral("before"));
    view->runScript("copySelected()");
    ASSERT_TRUE(waitForCall("c", "true"));
    ASSERT_TRUE(waitFor([] { return QApplication::clipboard()->mimeData()->hasHtml(); }, 3000));
    EXPECT_NE(QApplication::clipboard()->mimeData()->html().indexOf(QStringLiteral("face.png")), -1);
    settle(300);
    EXPECT_TRUE(QApplication::clipboard()->image().isNull());
}

}  // namespace
}  // namespace tovlo::test

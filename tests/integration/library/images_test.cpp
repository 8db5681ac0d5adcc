// Still images on QImage: decoding the pack formats, stretched cells, BMP out.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "library/face_sheet.h"
#include "platform/qt/qt_images.h"
#include "support/temp_dir.h"

namespace tovlo::test {

namespace {

void solid(const std::string& path, int w, int h, QColor colour, const char* format) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(QString::fromStdString(path), format));
}

}  // namespace

TEST(QtImagesTest, LoadsPackFormatsAndRefusesOthers) {
    TempDir dir;
    QtImages images;
    auto gif = images.load(std::string(DEVSERVICE_DATA) + "/soft/经典笑脸/1-1.gif");
    ASSERT_NE(gif, nullptr);
    EXPECT_EQ(gif->width(), 48);
    auto moving = images.load(std::string(DEVSERVICE_DATA) + "/soft/经典笑脸/2-1.gif");  // an animated face
    ASSERT_NE(moving, nullptr);
    solid(dir / "a.jpg", 20, 10, Qt::blue, "JPG");
    solid(dir / "a.bmp", 7, 9, Qt::blue, "BMP");
    EXPECT_EQ(images.load(dir / "a.jpg")->height(), 10);
    EXPECT_EQ(images.load(dir / "a.bmp")->width(), 7);
    writeBytes(dir / "bad.gif", "GIF89a but nothing more");
    EXPECT_EQ(images.load(dir / "bad.gif"), nullptr);
    EXPECT_EQ(images.load(dir / "none.gif"), nullptr);
}

TEST(QtImagesTest, TheSheetStretchesEachFaceIntoItsCell) {
    TempDir dir;
    QtImages images;
    solid(dir / "1-2.bmp", 60, 20, Qt::red, "BMP");
    solid(dir / "2-6.jpg", 10, 40, Qt::green, "JPG");
    writeBytes(dir / "1-1.gif", "broken");
    const std::vector<std::string> names{"1-1.gif", "1-2.bmp", "2-6.jpg", "A.GIF", "x.gif", "q.gif", "w.gif"};
    SheetResult result = buildFaceSheet(images, dir.path(), names, dir / "small.bmp");
    EXPECT_EQ(result.rows, 2);
    EXPECT_EQ(result.drawn, 2) << "undecodable and oddly named files are skipped";
    EXPECT_EQ(readBytes(dir / "small.bmp").substr(0, 2), "BM");
    QImage sheet(QString::fromStdString(dir / "small.bmp"), "BMP");
    ASSERT_EQ(sheet.size(), QSize(180, 60));
    for (QPoint p : {QPoint(31, 1), QPoint(58, 28), QPoint(45, 15)})
        EXPECT_EQ(QColor(sheet.pixel(p)), QColor(Qt::red)) << p.x();
    EXPECT_EQ(QColor(sheet.pixel(29, 15)), QColor(Qt::white)) << "the cell of the broken face stays white";
    EXPECT_EQ(QColor(sheet.pixel(61, 15)), QColor(Qt::white));
    const QColor green(sheet.pixel(165, 45));
    EXPECT_LT(green.red(), 30);
    EXPECT_GT(green.green(), 200);
    EXPECT_EQ(QColor(sheet.pixel(149, 45)), QColor(Qt::white));
}

}  // namespace tovlo::test

// The GIF encoder behind the sample faces and the thumbnails of uploaded
// GIFs, checked by decoding its output with Qt's reader.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageReader>

#include <random>

#include "gif_writer.h"

using namespace tovlo::devservice;

namespace {

std::vector<QImage> decodeAll(const std::string& gif) {
    QByteArray data = QByteArray::fromStdString(gif);
    QBuffer buffer(&data);
    QImageReader reader(&buffer, "GIF");
    std::vector<QImage> frames;
    for (QImage frame; reader.read(&frame);) frames.push_back(frame.convertToFormat(QImage::Format_ARGB32));
    return frames;
}

}  // namespace

TEST(GifWriterTest, NoisyPicturesSurviveTheCodeTableFillingUpAndStartingAgain) {
    // Random palette colours give no runs, so the 4096-entry table fills and
    // is cleared several times.
    QImage image(160, 120, QImage::Format_ARGB32);
    std::mt19937 random(7);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(random() % 6 * 51, random() % 6 * 51, random() % 6 * 51));
    std::vector<QImage> decoded = decodeAll(encodeGif({image}));
    ASSERT_EQ(decoded.size(), 1u);
    ASSERT_EQ(decoded[0].size(), image.size());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ASSERT_EQ(decoded[0].pixel(x, y), image.pixel(x, y)) << x << "," << y;
}

TEST(GifWriterTest, FramesAnimateAndClearPixelsStayTransparent) {
    std::vector<QImage> frames;
    for (int i = 0; i < 3; ++i) {
        QImage frame(20, 10, QImage::Format_ARGB32);
        frame.fill(Qt::transparent);
        frame.setPixel(i, 0, qRgb(255, 0, 0));
        frames.push_back(frame);
    }
    std::vector<QImage> decoded = decodeAll(encodeGif(frames, 10));
    ASSERT_EQ(decoded.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(decoded[i].pixel(i, 0), qRgb(255, 0, 0)) << i;
        EXPECT_EQ(qAlpha(decoded[i].pixel((i + 1) % 3, 0)), 0) << "the previous frame's dot is gone";
        EXPECT_EQ(qAlpha(decoded[i].pixel(19, 9)), 0);
    }
}

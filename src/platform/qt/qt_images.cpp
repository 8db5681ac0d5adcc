#include "qt_images.h"

#include <QColor>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSaveFile>

namespace tovlo {

namespace {

class QtImage : public Image {
public:
    explicit QtImage(QImage image) : image(std::move(image)) {}
    int width() const override { return image.width(); }
    int height() const override { return image.height(); }
    QImage image;
};

class QtSheet : public Sheet {
public:
    QtSheet(int width, int height, std::uint32_t rgb) : image_(width, height, QImage::Format_RGB32) {
        image_.fill(QColor::fromRgb(static_cast<QRgb>(rgb)));
    }
    int width() const override { return image_.width(); }
    int height() const override { return image_.height(); }
    void draw(const Image& image, const Rect& target) override {
        QPainter painter(&image_);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(target.left, target.top, target.width, target.height),
                          static_cast<const QtImage&>(image).image);
    }
    bool saveBmp(const std::string& path) const override {
        // Written beside and renamed over, so an old sheet is never left torn.
        QSaveFile file(QString::fromStdString(path));
        if (!file.open(QIODevice::WriteOnly)) return false;
        if (!image_.save(&file, "BMP")) {
            file.cancelWriting();
            return false;
        }
        return file.commit();
    }

private:
    QImage image_;
};

}  // namespace

std::unique_ptr<Image> QtImages::load(const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();  // the first frame of an animation
    if (image.isNull()) return nullptr;
    return std::make_unique<QtImage>(std::move(image));
}

std::unique_ptr<Sheet> QtImages::createSheet(int width, int height, std::uint32_t rgb) {
    return std::make_unique<QtSheet>(width, height, rgb);
}

}  // namespace tovlo

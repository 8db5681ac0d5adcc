#include "face_images.h"

#include <QBuffer>
#include <QByteArray>
#include <QPainter>

#include "gif_writer.h"

namespace tovlo::devservice {

namespace {

const char* qtFormat(const std::string& type) {
    if (type == "gif") return "GIF";
    if (type == "jpg") return "JPG";
    return "BMP";
}

}  // namespace

std::string pictureTypeOf(const std::string& bytes) {
    if (bytes.rfind("GIF87a", 0) == 0 || bytes.rfind("GIF89a", 0) == 0) return "gif";
    if (bytes.size() > 3 && bytes.compare(0, 3, "\xFF\xD8\xFF") == 0) return "jpg";
    if (bytes.size() > 26 && bytes.rfind("BM", 0) == 0) return "bmp";
    return {};
}

std::string encodePicture(const QImage& image, const std::string& type) {
    if (type == "gif") return encodeGif({image});
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    opaque.save(&buffer, qtFormat(type), type == "jpg" ? 88 : -1);
    return data.toStdString();
}

std::optional<std::string> makeThumbnail(const std::string& bytes) {
    std::string type = pictureTypeOf(bytes);
    if (type.empty()) return std::nullopt;
    QImage image;
    if (!image.loadFromData(QByteArray::fromStdString(bytes), qtFormat(type))) return std::nullopt;
    if (image.width() > kThumbnailEdge || image.height() > kThumbnailEdge)
        image = image.scaled(kThumbnailEdge, kThumbnailEdge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return encodePicture(image, type);
}

}  // namespace tovlo::devservice

#pragma once
// Face pictures, thumbnail sheets and pack folders for the page tests, drawn
// the way the program's files are laid out.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace tovlo::test {

// A round face of the colour, size x size pixels.
inline QImage drawFace(QColor colour, int size = 48) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour.darker(160), size / 24.0));
    p.setBrush(colour);
    p.drawEllipse(QRectF(size * 0.06, size * 0.06, size * 0.88, size * 0.88));
    p.setBrush(colour.darker(250));
    p.drawEllipse(QRectF(size * 0.3, size * 0.3, size * 0.1, size * 0.14));
    p.drawEllipse(QRectF(size * 0.6, size * 0.3, size * 0.1, size * 0.14));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(size * 0.28, size * 0.38, size * 0.44, size * 0.36), 200 * 16, 140 * 16);
    return image;
}

// Saves a picture by its extension; GIFs go through ImageMagick (Qt reads
// GIF but cannot write it).
inline bool saveFace(const QImage& image, const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    const QString target = QString::fromStdString(path);
    if (!target.endsWith(QLatin1String(".gif"))) return image.save(target);
    const QString png = target + QStringLiteral(".tmp.png");
    if (!image.save(png)) return false;
    const int code = QProcess::execute(QStringLiteral("convert"), {png, target});
    std::filesystem::remove(png.toStdString());
    return code == 0;
}

// Colours equal up to JPEG's small changes.
inline bool similar(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 16 && std::abs(a.green() - b.green()) < 16 &&
           std::abs(a.blue() - b.blue()) < 16;
}

struct PackFace {
    int row;
    int column;
    std::string extension;  // ".gif" or ".jpg"
    QColor colour;
};

// A processed pack: its faces "row-column.ext" and small.bmp, the sheet of
// six 30 x 30 px columns. Returns the sheet height in pixels.
inline int makePack(const std::string& folder, const std::vector<PackFace>& faces) {
    const int rows = static_cast<int>(faces.size()) / 6 + 1;
    QImage sheet(6 * 30, rows * 30, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    for (const PackFace& f : faces) {
        const QImage face = drawFace(f.colour);
        saveFace(face, folder + "/" + std::to_string(f.row) + "-" + std::to_string(f.column) + f.extension);
        p.drawImage(QRect((f.column - 1) * 30, (f.row - 1) * 30, 30, 30), face);
    }
    p.end();
    sheet.save(QString::fromStdString(folder + "/small.bmp"), "BMP");
    return rows * 30;
}

}  // namespace tovlo::test

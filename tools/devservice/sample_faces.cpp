#include "sample_faces.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace tovlo::devservice {

QImage drawFace(int edge, int number, int frame, int hueShift) {
    QImage image(edge, edge, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double u = edge / 48.0;  // drawn on a 48-unit grid
    p.scale(u, u);

    const int bounce[] = {0, -2, 0, 2};
    p.translate(0, bounce[frame % 4]);
    QColor skin = QColor::fromHsv((number * 47 + 40 + hueShift) % 360, 150, 250);
    p.setPen(QPen(skin.darker(170), 2));
    p.setBrush(skin);
    p.drawEllipse(QRectF(4, 4, 40, 40));

    // Eyes: closed on the blink frame.
    p.setPen(QPen(QColor(40, 40, 40), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(40, 40, 40));
    if (frame == 2) {
        p.drawLine(QPointF(14, 19), QPointF(20, 19));
        p.drawLine(QPointF(28, 19), QPointF(34, 19));
    } else {
        p.drawEllipse(QPointF(17, 18), 2.5, 3.5);
        p.drawEllipse(QPointF(31, 18), 2.5, 3.5);
    }

    // Mouth: one of four expressions, opened on the odd frames.
    p.setBrush(Qt::NoBrush);
    int expression = number % 4;
    bool open = frame % 2 == 1;
    QPainterPath mouth;
    if (expression == 0 || open) {
        mouth.moveTo(14, 28);
        mouth.quadTo(24, open ? 42 : 38, 34, 28);
        if (open) {
            mouth.closeSubpath();
            p.setBrush(QColor(150, 40, 40));
        }
    } else if (expression == 1) {
        mouth.addEllipse(QPointF(24, 32), 4, 4);
    } else if (expression == 2) {
        mouth.moveTo(15, 34);
        mouth.quadTo(24, 26, 33, 34);
    } else {
        mouth.moveTo(15, 31);
        mouth.lineTo(33, 31);
    }
    p.drawPath(mouth);

    // The number on a badge in the lower right corner.
    p.resetTransform();
    QRectF badge(edge * 0.6, edge * 0.62, edge * 0.38, edge * 0.36);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawRoundedRect(badge, edge * 0.08, edge * 0.08);
    QFont font("DejaVu Sans");
    font.setPixelSize(std::max(8, static_cast<int>(edge * 0.26)));
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(30, 60, 120));
    p.drawText(badge, Qt::AlignCenter, QString::number(number));
    p.end();
    return image;
}

std::vector<QImage> faceAnimation(int edge, int number, int hueShift) {
    std::vector<QImage> frames;
    for (int frame = 0; frame < 4; ++frame) frames.push_back(drawFace(edge, number, frame, hueShift));
    return frames;
}

}  // namespace tovlo::devservice

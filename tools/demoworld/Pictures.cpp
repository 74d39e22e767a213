#include "tools/demoworld/Pictures.h"

#include "tools/demoworld/Random.h"

#include <QBuffer>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace demoworld {

namespace {

QPainterPath Glyph(int kind, Random& rng)
{
    QPainterPath p;
    switch (kind) {
    case 0: { // star
        const int points = rng.range(5, 7);
        for (int i = 0; i < points * 2; ++i) {
            const double a = i * M_PI / points - M_PI / 2;
            const double r = (i % 2) ? 7.5 : 18.0;
            const QPointF q(r * std::cos(a), r * std::sin(a));
            i ? p.lineTo(q) : p.moveTo(q);
        }
        p.closeSubpath();
        break;
    }
    case 1: { // crescent
        QPainterPath outer, inner;
        outer.addEllipse(QPointF(0, 0), 17, 17);
        inner.addEllipse(QPointF(7, -4), 14, 14);
        p = outer.subtracted(inner);
        break;
    }
    case 2: // flame
        p.moveTo(0, -19);
        p.cubicTo(10, -6, 14, 4, 0, 17);
        p.cubicTo(-14, 4, -6, -4, -3, -10);
        p.cubicTo(-2, -2, 2, -2, 0, -19);
        break;
    case 3: { // eye
        p.moveTo(-19, 0);
        p.quadTo(0, -16, 19, 0);
        p.quadTo(0, 16, -19, 0);
        QPainterPath pupil;
        pupil.addEllipse(QPointF(0, 0), 5, 5);
        p = p.subtracted(pupil);
        p.addEllipse(QPointF(0, 0), 2.5, 2.5);
        break;
    }
    case 4: { // spiral band
        QPainterPath line;
        for (int i = 0; i <= 60; ++i) {
            const double a = i * 0.22, r = 2 + i * 0.28;
            const QPointF q(r * std::cos(a), r * std::sin(a));
            i ? line.lineTo(q) : line.moveTo(q);
        }
        QPainterPathStroker stroker;
        stroker.setWidth(3.2);
        stroker.setCapStyle(Qt::RoundCap);
        p = stroker.createStroke(line);
        break;
    }
    case 5: // blade
        p.moveTo(0, -21);
        p.lineTo(5, 8);
        p.lineTo(12, 10);
        p.lineTo(2, 13);
        p.lineTo(2, 20);
        p.lineTo(-2, 20);
        p.lineTo(-2, 13);
        p.lineTo(-12, 10);
        p.lineTo(-5, 8);
        p.closeSubpath();
        break;
    case 6: // shield
        p.moveTo(-15, -16);
        p.lineTo(15, -16);
        p.cubicTo(15, 2, 8, 12, 0, 19);
        p.cubicTo(-8, 12, -15, 2, -15, -16);
        break;
    case 7: // bolt
        p.moveTo(4, -20);
        p.lineTo(-10, 2);
        p.lineTo(-1, 2);
        p.lineTo(-6, 20);
        p.lineTo(10, -4);
        p.lineTo(1, -4);
        p.closeSubpath();
        break;
    case 8: // leaf
        p.moveTo(0, -20);
        p.cubicTo(16, -10, 14, 10, 0, 20);
        p.cubicTo(-14, 10, -16, -10, 0, -20);
        break;
    case 9: // three orbs
        for (int i = 0; i < 3; ++i) {
            const double a = i * 2 * M_PI / 3 - M_PI / 2;
            p.addEllipse(QPointF(11 * std::cos(a), 11 * std::sin(a)), 6.5, 6.5);
        }
        break;
    case 10: { // rune
        QPainterPath line;
        line.moveTo(0, -18);
        line.lineTo(0, 18);
        line.moveTo(0, -8);
        line.lineTo(11, -16);
        line.moveTo(0, 2);
        line.lineTo(-11, -6);
        line.moveTo(0, 6);
        line.lineTo(10, 14);
        QPainterPathStroker stroker;
        stroker.setWidth(4);
        stroker.setCapStyle(Qt::RoundCap);
        p = stroker.createStroke(line);
        break;
    }
    default: { // sun ring
        QPainterPath ring;
        ring.addEllipse(QPointF(0, 0), 9, 9);
        QPainterPath hole;
        hole.addEllipse(QPointF(0, 0), 5, 5);
        p = ring.subtracted(hole);
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            QPainterPath ray;
            ray.moveTo(11 * std::cos(a - 0.18), 11 * std::sin(a - 0.18));
            ray.lineTo(20 * std::cos(a), 20 * std::sin(a));
            ray.lineTo(11 * std::cos(a + 0.18), 11 * std::sin(a + 0.18));
            ray.closeSubpath();
            p.addPath(ray);
        }
    }
    }
    return p;
}

} // namespace

QImage SkillIcon(QRgb professionColour, uint64_t seed)
{
    Random rng(seed);
    QImage img(64, 64, QImage::Format_RGB32);
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing, true);

    const QColor base(professionColour);
    QRadialGradient bg(QPointF(26, 24), 46);
    bg.setColorAt(0, base.lighter(150));
    bg.setColorAt(0.6, base);
    bg.setColorAt(1, base.darker(260));
    painter.fillRect(img.rect(), bg);

    // Corner marks: a few dots that set apart skills sharing a glyph.
    const int marks = rng.below(4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 150));
    for (int i = 0; i < marks; ++i)
        painter.drawEllipse(QPointF(8 + i * 6, 56), 2, 2);

    painter.translate(32, 31);
    painter.rotate(rng.below(8) * 45.0 - (rng.chance(0.5) ? 0 : 22.5));
    const QPainterPath glyph = Glyph(rng.below(12), rng);
    const bool pale = base.lightness() < 150;
    painter.setPen(QPen(pale ? QColor(30, 24, 20) : QColor(250, 246, 230), 2.2));
    painter.setBrush(pale ? QColor(250, 240, 200) : QColor(40, 30, 28));
    painter.drawPath(glyph);
    painter.resetTransform();

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(20, 16, 12), 2));
    painter.drawRect(QRectF(1, 1, 62, 62));
    painter.setPen(QPen(base.lighter(170), 1));
    painter.drawRect(QRectF(3.5, 3.5, 57, 57));
    painter.end();
    return img;
}

QImage PetPortrait(uint64_t seed)
{
    Random rng(seed);
    QImage img(96, 96, QImage::Format_RGB32);
    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing, true);

    const QColor sky = QColor::fromHsv(rng.range(150, 220), rng.range(40, 90), rng.range(200, 240));
    const QColor ground = QColor::fromHsv(rng.range(60, 120), rng.range(60, 140), rng.range(110, 170));
    painter.fillRect(QRect(0, 0, 96, 64), sky);
    painter.fillRect(QRect(0, 64, 96, 32), ground);

    const QColor fur = QColor::fromHsv(rng.range(0, 359), rng.range(60, 200), rng.range(90, 220));
    const QColor dark = fur.darker(170);
    const double bodyW = rng.range(22.0, 30.0), bodyH = rng.range(13.0, 19.0);
    const double legLen = rng.range(6.0, 14.0);
    const QPointF body(46, 70 - legLen - bodyH * 0.5);

    painter.setPen(QPen(dark, 3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) { // legs
        const double x = body.x() - bodyW * 0.7 + i * bodyW * 0.46;
        painter.drawLine(QPointF(x, body.y() + bodyH * 0.5), QPointF(x + (i % 2 ? 2 : -2), 72));
    }
    QPainterPath tail(QPointF(body.x() - bodyW, body.y()));
    tail.cubicTo(body.x() - bodyW - 12, body.y() - rng.range(0.0, 20.0), body.x() - bodyW - 6, body.y() - 24,
                 body.x() - bodyW - rng.range(8.0, 16.0), body.y() - rng.range(10.0, 26.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tail);

    painter.setPen(QPen(dark, 1.5));
    painter.setBrush(fur);
    painter.drawEllipse(body, bodyW, bodyH);
    const QPointF head(body.x() + bodyW * 0.85, body.y() - bodyH * 0.8);
    const double headR = rng.range(9.0, 13.0);
    // Ears or horns.
    QPolygonF ear1, ear2;
    const double earH = rng.range(6.0, 14.0);
    ear1 << QPointF(head.x() - headR * 0.7, head.y() - headR * 0.4)
         << QPointF(head.x() - headR * 0.4, head.y() - headR - earH)
         << QPointF(head.x() - headR * 0.05, head.y() - headR * 0.7);
    ear2 << QPointF(head.x() + headR * 0.1, head.y() - headR * 0.7)
         << QPointF(head.x() + headR * 0.5, head.y() - headR - earH)
         << QPointF(head.x() + headR * 0.8, head.y() - headR * 0.3);
    painter.drawPolygon(ear1);
    painter.drawPolygon(ear2);
    painter.drawEllipse(head, headR, headR * 0.9);
    painter.setBrush(QColor(250, 250, 240));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(head.x() + headR * 0.35, head.y() - headR * 0.15), 3.2, 3.2);
    painter.setBrush(QColor(20, 20, 20));
    painter.drawEllipse(QPointF(head.x() + headR * 0.45, head.y() - headR * 0.15), 1.7, 1.7);
    // Markings on the back.
    painter.setBrush(dark);
    for (int i = rng.below(4); i > 0; --i)
        painter.drawEllipse(QPointF(body.x() - bodyW * 0.5 + i * 9, body.y() - bodyH * 0.3), 3, 2);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(60, 44, 30), 3));
    painter.drawRect(QRectF(1.5, 1.5, 93, 93));
    painter.end();
    return img;
}

QByteArray JpegBytes(const QImage& image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}

} // namespace demoworld

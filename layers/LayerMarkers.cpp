#include "layers/LayerMarkers.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>

namespace layermarkers {

namespace {

const QColor kRim(24, 20, 16);
const QColor kSymbol(255, 250, 236);

QImage Blank(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// A badge filling the whole picture: rounded square, vertical gradient from
// `light` to `dark`, a one-pixel dark rim on the picture's outermost pixels.
void Badge(QPainter& p, int size, const QColor& light, const QColor& dark, double radius)
{
    const QRectF body(0.5, 0.5, size - 1.0, size - 1.0);
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0.0, light.lighter(118));
    g.setColorAt(0.5, light);
    g.setColorAt(1.0, dark);
    p.setPen(QPen(kRim, 1.0));
    p.setBrush(g);
    p.drawRoundedRect(body, radius, radius);
}

QImage Sword(int size, const QColor& light, const QColor& dark)
{
    QImage img = Blank(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    Badge(p, size, light, dark, 3.0);
    // A blade from the top right to the bottom left, with a cross guard.
    p.setPen(QPen(kSymbol, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(size - 3.5, 3.5), QPointF(5.0, size - 5.0));
    p.drawLine(QPointF(3.5, size - 7.0), QPointF(7.0, size - 3.5));
    p.drawLine(QPointF(4.5, size - 4.5), QPointF(3.0, size - 3.0));
    return img;
}

QImage Shield(int size, const QColor& light, const QColor& dark)
{
    QImage img = Blank(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    Badge(p, size, light, dark, 3.0);
    const double l = 3.5, r = size - 3.5, t = 3.0, b = size - 2.5, cx = size / 2.0;
    QPainterPath shield;
    shield.moveTo(l, t);
    shield.lineTo(r, t);
    shield.lineTo(r, t + (b - t) * 0.45);
    shield.quadTo(r, b - 1.5, cx, b);
    shield.quadTo(l, b - 1.5, l, t + (b - t) * 0.45);
    shield.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kSymbol);
    p.drawPath(shield);
    // A stud in the middle of the shield.
    p.setBrush(dark);
    p.drawEllipse(QPointF(cx, t + (b - t) * 0.42), 1.6, 1.6);
    return img;
}

QImage GreenDiamond(int size)
{
    QImage img = Blank(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double c = size / 2.0;
    QPainterPath diamond;
    diamond.moveTo(c, 0.5);
    diamond.lineTo(size - 0.5, c);
    diamond.lineTo(c, size - 0.5);
    diamond.lineTo(0.5, c);
    diamond.closeSubpath();
    p.setPen(QPen(kRim, 1.0));
    p.setBrush(QColor(0, 255, 0));
    p.drawPath(diamond);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QPointF(c - 1.5, c - 1.5), 1.5, 1.5);
    return img;
}

QImage NotePaper(int size)
{
    QImage img = Blank(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    // A sheet with a folded corner and three lines of writing.
    const double f = 4.0;
    QPainterPath sheet;
    sheet.moveTo(0.5, 0.5);
    sheet.lineTo(size - 0.5 - f, 0.5);
    sheet.lineTo(size - 0.5, 0.5 + f);
    sheet.lineTo(size - 0.5, size - 0.5);
    sheet.lineTo(0.5, size - 0.5);
    sheet.closeSubpath();
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0.0, QColor(255, 244, 168));
    g.setColorAt(1.0, QColor(232, 196, 84));
    p.setPen(QPen(kRim, 1.0));
    p.setBrush(g);
    p.drawPath(sheet);
    QPainterPath fold;
    fold.moveTo(size - 0.5 - f, 0.5);
    fold.lineTo(size - 0.5 - f, 0.5 + f);
    fold.lineTo(size - 0.5, 0.5 + f);
    p.setBrush(QColor(200, 160, 60));
    p.drawPath(fold);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(120, 86, 30));
    for (int y : {6, 9, 12})
        p.drawLine(3, y, size - 4, y);
    return img;
}

QImage Chest(int size)
{
    QImage img = Blank(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    // Rounded lid over a box, a gold band and a lock.
    QPainterPath body;
    body.moveTo(0.5, 5.0);
    body.quadTo(0.5, 0.5, 5.0, 0.5);
    body.lineTo(size - 5.0, 0.5);
    body.quadTo(size - 0.5, 0.5, size - 0.5, 5.0);
    body.lineTo(size - 0.5, size - 0.5);
    body.lineTo(0.5, size - 0.5);
    body.closeSubpath();
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0.0, QColor(200, 128, 64));
    g.setColorAt(1.0, QColor(110, 58, 22));
    p.setPen(QPen(kRim, 1.0));
    p.setBrush(g);
    p.drawPath(body);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 206, 72));
    p.drawRect(1, 6, size - 2, 2);
    p.setPen(kRim);
    p.drawRect(size / 2 - 2, 5, 3, 4);
    return img;
}

QImage Paw(int size)
{
    QImage img = Blank(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient g(QPointF(size * 0.4, size * 0.35), size * 0.7);
    g.setColorAt(0.0, QColor(176, 226, 120));
    g.setColorAt(1.0, QColor(52, 112, 40));
    p.setPen(QPen(kRim, 1.0));
    p.setBrush(g);
    p.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
    p.setPen(Qt::NoPen);
    p.setBrush(kSymbol);
    const double c = size / 2.0;
    p.drawEllipse(QPointF(c, c + 2.2), 2.8, 2.2);
    p.drawEllipse(QPointF(c - 3.6, c - 0.6), 1.3, 1.5);
    p.drawEllipse(QPointF(c - 1.3, c - 3.2), 1.3, 1.5);
    p.drawEllipse(QPointF(c + 1.3, c - 3.2), 1.3, 1.5);
    p.drawEllipse(QPointF(c + 3.6, c - 0.6), 1.3, 1.5);
    return img;
}

struct Pictures {
    std::array<QImage, 6> images;
    Pictures()
    {
        images[int(Marker::CollArmi)] = Sword(kCollectorMarkerSize, QColor(118, 156, 218), QColor(36, 62, 120));
        images[int(Marker::CollArmature)] = Shield(kCollectorMarkerSize, QColor(176, 150, 222), QColor(70, 44, 120));
        images[int(Marker::GreenMarker)] = GreenDiamond(kGreenMarkerSize);
        images[int(Marker::Note)] = NotePaper(kNoteMarkerSize);
        images[int(Marker::Treasure)] = Chest(kTreasureMarkerSize);
        images[int(Marker::Pet)] = Paw(kPetMarkerSize);
    }
};

} // namespace

const QImage& Picture(Marker marker)
{
    static const Pictures pictures;
    return pictures.images[static_cast<std::size_t>(marker)];
}

void BlitIcon(QImage& target, const QImage& icon, int left, int top)
{
    const QRect area = QRect(QPoint(left, top), icon.size()) & target.rect();
    if (area.isEmpty() || icon.isNull())
        return;
    if (target.format() != QImage::Format_RGB32 && target.format() != QImage::Format_ARGB32 &&
        target.format() != QImage::Format_ARGB32_Premultiplied)
        target = target.convertToFormat(QImage::Format_RGB32);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* dst = reinterpret_cast<QRgb*>(target.scanLine(y));
        const auto* src = reinterpret_cast<const QRgb*>(icon.constScanLine(y - top));
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb s = src[x - left];
            const int a = qAlpha(s);
            if (a == 0)
                continue;
            if (a == 255) {
                dst[x] = s;
                continue;
            }
            const QRgb d = dst[x];
            const int keep = 255 - a;
            // Premultiplied source over an opaque pixel.
            dst[x] = qRgb(qRed(s) + (qRed(d) * keep + 127) / 255, qGreen(s) + (qGreen(d) * keep + 127) / 255,
                          qBlue(s) + (qBlue(d) * keep + 127) / 255);
        }
    }
}

} // namespace layermarkers

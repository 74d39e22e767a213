#include "layers/LayerMarkers.h"

#include "mapview/MapGeometry.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <map>

namespace layermarkers {

namespace {

const QColor kRim(24, 20, 16);
const QColor kSymbol(255, 250, 236);

// A transparent picture of size x size picture pixels at `dpr` device pixels
// each; a painter on it draws in picture pixels.
QImage Blank(int size, qreal dpr)
{
    const int device = qRound(size * dpr);
    QImage img(device, device, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
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

// A blade from the top right to the bottom left, with a cross guard, in a
// square of `size` at `origin`.
void SwordSymbol(QPainter& p, int size, QPointF origin = {})
{
    p.save();
    p.translate(origin);
    p.setPen(QPen(kSymbol, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(size - 3.5, 3.5), QPointF(5.0, size - 5.0));
    p.drawLine(QPointF(3.5, size - 7.0), QPointF(7.0, size - 3.5));
    p.drawLine(QPointF(4.5, size - 4.5), QPointF(3.0, size - 3.0));
    p.restore();
}

// A shield from left `l` to right `r`, top `t` to its point at bottom `b`:
// straight sides down to `waist` of its height, then curving in to the point
// (the curves' control points `tipInset` above it).
QPainterPath ShieldPath(double l, double r, double t, double b, double waist, double tipInset)
{
    const double cx = (l + r) / 2.0;
    QPainterPath shield;
    shield.moveTo(l, t);
    shield.lineTo(r, t);
    shield.lineTo(r, t + (b - t) * waist);
    shield.quadTo(r, b - tipInset, cx, b);
    shield.quadTo(l, b - tipInset, l, t + (b - t) * waist);
    shield.closeSubpath();
    return shield;
}

// A shield with a stud, in a square of `size` at `origin`.
void ShieldSymbol(QPainter& p, int size, const QColor& dark, QPointF origin = {})
{
    p.save();
    p.translate(origin);
    const double t = 3.0, b = size - 2.5, cx = size / 2.0;
    const QPainterPath shield = ShieldPath(3.5, size - 3.5, t, b, 0.45, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(kSymbol);
    p.drawPath(shield);
    // A stud in the middle of the shield.
    p.setBrush(dark);
    p.drawEllipse(QPointF(cx, t + (b - t) * 0.42), 1.6, 1.6);
    p.restore();
}

QImage Sword(int size, const QColor& light, const QColor& dark, qreal dpr)
{
    QImage img = Blank(size, dpr);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    Badge(p, size, light, dark, 3.0);
    SwordSymbol(p, size);
    return img;
}

QImage Shield(int size, const QColor& light, const QColor& dark, qreal dpr)
{
    QImage img = Blank(size, dpr);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    Badge(p, size, light, dark, 3.0);
    ShieldSymbol(p, size, dark);
    return img;
}

// ---- The large, clear markers: one shape per kind, a dark outline ----------

QPen ClearRim()
{
    return QPen(kRim, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A collector: a heraldic shield (flat top, pointed foot) holding the
// sword or the small shield of the collector's trade.
QImage LargeCollector(bool armour, const QColor& light, const QColor& dark, qreal dpr)
{
    const int size = mapview::LargeMarkerSide(mapview::MarkerKind::Collector);
    QImage img = Blank(size, dpr);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPainterPath outline = ShieldPath(0.8, size - 0.8, 0.8, size - 0.8, 0.5, 3.0);
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0.0, light.lighter(118));
    g.setColorAt(1.0, dark);
    p.setPen(ClearRim());
    p.setBrush(g);
    p.drawPath(outline);
    const int symbol = 13;
    const QPointF origin((size - symbol) / 2.0, 1.0);
    if (armour)
        ShieldSymbol(p, symbol, dark, origin);
    else
        SwordSymbol(p, symbol, origin);
    return img;
}

// A chest: a wide hexagon of dark wood, a gold band across and a lock.
QImage LargeChest(qreal dpr)
{
    const int size = mapview::LargeMarkerSide(mapview::MarkerKind::Chest);
    QImage img = Blank(size, dpr);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double l = 0.8, r = size - 0.8, t = 2.0, b = size - 2.0, m = size / 2.0, inset = 5.0;
    QPainterPath hexagon;
    hexagon.moveTo(l, m);
    hexagon.lineTo(l + inset, t);
    hexagon.lineTo(r - inset, t);
    hexagon.lineTo(r, m);
    hexagon.lineTo(r - inset, b);
    hexagon.lineTo(l + inset, b);
    hexagon.closeSubpath();
    QLinearGradient g(0, t, 0, b);
    g.setColorAt(0.0, QColor(214, 140, 70));
    g.setColorAt(1.0, QColor(110, 58, 22));
    p.setPen(ClearRim());
    p.setBrush(g);
    p.drawPath(hexagon);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 206, 72));
    p.drawRect(QRectF(l + 3.0, m - 2.5, r - l - 6.0, 2.5));
    p.setPen(QPen(kRim, 1.0));
    p.drawRect(QRectF(m - 2.0, m - 3.5, 4.0, 5.0));
    return img;
}

QImage GreenDiamond(int size, qreal dpr)
{
    QImage img = Blank(size, dpr);
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

QImage NotePaper(int size, qreal dpr)
{
    QImage img = Blank(size, dpr);
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

QImage Chest(int size, qreal dpr)
{
    QImage img = Blank(size, dpr);
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

QImage Paw(int size, qreal dpr)
{
    QImage img = Blank(size, dpr);
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

QImage DrawAt(Marker marker, qreal dpr)
{
    switch (marker) {
    case Marker::CollArmi:
        return Sword(kCollectorMarkerSize, QColor(118, 156, 218), QColor(36, 62, 120), dpr);
    case Marker::CollArmature:
        return Shield(kCollectorMarkerSize, QColor(176, 150, 222), QColor(70, 44, 120), dpr);
    case Marker::GreenMarker:
        return GreenDiamond(kGreenMarkerSize, dpr);
    case Marker::Note:
        return NotePaper(kNoteMarkerSize, dpr);
    case Marker::Treasure:
        return Chest(kTreasureMarkerSize, dpr);
    case Marker::Pet:
        return Paw(kPetMarkerSize, dpr);
    }
    return {};
}

// The large marker of each kind: a shield for collectors, a diamond for
// green items, a hexagon for chests, a circle for pets (elite bosses get a
// square box with letters from the marker painter); notes keep their sheet.
QImage DrawLarge(Marker marker, qreal dpr)
{
    using mapview::LargeMarkerSide;
    using mapview::MarkerKind;
    switch (marker) {
    case Marker::CollArmi:
        return LargeCollector(false, QColor(118, 156, 218), QColor(36, 62, 120), dpr);
    case Marker::CollArmature:
        return LargeCollector(true, QColor(176, 150, 222), QColor(70, 44, 120), dpr);
    case Marker::GreenMarker:
        return GreenDiamond(LargeMarkerSide(MarkerKind::GreenItem), dpr);
    case Marker::Treasure:
        return LargeChest(dpr);
    case Marker::Pet:
        return Paw(LargeMarkerSide(MarkerKind::Pet), dpr);
    case Marker::Note:
        break;
    }
    return DrawAt(marker, dpr);
}

struct Pictures {
    std::array<QImage, MarkerCount> images;
    std::array<QImage, MarkerCount> large;
    explicit Pictures(qreal ratio)
    {
        for (int i = 0; i < MarkerCount; ++i) {
            images[static_cast<std::size_t>(i)] = DrawAt(static_cast<Marker>(i), ratio);
            large[static_cast<std::size_t>(i)] = DrawLarge(static_cast<Marker>(i), ratio);
        }
    }
};

} // namespace

const QImage& Picture(Marker marker, bool large, qreal ratio)
{
    static const Pictures pictures(1.0);
    // The interface thread draws the map: other ratios (a HiDPI screen or
    // two) are drawn once and kept.
    static std::map<qreal, Pictures> others;
    const Pictures* set = &pictures;
    if (ratio > 0 && ratio != 1.0)
        set = &others.try_emplace(ratio, ratio).first->second;
    return (large ? set->large : set->images)[static_cast<std::size_t>(marker)];
}

QImage Draw(Marker marker, qreal devicePixelRatio)
{
    return DrawAt(marker, devicePixelRatio > 0 ? devicePixelRatio : 1.0);
}

QSize Size(Marker marker)
{
    return Picture(marker).size();
}

void BlitIcon(QImage& target, const QImage& icon, int left, int top)
{
    if (target.devicePixelRatio() != 1.0 || icon.devicePixelRatio() != 1.0) {
        // A picture of the target's own resolution, placed in logical pixels.
        QPainter p(&target);
        p.drawImage(QPoint(left, top), icon);
        return;
    }
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

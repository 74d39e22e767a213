#include "mapview/LayerMarkers.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace mapview {

namespace {

const QColor kRim(28, 22, 16);

// A round badge with a symbol: the collectors' markers.
void Badge(QPainter& p, const QColor& light, const QColor& dark)
{
    QRadialGradient g(QPointF(5.2, 4.6), 7.5);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.setPen(QPen(kRim, 1.0));
    p.setBrush(g);
    p.drawEllipse(QRectF(0.5, 0.5, 12.0, 12.0));
}

void DrawGreen(QPainter& p)
{
    // A cut emerald.
    QPainterPath gem;
    gem.moveTo(6.5, 0.8);
    gem.lineTo(12.2, 5.0);
    gem.lineTo(6.5, 12.2);
    gem.lineTo(0.8, 5.0);
    gem.closeSubpath();
    QLinearGradient g(0, 0, 0, 13);
    g.setColorAt(0, QColor(170, 255, 170));
    g.setColorAt(0.45, QColor(40, 200, 70));
    g.setColorAt(1, QColor(10, 96, 34));
    p.setPen(QPen(QColor(8, 48, 16), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(gem);
    p.setPen(QPen(QColor(230, 255, 230, 200), 0.8));
    p.drawLine(QPointF(3.2, 5.0), QPointF(9.8, 5.0));
    p.drawLine(QPointF(6.5, 2.2), QPointF(4.6, 5.0));
}

void DrawWeapons(QPainter& p)
{
    Badge(p, QColor(182, 208, 246), QColor(52, 88, 150));
    // A sword pointing up.
    p.setPen(QPen(kRim, 0.8));
    p.setBrush(QColor(255, 250, 236));
    QPainterPath blade;
    blade.moveTo(6.5, 2.0);
    blade.lineTo(7.6, 3.4);
    blade.lineTo(7.6, 8.2);
    blade.lineTo(5.4, 8.2);
    blade.lineTo(5.4, 3.4);
    blade.closeSubpath();
    p.drawPath(blade);
    p.setBrush(QColor(255, 219, 93));
    p.drawRect(QRectF(3.6, 8.2, 5.8, 1.3));
    p.drawRect(QRectF(5.9, 9.5, 1.2, 1.9));
}

void DrawArmour(QPainter& p)
{
    Badge(p, QColor(246, 204, 170), QColor(150, 74, 34));
    // A shield.
    QPainterPath shield;
    shield.moveTo(3.3, 3.0);
    shield.quadTo(6.5, 2.0, 9.7, 3.0);
    shield.lineTo(9.7, 6.4);
    shield.quadTo(9.4, 9.4, 6.5, 10.9);
    shield.quadTo(3.6, 9.4, 3.3, 6.4);
    shield.closeSubpath();
    p.setPen(QPen(kRim, 0.8));
    p.setBrush(QColor(255, 250, 236));
    p.drawPath(shield);
    p.setPen(QPen(QColor(150, 74, 34), 1.0));
    p.drawLine(QPointF(6.5, 3.4), QPointF(6.5, 9.8));
}

void DrawNote(QPainter& p)
{
    // A pinned sheet with a folded corner.
    QPainterPath sheet;
    sheet.moveTo(1.5, 1.5);
    sheet.lineTo(10.0, 1.5);
    sheet.lineTo(13.5, 5.0);
    sheet.lineTo(13.5, 13.5);
    sheet.lineTo(1.5, 13.5);
    sheet.closeSubpath();
    p.setPen(QPen(kRim, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(QColor(255, 240, 160));
    p.drawPath(sheet);
    QPainterPath fold;
    fold.moveTo(10.0, 1.5);
    fold.lineTo(10.0, 5.0);
    fold.lineTo(13.5, 5.0);
    p.setBrush(QColor(220, 196, 110));
    p.drawPath(fold);
    p.setPen(QPen(QColor(120, 100, 60), 1.0));
    for (double y : {6.5, 8.8, 11.1})
        p.drawLine(QPointF(3.5, y), QPointF(y < 7 ? 8.5 : 11.5, y));
}

void DrawTreasure(QPainter& p)
{
    // A chest with a domed lid, iron bands and a golden lock.
    p.setPen(QPen(kRim, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    QLinearGradient wood(0, 0, 0, 15);
    wood.setColorAt(0, QColor(196, 120, 56));
    wood.setColorAt(1, QColor(110, 58, 22));
    p.setBrush(wood);
    QPainterPath lid;
    lid.moveTo(1.5, 7.0);
    lid.lineTo(1.5, 5.0);
    lid.quadTo(7.5, 0.5, 13.5, 5.0);
    lid.lineTo(13.5, 7.0);
    lid.closeSubpath();
    p.drawPath(lid);
    p.drawRect(QRectF(1.5, 7.0, 12.0, 6.5));
    p.setPen(QPen(QColor(70, 60, 56), 1.0));
    p.drawLine(QPointF(4.5, 4.0), QPointF(4.5, 13.0));
    p.drawLine(QPointF(10.5, 4.0), QPointF(10.5, 13.0));
    p.setPen(QPen(kRim, 0.8));
    p.setBrush(QColor(255, 219, 93));
    p.drawRect(QRectF(6.0, 6.0, 3.0, 3.5));
}

} // namespace

QSize LayerMarkerSize(LayerMarker marker)
{
    switch (marker) {
    case LayerMarker::Note:
    case LayerMarker::Treasure:
        return {15, 15};
    default:
        return {13, 13};
    }
}

QImage DrawLayerMarker(LayerMarker marker, qreal devicePixelRatio)
{
    const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QSize size = LayerMarkerSize(marker);
    QImage img(qRound(size.width() * dpr), qRound(size.height() * dpr), QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    switch (marker) {
    case LayerMarker::Green: DrawGreen(p); break;
    case LayerMarker::WeaponsCollector: DrawWeapons(p); break;
    case LayerMarker::ArmourCollector: DrawArmour(p); break;
    case LayerMarker::Note: DrawNote(p); break;
    case LayerMarker::Treasure: DrawTreasure(p); break;
    }
    return img;
}

const QImage& LayerMarkerPicture(LayerMarker marker)
{
    static const std::array<QImage, LayerMarkerCount> pictures = [] {
        std::array<QImage, LayerMarkerCount> all;
        for (int i = 0; i < LayerMarkerCount; ++i)
            all[static_cast<std::size_t>(i)] = DrawLayerMarker(static_cast<LayerMarker>(i), 1.0);
        return all;
    }();
    return pictures[static_cast<std::size_t>(marker)];
}

} // namespace mapview

#include "mapview/MapResources.h"

#include "mapview/MapGeometry.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace mapview {

namespace {

// Icon sizes, twice the anchor distances of the campaign that owns the set, so
// that the anchor falls in the middle of the picture.
struct IconSize {
    int w, h;
};
constexpr IconSize kOutpost[4] = {{0, 0}, {22, 24}, {36, 42}, {38, 38}};
constexpr IconSize kMission[4] = {{0, 0}, {32, 48}, {46, 48}, {64, 62}};
constexpr IconSize kTown[4] = {{0, 0}, {32, 36}, {60, 52}, {62, 62}};
constexpr IconSize kChallenge[4] = {{0, 0}, {32, 32}, {44, 52}, {60, 68}};
constexpr IconSize kVanquish = {24, 30};
constexpr IconSize kDungeon = {30, 26};

// Body colours of the three icon sets: amber, jade, terracotta.
struct Palette {
    QColor light, dark;
};
const Palette kSetPalette[4] = {
    {QColor(200, 200, 200), QColor(90, 90, 90)},
    {QColor(246, 200, 92), QColor(150, 96, 22)},
    {QColor(104, 210, 176), QColor(22, 104, 86)},
    {QColor(236, 136, 88), QColor(128, 44, 22)},
};
const QColor kRim(28, 22, 16);
const QColor kSymbol(255, 248, 228);

QImage Blank(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void Prepare(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
}

// Shadow, gradient body and rim of an emblem outline.
void Emblem(QPainter& p, const QPainterPath& shape, const Palette& pal)
{
    const QRectF r = shape.boundingRect();
    p.save();
    p.translate(0.8, 1.2);
    p.fillPath(shape, QColor(0, 0, 0, 90));
    p.restore();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, pal.light.lighter(115));
    g.setColorAt(0.55, pal.light);
    g.setColorAt(1.0, pal.dark);
    p.fillPath(shape, g);
    p.setPen(QPen(kRim, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    // A thin highlight inside the rim gives the emblem some depth.
    p.save();
    p.setClipPath(shape);
    p.setPen(QPen(QColor(255, 255, 255, 80), 1.0));
    p.drawPath(shape.translated(0, 1));
    p.restore();
}

// The square in the middle of the body where the symbol goes.
QRectF SymbolBox(const QRectF& body, double share)
{
    const double s = std::min(body.width(), body.height()) * share;
    return QRectF(body.center().x() - s / 2, body.center().y() - s / 2, s, s);
}

// Draws a symbol path twice: a dark outline, then the light fill.
void Symbol(QPainter& p, const QPainterPath& path)
{
    p.setPen(QPen(kRim, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kSymbol);
    p.drawPath(path);
}

QPainterPath ShieldPath(const QRectF& r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top() + r.height() * 0.08);
    path.quadTo(r.center().x(), r.top() - r.height() * 0.04, r.right(), r.top() + r.height() * 0.08);
    path.lineTo(r.right(), r.top() + r.height() * 0.5);
    path.quadTo(r.right(), r.bottom() - r.height() * 0.18, r.center().x(), r.bottom());
    path.quadTo(r.left(), r.bottom() - r.height() * 0.18, r.left(), r.top() + r.height() * 0.5);
    path.closeSubpath();
    return path;
}

QPainterPath CastlePath(const QRectF& s)
{
    // Three towers with battlements and a gate.
    const double u = s.width() / 10.0;
    QPainterPath path;
    path.moveTo(s.left(), s.bottom());
    path.lineTo(s.left(), s.top() + 2 * u);
    path.lineTo(s.left() + u, s.top() + 2 * u);
    path.lineTo(s.left() + u, s.top() + 3 * u);
    path.lineTo(s.left() + 2 * u, s.top() + 3 * u);
    path.lineTo(s.left() + 2 * u, s.top() + 2 * u);
    path.lineTo(s.left() + 3 * u, s.top() + 2 * u);
    path.lineTo(s.left() + 3 * u, s.top() + 4 * u);
    path.lineTo(s.left() + 4 * u, s.top() + 4 * u);
    path.lineTo(s.left() + 4 * u, s.top());
    path.lineTo(s.left() + 5 * u, s.top() + u);
    path.lineTo(s.left() + 6 * u, s.top());
    path.lineTo(s.left() + 6 * u, s.top() + 4 * u);
    path.lineTo(s.left() + 7 * u, s.top() + 4 * u);
    path.lineTo(s.left() + 7 * u, s.top() + 2 * u);
    path.lineTo(s.left() + 8 * u, s.top() + 2 * u);
    path.lineTo(s.left() + 8 * u, s.top() + 3 * u);
    path.lineTo(s.left() + 9 * u, s.top() + 3 * u);
    path.lineTo(s.left() + 9 * u, s.top() + 2 * u);
    path.lineTo(s.right(), s.top() + 2 * u);
    path.lineTo(s.right(), s.bottom());
    path.lineTo(s.left() + 6 * u, s.bottom());
    path.lineTo(s.left() + 6 * u, s.bottom() - 2 * u);
    path.arcTo(QRectF(s.left() + 4 * u, s.bottom() - 3 * u, 2 * u, 2 * u), 0, 180);
    path.lineTo(s.left() + 4 * u, s.bottom());
    path.closeSubpath();
    return path;
}

QPainterPath FlagPath(const QRectF& s)
{
    const double u = s.width() / 10.0;
    QPainterPath path;
    // Pole.
    path.addRect(QRectF(s.left() + 2 * u, s.top(), 1.3 * u, s.height()));
    // Pennant.
    QPainterPath flag;
    flag.moveTo(s.left() + 3.3 * u, s.top() + 0.5 * u);
    flag.cubicTo(s.left() + 6 * u, s.top() - 0.5 * u, s.left() + 7 * u, s.top() + 2 * u, s.right(), s.top() + 1.2 * u);
    flag.lineTo(s.right() - 1.5 * u, s.top() + 3.2 * u);
    flag.lineTo(s.right(), s.top() + 5.2 * u);
    flag.cubicTo(s.left() + 7 * u, s.top() + 6 * u, s.left() + 6 * u, s.top() + 3.5 * u, s.left() + 3.3 * u,
                 s.top() + 4.5 * u);
    flag.closeSubpath();
    path.addPath(flag);
    // Base mound.
    path.addEllipse(QRectF(s.left(), s.bottom() - 1.4 * u, 5.5 * u, 1.6 * u));
    return path.simplified();
}

QPainterPath SwordsPath(const QRectF& s)
{
    // Two crossed blades with guards.
    QPainterPath blade;
    const double w = s.width();
    blade.moveTo(0, -0.5 * w);
    blade.lineTo(0.07 * w, -0.38 * w);
    blade.lineTo(0.07 * w, 0.22 * w);
    blade.lineTo(0.2 * w, 0.22 * w);
    blade.lineTo(0.2 * w, 0.3 * w);
    blade.lineTo(0.06 * w, 0.3 * w);
    blade.lineTo(0.06 * w, 0.48 * w);
    blade.lineTo(-0.06 * w, 0.48 * w);
    blade.lineTo(-0.06 * w, 0.3 * w);
    blade.lineTo(-0.2 * w, 0.3 * w);
    blade.lineTo(-0.2 * w, 0.22 * w);
    blade.lineTo(-0.07 * w, 0.22 * w);
    blade.lineTo(-0.07 * w, -0.38 * w);
    blade.closeSubpath();
    QTransform t1;
    t1.translate(s.center().x(), s.center().y());
    t1.rotate(40);
    QTransform t2;
    t2.translate(s.center().x(), s.center().y());
    t2.rotate(-40);
    QPainterPath both = t1.map(blade);
    both.addPath(t2.map(blade));
    both.setFillRule(Qt::WindingFill);
    return both.simplified();
}

QPainterPath StarPath(const QRectF& s, int points = 5, double inner = 0.45)
{
    QPainterPath path;
    const QPointF c = s.center();
    const double ro = s.width() / 2;
    const double ri = ro * inner;
    for (int i = 0; i < points * 2; ++i) {
        const double a = -M_PI / 2 + i * M_PI / points;
        const double r = (i % 2) ? ri : ro;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

QPainterPath PolygonPath(const QRectF& r, int corners, double rotationDeg)
{
    QPainterPath path;
    const QPointF c = r.center();
    for (int i = 0; i < corners; ++i) {
        const double a = (rotationDeg + 360.0 * i / corners) * M_PI / 180.0;
        const QPointF pt(c.x() + r.width() / 2 * std::cos(a), c.y() + r.height() / 2 * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

QRectF Body(int w, int h)
{
    // Room for the rim and the shadow.
    return QRectF(1.2, 1.0, w - 3.0, h - 3.0);
}

// An emblem: the body outline `shape` of the icon box with `symbol` drawn in
// the square of `share` of the body's smaller side, raised by `lift` of its
// height.
template <typename Shape, typename SymbolPath>
QImage MakeEmblem(IconSize size, const Palette& pal, Shape shape, SymbolPath symbol, double share, double lift = 0.0)
{
    QImage img = Blank(size.w, size.h);
    QPainter p(&img);
    Prepare(p);
    const QRectF body = Body(size.w, size.h);
    Emblem(p, shape(body), pal);
    QRectF box = SymbolBox(body, share);
    box.moveTop(box.top() - body.height() * lift);
    Symbol(p, symbol(box));
    return img;
}

QPainterPath RoundedBadgePath(const QRectF& r)
{
    QPainterPath path;
    path.addRoundedRect(r, r.width() * 0.22, r.width() * 0.22);
    return path;
}

QPainterPath EllipsePath(const QRectF& r)
{
    QPainterPath path;
    path.addEllipse(r);
    return path;
}

QPainterPath HexagonPath(const QRectF& r)
{
    return PolygonPath(r, 6, -90);
}

QPainterPath FivePointStar(const QRectF& r)
{
    return StarPath(r);
}

QImage MakeVanquish()
{
    // Open area with foes to clear: a slate pin with a skull.
    const Palette pal{QColor(170, 176, 190), QColor(58, 62, 78)};
    QImage img = Blank(kVanquish.w, kVanquish.h);
    QPainter p(&img);
    Prepare(p);
    const QRectF body = Body(kVanquish.w, kVanquish.h);
    // A map pin: round head, point at the bottom.
    const double r = body.width() / 2;
    QPainterPath pin;
    pin.moveTo(body.center().x(), body.bottom());
    pin.arcTo(QRectF(body.left(), body.top(), body.width(), body.width()), 220, -260);
    pin.closeSubpath();
    Emblem(p, pin, pal);
    const QPointF c(body.center().x(), body.top() + r);
    QPainterPath skull;
    skull.addEllipse(QRectF(c.x() - r * 0.55, c.y() - r * 0.62, r * 1.1, r * 0.95));
    skull.addRoundedRect(QRectF(c.x() - r * 0.32, c.y() + 0.1 * r, r * 0.64, r * 0.45), 1.5, 1.5);
    skull.setFillRule(Qt::WindingFill);
    Symbol(p, skull.simplified());
    p.setPen(Qt::NoPen);
    p.setBrush(kRim);
    p.drawEllipse(QPointF(c.x() - r * 0.24, c.y() - r * 0.12), r * 0.16, r * 0.18);
    p.drawEllipse(QPointF(c.x() + r * 0.24, c.y() - r * 0.12), r * 0.16, r * 0.18);
    return img;
}

QImage MakeDungeon()
{
    // A stone arch over dark steps.
    const Palette pal{QColor(168, 150, 128), QColor(74, 60, 48)};
    QImage img = Blank(kDungeon.w, kDungeon.h);
    QPainter p(&img);
    Prepare(p);
    const QRectF body = Body(kDungeon.w, kDungeon.h);
    QPainterPath arch;
    arch.moveTo(body.left(), body.bottom());
    arch.lineTo(body.left(), body.top() + body.height() * 0.45);
    arch.arcTo(QRectF(body.left(), body.top(), body.width(), body.height() * 0.9), 180, -180);
    arch.lineTo(body.right(), body.bottom());
    arch.closeSubpath();
    Emblem(p, arch, pal);
    const QRectF door(body.left() + body.width() * 0.28, body.top() + body.height() * 0.3, body.width() * 0.44,
                      body.height() * 0.7);
    QPainterPath opening;
    opening.moveTo(door.left(), door.bottom());
    opening.lineTo(door.left(), door.top() + door.width() / 2);
    opening.arcTo(QRectF(door.left(), door.top(), door.width(), door.width()), 180, -180);
    opening.lineTo(door.right(), door.bottom());
    opening.closeSubpath();
    QLinearGradient g(door.topLeft(), door.bottomLeft());
    g.setColorAt(0, QColor(10, 8, 6));
    g.setColorAt(1, QColor(60, 44, 30));
    p.setPen(QPen(kRim, 1.0));
    p.setBrush(g);
    p.drawPath(opening);
    p.setPen(QPen(QColor(200, 180, 150, 200), 1.0));
    for (int i = 1; i <= 3; ++i) {
        const double y = door.bottom() - i * door.height() / 7.0;
        const double inset = i * door.width() / 10.0;
        p.drawLine(QPointF(door.left() + inset, y), QPointF(door.right() - inset, y));
    }
    return img;
}

// A bright ring with four ticks, on a dark halo, for the blinking selection;
// the large one circles the large markers.
QImage MakeSelection(const QColor& colour, bool large)
{
    const int size = FlashFrameSide(large);
    const double ring = large ? 17.0 : 9.5, tick = large ? 21.2 : 13.2;
    QImage img = Blank(size, size);
    QPainter p(&img);
    Prepare(p);
    const QPointF c(size / 2.0, size / 2.0);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 0, 0, 170), 4.2));
    p.drawEllipse(c, ring, ring);
    p.setPen(QPen(colour, 2.2));
    p.drawEllipse(c, ring, ring);
    for (int i = 0; i < 4; ++i) {
        const double a = i * M_PI / 2;
        const QPointF in(c.x() + ring * std::cos(a), c.y() + ring * std::sin(a));
        const QPointF out(c.x() + tick * std::cos(a), c.y() + tick * std::sin(a));
        p.setPen(QPen(QColor(0, 0, 0, 170), 3.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(in, out);
        p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(in, out);
    }
    return img;
}

QImage MakeCost(CostIcon icon)
{
    const int size = 15;
    QImage img = Blank(size, size);
    QPainter p(&img);
    Prepare(p);
    const QRectF r(1, 1, size - 2, size - 2);
    const QPointF c = r.center();
    switch (icon) {
    case CostIcon::Upkeep: {
        // A circling arrow on green.
        QRadialGradient g(c - QPointF(2, 2), 8);
        g.setColorAt(0, QColor(150, 230, 140));
        g.setColorAt(1, QColor(40, 120, 40));
        p.setPen(QPen(kRim, 1));
        p.setBrush(g);
        p.drawEllipse(r);
        p.setPen(QPen(kSymbol, 1.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(r.adjusted(3, 3, -3, -3), 30 * 16, 280 * 16);
        QPainterPath head;
        head.moveTo(c.x() + 3.9, c.y() - 4.2);
        head.lineTo(c.x() + 4.6, c.y() - 0.6);
        head.lineTo(c.x() + 1.2, c.y() - 1.8);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(kSymbol);
        p.drawPath(head);
        break;
    }
    case CostIcon::Adrenaline: {
        // A red drop.
        QPainterPath drop;
        drop.moveTo(c.x(), r.top());
        drop.cubicTo(c.x() + 2, r.top() + 4, r.right(), r.top() + 6, r.right() - 0.5, r.bottom() - 4);
        drop.arcTo(QRectF(r.left() + 1.5, r.bottom() - 9, r.width() - 3, 9), 0, -180);
        drop.cubicTo(r.left() + 1, r.top() + 6, c.x() - 2, r.top() + 4, c.x(), r.top());
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(255, 120, 110));
        g.setColorAt(1, QColor(150, 10, 10));
        p.setPen(QPen(kRim, 1));
        p.setBrush(g);
        p.drawPath(drop);
        break;
    }
    case CostIcon::Energy: {
        // A blue orb with a shine.
        QRadialGradient g(c - QPointF(2, 2.5), 8);
        g.setColorAt(0, QColor(190, 225, 255));
        g.setColorAt(0.5, QColor(70, 140, 235));
        g.setColorAt(1, QColor(18, 50, 140));
        p.setPen(QPen(kRim, 1));
        p.setBrush(g);
        p.drawEllipse(r);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 170));
        p.drawEllipse(QRectF(c.x() - 3.6, c.y() - 4.2, 3.2, 2.4));
        break;
    }
    case CostIcon::Cast: {
        // An hourglass.
        QPainterPath glass;
        glass.moveTo(r.left() + 2, r.top() + 1);
        glass.lineTo(r.right() - 2, r.top() + 1);
        glass.lineTo(c.x() + 0.8, c.y());
        glass.lineTo(r.right() - 2, r.bottom() - 1);
        glass.lineTo(r.left() + 2, r.bottom() - 1);
        glass.lineTo(c.x() - 0.8, c.y());
        glass.closeSubpath();
        p.setPen(QPen(kRim, 1));
        p.setBrush(QColor(250, 236, 196));
        p.drawPath(glass);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(214, 160, 60));
        QPainterPath sand;
        sand.moveTo(c.x(), c.y() + 1);
        sand.lineTo(r.right() - 3, r.bottom() - 1.5);
        sand.lineTo(r.left() + 3, r.bottom() - 1.5);
        sand.closeSubpath();
        p.drawPath(sand);
        p.setPen(QPen(QColor(110, 70, 30), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(r.left() + 1, r.top() + 0.8), QPointF(r.right() - 1, r.top() + 0.8));
        p.drawLine(QPointF(r.left() + 1, r.bottom() - 0.8), QPointF(r.right() - 1, r.bottom() - 0.8));
        break;
    }
    case CostIcon::Recharge: {
        // A clock face.
        QRadialGradient g(c - QPointF(2, 2), 9);
        g.setColorAt(0, QColor(255, 255, 255));
        g.setColorAt(1, QColor(190, 196, 210));
        p.setPen(QPen(kRim, 1.1));
        p.setBrush(g);
        p.drawEllipse(r);
        p.setPen(QPen(kRim, 1.3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c, QPointF(c.x(), r.top() + 3));
        p.drawLine(c, QPointF(c.x() + 3, c.y() + 1.5));
        break;
    }
    }
    return img;
}

// An open or closed hand, white with a dark outline, 32 x 32.
QImage MakeHand(bool closed)
{
    const int size = 32;
    QImage img = Blank(size, size);
    QPainter p(&img);
    Prepare(p);
    QPainterPath hand;
    hand.setFillRule(Qt::WindingFill);
    const double fingerTop = closed ? 11.0 : 4.0;
    const double fingerX[4] = {9.0, 13.0, 17.0, 21.0};
    const double fingerLift[4] = {2.0, 0.0, 0.5, 3.0};
    for (int i = 0; i < 4; ++i) {
        const double top = fingerTop + (closed ? 0.0 : fingerLift[i]);
        hand.addRoundedRect(QRectF(fingerX[i], top, 4.0, 17.0 - top + 2.0), 2.0, 2.0);
    }
    hand.addRoundedRect(QRectF(8.0, 13.0, 17.5, 13.0), 5.0, 5.0);
    // Thumb.
    QPainterPath thumb;
    if (closed) {
        thumb.addRoundedRect(QRectF(5.0, 14.0, 7.0, 4.2), 2.0, 2.0);
    } else {
        QTransform t;
        t.translate(8.5, 18.5);
        t.rotate(-40);
        QPainterPath raw;
        raw.addRoundedRect(QRectF(-2.0, -9.0, 4.2, 10.0), 2.0, 2.0);
        thumb = t.map(raw);
    }
    hand.addPath(thumb);
    hand = hand.simplified();
    p.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    // Knuckle lines.
    p.setPen(QPen(QColor(90, 90, 90), 0.9));
    for (int i = 1; i < 4; ++i)
        p.drawLine(QPointF(fingerX[i], closed ? 12.5 : 12.0), QPointF(fingerX[i], closed ? 16.0 : 14.5));
    return img;
}

} // namespace

const MapResources& MapResources::Get()
{
    static const MapResources resources;
    return resources;
}

MapResources::MapResources()
{
    for (int set = 1; set <= ZoneIconSets; ++set) {
        const Palette& pal = kSetPalette[set];
        m_zone[set][2] = MakeEmblem(kOutpost[set], pal, EllipsePath, FlagPath, 0.58);
        m_zone[set][3] = MakeEmblem(kMission[set], pal, ShieldPath, SwordsPath, 0.68, 0.04);
        m_zone[set][4] = MakeEmblem(kTown[set], pal, RoundedBadgePath, CastlePath, 0.66);
        m_zone[set][5] = MakeEmblem(kChallenge[set], pal, HexagonPath, FivePointStar, 0.62);
    }
    m_vanquish = MakeVanquish();
    m_dungeon = MakeDungeon();
    const std::array<QColor, FlashLayerCount> selection = {QColor(96, 220, 255), QColor(255, 244, 120),
                                                           QColor(120, 255, 110), QColor(255, 160, 60),
                                                           QColor(255, 110, 210)};
    for (std::size_t i = 0; i < selection.size(); ++i) {
        m_selection[i] = MakeSelection(selection[i], false);
        m_largeSelection[i] = MakeSelection(selection[i], true);
    }
    for (int i = 0; i < CostIconCount; ++i)
        m_cost[i] = MakeCost(static_cast<CostIcon>(i));
    m_hand = MakeHand(false);
    m_grab = MakeHand(true);
}

const QImage& MapResources::ZoneIcon(int kind, int iconSet) const
{
    if (kind == 1)
        return m_vanquish;
    if (kind == 6)
        return m_dungeon;
    if (kind < 2 || kind > 5 || iconSet < 1 || iconSet > ZoneIconSets)
        return m_none;
    return m_zone[iconSet][kind];
}

} // namespace mapview

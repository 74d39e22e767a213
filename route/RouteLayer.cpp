#include "route/RouteLayer.h"

#include "mapview/LabelSpace.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace route {

namespace {

const QColor kLine(250, 206, 72);
const QColor kPassed(150, 150, 150);
const QColor kShadow(24, 20, 16, 200);
const QColor kNextRing(255, 255, 255);

// Segments shorter than this get no arrow (view pixels).
constexpr double kArrowSpacing = 28.0;

QFont NumberFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setBold(true);
    return font;
}

// A small arrow head at the middle of the segment a -> b, pointing to b.
void Arrow(QPainter& p, QPointF a, QPointF b, const QColor& colour)
{
    const QPointF d = b - a;
    const double length = std::hypot(d.x(), d.y());
    if (length < kArrowSpacing)
        return;
    const QPointF u = d / length;
    const QPointF n(-u.y(), u.x());
    const QPointF tip = (a + b) / 2 + u * 4.0;
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip - u * 8.0 + n * 4.5);
    head.lineTo(tip - u * 8.0 - n * 4.5);
    head.closeSubpath();
    p.setPen(QPen(kShadow, 1.0));
    p.setBrush(colour);
    p.drawPath(head);
}

} // namespace

void RouteLayer::Draw(QImage& picTemp, const mapview::MapContext& ctx) const
{
    if (!m_view.shown)
        return;
    const std::vector<RouteStop> walk = m_view.follow.Walk();
    if (walk.empty())
        return;
    // Stops of another region (the route is planned per region) are not drawn.
    for (const RouteStop& s : walk)
        if (s.Campaign != ctx.CurrentCampaign || s.Region != ctx.CurrentRegion)
            return;
    const int next = m_view.follow.NextIndex();
    auto at = [&](QPointF map) { return QPointF(ctx.Place.At(map.toPoint())); };

    QPainter p(&picTemp);
    p.setRenderHint(QPainter::Antialiasing, true);
    // The line: passed legs grey, the legs ahead gold, each over a dark
    // shadow so that it shows on any map.
    std::vector<QPointF> points{at(m_view.follow.StartPoint())};
    for (const RouteStop& s : walk)
        points.push_back(at(QPointF(s.At)));
    for (std::size_t i = 1; i < points.size(); ++i) {
        const bool passed = next < 0 || static_cast<int>(i) - 1 < next;
        p.setPen(QPen(kShadow, 4.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(points[i - 1], points[i]);
        p.setPen(QPen(passed ? kPassed : kLine, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(points[i - 1], points[i]);
    }
    for (std::size_t i = 1; i < points.size(); ++i)
        Arrow(p, points[i - 1], points[i], next < 0 || static_cast<int>(i) - 1 < next ? kPassed : kLine);

    // The numbers, up and to the right of each stop.
    const QFont font = NumberFont();
    const QFontMetrics metrics(font);
    p.setFont(font);
    for (std::size_t i = 0; i < walk.size(); ++i) {
        const QPointF stop = points[i + 1];
        const QString number = QString::number(i + 1);
        const int w = std::max(metrics.horizontalAdvance(number) + 6, metrics.height());
        const QRect badge(QPoint(qRound(stop.x()) + 7, qRound(stop.y()) - 7 - metrics.height()),
                          QSize(w, metrics.height()));
        if (ctx.Labels && !ctx.Labels->Claim(badge))
            continue;
        const bool passed = next < 0 || static_cast<int>(i) < next;
        p.setPen(QPen(kShadow, 1.0));
        p.setBrush(passed ? kPassed : kLine);
        p.drawRoundedRect(QRectF(badge).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        p.setPen(QColor(24, 20, 16));
        p.drawText(badge, Qt::AlignCenter, number);
    }
    // The next stop ringed, switched on and off by the window's timer.
    if (next >= 0 && m_view.blinkOn) {
        const QPointF stop = points[static_cast<std::size_t>(next) + 1];
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kShadow, 4.0));
        p.drawEllipse(stop, 14.0, 14.0);
        p.setPen(QPen(kNextRing, 2.0));
        p.drawEllipse(stop, 14.0, 14.0);
    }
}

} // namespace route

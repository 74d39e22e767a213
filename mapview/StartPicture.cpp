#include "mapview/StartPicture.h"

#include "mapview/ZoneLayer.h"
#include "windows/Credits.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace mapview {

namespace {

const QColor kRim(28, 22, 16);

void PaintCompass(QPainter& p, QPointF c, double radius)
{
    const double s = radius / 44.0;
    p.setPen(QPen(QColor(255, 236, 200, 180), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 44 * s, 44 * s);
    p.drawEllipse(c, 36 * s, 36 * s);
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4 - M_PI / 2;
        const double len = ((i % 2) ? 26 : 50) * s;
        for (int side = 0; side < 2; ++side) {
            const double b = side == 0 ? a + M_PI / 2 : a - M_PI / 2;
            QPainterPath half;
            half.moveTo(c);
            half.lineTo(c.x() + 6 * s * std::cos(b), c.y() + 6 * s * std::sin(b));
            half.lineTo(c.x() + len * std::cos(a), c.y() + len * std::sin(a));
            half.closeSubpath();
            p.setPen(QPen(kRim, 1));
            if (side == 0)
                p.setBrush(i == 0 ? QColor(236, 110, 80) : QColor(250, 236, 206));
            else
                p.setBrush(i == 0 ? QColor(160, 50, 40) : QColor(176, 160, 134));
            p.drawPath(half);
        }
    }
}

} // namespace

void PaintDuskScene(QPainter& p, QSize size, bool withCompass)
{
    const int w = std::max(1, size.width());
    const int h = std::max(1, size.height());
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    // Sky from the black of the night down to the glow over the hills.
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(0, 0, 0));
    sky.setColorAt(0.45, QColor(28, 30, 62));
    sky.setColorAt(0.75, QColor(120, 70, 70));
    sky.setColorAt(1.0, QColor(236, 160, 88));
    p.fillRect(QRect(0, 0, w, h), sky);

    // Three ranges of hills in a band at the bottom, darker towards the
    // viewer; their waves are measured in pixels, so a wider view shows more
    // hills rather than stretched ones.
    const double band = std::clamp(h * 0.5, 120.0, 460.0);
    const double top = h - band;
    const QColor hills[3] = {QColor(66, 50, 76), QColor(42, 34, 54), QColor(20, 18, 28)};
    const double base[3] = {0.30, 0.52, 0.74};
    const double amp[3] = {0.22, 0.16, 0.12};
    for (int layer = 0; layer < 3; ++layer) {
        QPainterPath ridge;
        ridge.moveTo(0, h);
        for (int x = 0; x <= w + 8; x += 8) {
            const double t = x / 880.0;
            const double y =
                top + band * base[layer] -
                band * amp[layer] *
                    (0.6 * std::sin(t * (5 + layer * 2) + layer) + 0.4 * std::sin(t * (13 + layer * 3) + 2 * layer));
            ridge.lineTo(x, y);
        }
        ridge.lineTo(w + 8, h);
        ridge.closeSubpath();
        p.fillPath(ridge, hills[layer]);
    }

    // A route with waypoints across the near hills.
    const double span = std::min<double>(w, 1200);
    QPainterPath route;
    route.moveTo(0.06 * span, h - 0.07 * band);
    route.cubicTo(0.23 * span, h - 0.30 * band, 0.33 * span, h - 0.03 * band, 0.50 * span, h - 0.20 * band);
    route.cubicTo(0.64 * span, h - 0.33 * band, 0.70 * span, h - 0.13 * band, 0.86 * span, h - 0.37 * band);
    p.setPen(QPen(QColor(255, 219, 93, 210), 2.5, Qt::DashLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(route);
    for (double t : {0.0, 0.36, 0.68, 1.0}) {
        const QPointF pt = route.pointAtPercent(t);
        p.setPen(QPen(kRim, 1.2));
        p.setBrush(QColor(255, 219, 93));
        p.drawEllipse(pt, 5.0, 5.0);
        p.setBrush(kRim);
        p.drawEllipse(pt, 1.6, 1.6);
    }
    if (withCompass && w >= 560 && top > 150)
        PaintCompass(p, QPointF(w - 96, std::max(150.0, top - 10)), 44);
    p.restore();
}

void PaintStartPicture(QPainter& p, QSize size, const StartPictureTexts& texts)
{
    PaintDuskScene(p, size);
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::Antialiasing, true);

    // Title and author lines in Arial 24 points, centred at the top.
    QFont titleFont(QStringLiteral("Arial"));
    titleFont.setPixelSize(PointsToPixels(24));
    p.setFont(titleFont);
    p.setPen(QColor(255, 236, 200));
    const int lineHeight = QFontMetrics(titleFont).height();
    int y = 24;
    for (const QString& line : {texts.title, texts.author}) {
        p.drawText(QRect(0, y, size.width(), lineHeight), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, line);
        y += lineHeight;
    }
    QFont hintFont(QStringLiteral("Arial"));
    hintFont.setPixelSize(PointsToPixels(10));
    p.setFont(hintFont);
    p.setPen(QColor(200, 200, 210));
    p.drawText(QRect(8, y + 12, std::max(0, size.width() - 16), 3 * QFontMetrics(hintFont).height()),
               Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, texts.hint);

    // The credits block in the bottom-right corner, on a dark plate.
    const Credits::Placement place = Credits::PlaceCredits(size, Credits::OnStartPicture);
    const QRect plate(std::max(0, place.divider - 150), place.top - 8, size.width(), size.height());
    QLinearGradient shade(plate.left(), 0, plate.left() + 60, 0);
    shade.setColorAt(0, QColor(0, 0, 0, 0));
    shade.setColorAt(1, QColor(8, 8, 14, 150));
    p.fillRect(plate, shade);
    Credits::DrawCredits(p, size, Credits::OnStartPicture,
                         {QColor(255, 219, 93), QColor(232, 226, 212), QColor(200, 196, 188)});
    p.restore();
}

} // namespace mapview

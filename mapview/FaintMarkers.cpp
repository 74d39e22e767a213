#include "mapview/FaintMarkers.h"

#include <QColor>
#include <QtMath>

#include <cmath>

namespace mapview {

namespace {

bool Is32Bit(QImage::Format f)
{
    return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

int Towards(int kept, int drawn, double opacity)
{
    return static_cast<int>(std::lround(kept + opacity * (drawn - kept)));
}

} // namespace

FaintMarkers::FaintMarkers(QImage& picture) : m_picture(picture)
{
    if (!m_picture.isNull() && !Is32Bit(m_picture.format()))
        m_picture = m_picture.convertToFormat(QImage::Format_RGB32);
}

void FaintMarkers::Keep(const QRect& logical)
{
    // The places are kept in the picture's device pixels.
    const qreal ratio = m_picture.devicePixelRatio();
    const QRect area =
        ratio == 1.0
            ? logical
            : QRect(QPoint(qFloor(logical.left() * ratio), qFloor(logical.top() * ratio)),
                    QPoint(qCeil((logical.right() + 1) * ratio) - 1, qCeil((logical.bottom() + 1) * ratio) - 1));
    const QRect clipped = area.intersected(m_picture.rect());
    if (!clipped.isEmpty())
        m_places.push_back({clipped, m_picture.copy(clipped)});
}

void FaintMarkers::Finish(double opacity)
{
    // Latest first: a place kept over an earlier done marker blends towards
    // that marker, which its own place then blends towards the map.
    for (auto place = m_places.rbegin(); place != m_places.rend(); ++place) {
        const QRect& a = place->area;
        const QImage kept =
            place->kept.format() == m_picture.format() ? place->kept : place->kept.convertToFormat(m_picture.format());
        for (int y = 0; y < a.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(m_picture.scanLine(a.top() + y)) + a.left();
            const auto* under = reinterpret_cast<const QRgb*>(kept.constScanLine(y));
            for (int x = 0; x < a.width(); ++x) {
                const QRgb d = line[x];
                const QRgb k = under[x];
                if (d == k)
                    continue;
                line[x] = qRgba(Towards(qRed(k), qRed(d), opacity), Towards(qGreen(k), qGreen(d), opacity),
                                Towards(qBlue(k), qBlue(d), opacity), Towards(qAlpha(k), qAlpha(d), opacity));
            }
        }
    }
    m_places.clear();
}

} // namespace mapview

#include "mapview/FaintMarkers.h"

#include <QColor>

#include <cmath>
#include <cstring>

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
    m_kept = m_picture.copy();
}

void FaintMarkers::Finish(double opacity)
{
    if (m_picture.isNull() || m_picture.size() != m_kept.size())
        return;
    if (m_picture.format() != m_kept.format())
        m_kept = m_kept.convertToFormat(m_picture.format());
    for (int y = 0; y < m_picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(m_picture.scanLine(y));
        const auto* kept = reinterpret_cast<const QRgb*>(m_kept.constScanLine(y));
        if (std::memcmp(line, kept, static_cast<std::size_t>(m_picture.width()) * sizeof(QRgb)) == 0)
            continue; // most lines hold no marker
        for (int x = 0; x < m_picture.width(); ++x) {
            const QRgb d = line[x];
            const QRgb k = kept[x];
            if (d == k)
                continue;
            line[x] = qRgba(Towards(qRed(k), qRed(d), opacity), Towards(qGreen(k), qGreen(d), opacity),
                            Towards(qBlue(k), qBlue(d), opacity), Towards(qAlpha(k), qAlpha(d), opacity));
        }
    }
}

} // namespace mapview

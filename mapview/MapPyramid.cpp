#include "mapview/MapPyramid.h"

#include <algorithm>
#include <cstdint>

namespace mapview {

QImage HalvePicture(const QImage& picture)
{
    const int w = picture.width() / 2;
    const int h = picture.height() / 2;
    QImage half(w, h, picture.format());
    if (half.isNull())
        return half;
    for (int y = 0; y < h; ++y) {
        const auto* top = reinterpret_cast<const uint32_t*>(picture.constScanLine(2 * y));
        const auto* bottom = reinterpret_cast<const uint32_t*>(picture.constScanLine(2 * y + 1));
        auto* out = reinterpret_cast<uint32_t*>(half.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const uint32_t a = top[2 * x], b = top[2 * x + 1], c = bottom[2 * x], d = bottom[2 * x + 1];
            // Two channels at a time: 0x00ff00ff picks bytes 0 and 2, and the
            // sum of four bytes (at most 1020) stays within its 16 bits.
            const uint32_t even =
                (a & 0x00ff00ffU) + (b & 0x00ff00ffU) + (c & 0x00ff00ffU) + (d & 0x00ff00ffU) + 0x00020002U;
            const uint32_t odd = ((a >> 8) & 0x00ff00ffU) + ((b >> 8) & 0x00ff00ffU) + ((c >> 8) & 0x00ff00ffU) +
                                 ((d >> 8) & 0x00ff00ffU) + 0x00020002U;
            out[x] = ((even >> 2) & 0x00ff00ffU) | (((odd >> 2) & 0x00ff00ffU) << 8);
        }
    }
    return half;
}

MapPyramid::MapPyramid(const QImage& picture)
{
    if (picture.isNull())
        return;
    // Means of colour channels are right for opaque and premultiplied pixels.
    const bool ready =
        picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32_Premultiplied;
    m_levels.push_back(ready ? picture
                             : picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                                 : QImage::Format_RGB32));
    while (std::min(m_levels.back().width(), m_levels.back().height()) >= 2 * kSmallestSide)
        m_levels.push_back(HalvePicture(m_levels.back()));
}

int MapPyramid::LevelFor(double scale) const
{
    int level = 0;
    double size = 1.0;
    while (level + 1 < LevelCount() && size / 2 >= scale) {
        size /= 2;
        ++level;
    }
    return level;
}

qsizetype MapPyramid::Bytes() const
{
    qsizetype bytes = 0;
    for (const QImage& level : m_levels)
        bytes += level.sizeInBytes();
    return bytes;
}

} // namespace mapview

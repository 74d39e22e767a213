// The region picture halved again and again, for drawing it below 100 %:
// level 0 is the picture itself, each further level half the one before
// (each pixel the mean of the 2 x 2 pixels it covers), down to a side of
// kSmallestSide pixels. Built once per region, off the interface thread.
#pragma once

#include <QImage>

#include <vector>

namespace mapview {

class MapPyramid {
public:
    static constexpr int kSmallestSide = 64;

    MapPyramid() = default;
    // Builds every level from `picture` (converted to 32-bit RGB, or to
    // premultiplied ARGB when it has an alpha channel, first).
    explicit MapPyramid(const QImage& picture);

    bool IsEmpty() const { return m_levels.empty(); }
    int LevelCount() const { return static_cast<int>(m_levels.size()); }
    const QImage& Level(int k) const { return m_levels[static_cast<std::size_t>(k)]; }
    // The smallest level still at least as large as the picture drawn at
    // `scale` (level 0 from the scale 1 up), so that scaling it down to the
    // view loses nothing and costs little.
    int LevelFor(double scale) const;
    // The memory the levels hold, in bytes.
    qsizetype Bytes() const;

private:
    std::vector<QImage> m_levels;
};

// `picture` (32-bit RGB or ARGB, premultiplied or opaque) halved: each pixel
// the rounded mean of the 2 x 2 it covers; an odd last row or column is
// dropped.
QImage HalvePicture(const QImage& picture);

} // namespace mapview

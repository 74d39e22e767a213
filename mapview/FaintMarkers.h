// Markers of things already done, drawn faintly: before each done marker is
// drawn, the picture under the place it takes is kept, and afterwards every
// pixel the markers changed there is blended back towards it, so a done
// marker shows at a fixed opacity over the map whatever its shape, size or
// way of drawing. Only the kept places are copied and compared, not the map.
#pragma once

#include <QImage>
#include <QRect>

#include <vector>

namespace mapview {

// How strongly a done marker shows over the map (the rest is the map).
inline constexpr double kDoneOpacity = 0.35;

class FaintMarkers {
public:
    // `picture` (32-bit; others are converted first) must stay alive until
    // Finish.
    explicit FaintMarkers(QImage& picture);

    // Keeps the picture under `area` (clipped to the picture), where the next
    // marker is drawn.
    void Keep(const QRect& area);

    // Every pixel of the kept places changed since it was kept becomes
    // kept + opacity x (drawn - kept), per colour channel, rounded.
    void Finish(double opacity = kDoneOpacity);

private:
    struct Place {
        QRect area;
        QImage kept;
    };
    QImage& m_picture;
    std::vector<Place> m_places;
};

} // namespace mapview

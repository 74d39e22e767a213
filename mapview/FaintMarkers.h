// Markers of things already done, drawn faintly: the picture under them is
// kept before they are drawn, and afterwards every pixel they changed is
// blended back towards it, so a done marker shows at a fixed opacity over the
// map whatever its shape, size or way of drawing.
#pragma once

#include <QImage>

namespace mapview {

// How strongly a done marker shows over the map (the rest is the map).
inline constexpr double kDoneOpacity = 0.35;

class FaintMarkers {
public:
    // Keeps a copy of `picture` (32-bit; others are converted first), which
    // must stay alive until Finish.
    explicit FaintMarkers(QImage& picture);

    // Every pixel changed since the copy becomes kept + opacity x (drawn -
    // kept), per colour channel, rounded.
    void Finish(double opacity = kDoneOpacity);

private:
    QImage& m_picture;
    QImage m_kept;
};

} // namespace mapview

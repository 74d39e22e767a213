// The marker pictures of the collectibles layers and the fast copy that puts
// them on the drawing buffer. Each picture is exactly as large as its layer's
// marker rectangle (collectors and green markers 13 x 13, the X-6 .. X+6 of
// their data; notes, chests and pets 15 x 15, X-7 .. X+7), so the pixels
// drawn and the pixels that answer the pointer are the same.
#pragma once

#include <QImage>
#include <QRect>

namespace layermarkers {

inline constexpr int kCollectorMarkerSize = 13;
inline constexpr int kGreenMarkerSize = 13;
inline constexpr int kNoteMarkerSize = 15;
inline constexpr int kTreasureMarkerSize = 15;
inline constexpr int kPetMarkerSize = 15;

enum class Marker { CollArmi, CollArmature, GreenMarker, Note, Treasure, Pet };
inline constexpr int MarkerCount = 6;

// The picture of a marker (premultiplied ARGB, fully transparent outside the
// emblem); built once, needs no window system. `large`: the marker of the
// "Large, clear markers" switch, a shape of its own per kind, as large as
// the kind's large side (notes keep their picture). `ratio`: drawn at that
// many device pixels per picture pixel, for a HiDPI view.
const QImage& Picture(Marker marker, bool large = false, qreal ratio = 1.0);

// The same drawing at `devicePixelRatio` device pixels per picture pixel, for
// the legend on a HiDPI screen; its logical size is Size(marker).
QImage Draw(Marker marker, qreal devicePixelRatio);

// Size of a marker picture in map pixels.
QSize Size(Marker marker);

// Copies `icon` (premultiplied ARGB) onto the 32-bit `target` with its
// top-left corner at (left, top), blending by alpha; clipped to the target.
void BlitIcon(QImage& target, const QImage& icon, int left, int top);

} // namespace layermarkers

// The marker pictures of the collectible layers: the green item under a boss,
// the weapons and armour collectors, the player's notes and the treasure
// chests. The map copies them at one picture pixel per map pixel; the legend
// shows the same drawings at the screen's pixel ratio.
#pragma once

#include <QImage>

namespace mapview {

enum class LayerMarker { Green, WeaponsCollector, ArmourCollector, Note, Treasure };
inline constexpr int LayerMarkerCount = 5;

// Size of a marker picture in map pixels: 13 x 13 for the pictures drawn on
// a boss's or collector's marker rectangle (X - 6 .. X + 6), 15 x 15 for
// notes and chests (X - 7 .. X + 7).
QSize LayerMarkerSize(LayerMarker marker);

// The picture for the map buffer (drawn once, transparent around the symbol).
const QImage& LayerMarkerPicture(LayerMarker marker);

// The same drawing at `devicePixelRatio` device pixels per picture pixel.
QImage DrawLayerMarker(LayerMarker marker, qreal devicePixelRatio);

} // namespace mapview

// The green items layer of the map: for every listed item of the map shown,
// a green bar under its boss's elite marker when that marker is shown, a
// green marker at the boss's place otherwise. Greens do not answer the
// pointer; the selected item's boss place blinks.
#pragma once

#include "mapview/MapLayer.h"

#include <QColor>

namespace greenlayer {

// Pure green of the markers and bars.
inline const QColor kGreen(0, 255, 0);

enum class GreenMark { None, Marker, Bar };

// How item `green` is drawn: a bar when the elite layer is shown and either
// the boss carries no elite skill or its skill is listed in lstElite; a
// marker otherwise; none when unlinked.
GreenMark GreenMarkOf(const World& world, const PanelState& panel, int green);

// Draws the lstGreens entries whose boss place lies in campaign c, region r
// (and the chosen zone) and drops at least one item: marker at the place's
// (Left, Top), or bar from (Left, Bottom) to (Right, Bottom + 3), edges
// included, filled green with a black rim.
void DrawGreens(QImage& picTemp, const World& world, const PanelState& panel, int c, int r,
                const mapview::MarkerPlacement& place = {});

class GreenLayer : public mapview::MapLayer {
public:
    void Draw(QImage& picTemp, const mapview::MapContext& ctx) const override;
    std::optional<QPoint> SelectionPosition(const mapview::MapContext& ctx) const override;
};

} // namespace greenlayer

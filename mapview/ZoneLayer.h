// Drawing of the zones layer: label boxes worked out once, icons and names
// drawn on the map. (The zone filter entries of the control panel are
// modPanelLists::FillZoneList.)
#pragma once

#include "core/modCampaigns.h"
#include "mapview/MapLayer.h"

#include <QFont>

namespace modZones {
class ZoneIconAnchorTable;
}

namespace mapview {

// Pixel size of a font given in points on a 96-dpi screen (as the map's
// fonts are specified): 8 pt -> 11 px, 10 pt -> 13 px, 24 pt -> 32 px.
int PointsToPixels(int points);

// The zone label font: Arial, bold, 10 points.
QFont ZoneLabelFont();

// Icon set of a campaign: campaigns 1..3 have their own, campaign 4 borrows
// set 1; 0 for campaigns without one.
int ZoneIconSet(int campaign);

// Sets the LabelBox of every zone of every region. The box is half-open:
// left() .. left() + width() - 1, so left() + width() is the box's right edge.
void ComputeZoneLabelBoxes(CampaignTable& campaigns, const modZones::ZoneIconAnchorTable& anchors);

// Draws icon and name of every zone of campaign c, region r (nothing when
// r < 1 or the region does not exist); zoomed, each where `place` puts it,
// and a name is left out when `labels` has no room for it.
void DrawZones(QPainter& picTemp, const CampaignTable& campaigns, const modZones::ZoneIconAnchorTable& anchors, int c,
               int r, const MarkerPlacement& place = {}, LabelSpace* labels = nullptr);

class ZoneLayer : public MapLayer {
public:
    void Draw(QImage& picTemp, const MapContext& ctx) const override;
};

} // namespace mapview

// The collectors layer of the map: a 13 x 13 icon (armour or weapons) for
// every listed collector of the map shown, the look-up of the collector under
// the pointer, and the collector information window with its rewards.
#pragma once

#include "layers/LayerTooltip.h"
#include "mapview/MapLayer.h"

#include <optional>

namespace collectorlayer {

// The zone the panel's zone combo chooses, as a zone Id of the panel's chosen
// campaign and region (the elite layer's zone filter); none when no zone is
// chosen. Markers of other zones are not drawn (they still answer the
// pointer).
std::optional<int> ZoneFilter(const World& world, const PanelState& panel);

// Draws the icons of the lstCollectors entries of campaign c, region r (and
// of the chosen zone), later entries over earlier ones.
void DrawCollectors(QImage& picTemp, const World& world, const PanelState& panel, int c, int r,
                    const mapview::MarkerPlacement& place = {});

// The first lstCollectors entry of campaign c, region r whose rectangle holds
// the map point under viewport point `pointer` (edges included); the zone
// choice is not applied. -1 when none.
int FindCollectorAt(const World& world, const PanelState& panel, int c, int r, QPointF pointer, QPoint offset,
                    const mapview::MarkerPlacement& place = {});

// Name, request, location, then one name row and one property block per
// reward, bright when the reward matches the panel's filters, grey otherwise.
layertooltip::Tooltip FillCollectorTooltip(const World& world, const PanelState& panel, int collector);

class CollectorLayer : public mapview::MapLayer {
public:
    void Draw(QImage& picTemp, const mapview::MapContext& ctx) const override;
    std::optional<mapview::LayerHit> Find(QPointF pointer, const mapview::MapContext& ctx) const override;
    std::optional<mapview::TooltipImage> BuildTooltip(const mapview::LayerHit& hit, const mapview::MapContext& ctx,
                                                      const QImage& viewport) const override;
    std::optional<QPoint> SelectionPosition(const mapview::MapContext& ctx) const override;
};

} // namespace collectorlayer

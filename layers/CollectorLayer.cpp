#include "layers/CollectorLayer.h"

#include "core/World.h"
#include "panel/PanelState.h"

namespace collectorlayer {

} // namespace collectorlayer
namespace collectorlayer {
std::optional<int> ZoneFilterOnMap(const World&, const PanelState&, int, int) { return std::nullopt; }
void DrawCollectors(QImage&, const World&, const PanelState&, int, int) {}
int FindCollectorAt(const World&, const PanelState&, int, int, QPointF, QPoint) { return -1; }
layertooltip::Tooltip FillCollectorTooltip(const World&, const PanelState&, int) { return {}; }
void CollectorLayer::Draw(QImage&, const mapview::MapContext&) const {}
std::optional<mapview::LayerHit> CollectorLayer::Find(QPointF, const mapview::MapContext&) const { return std::nullopt; }
std::optional<mapview::TooltipImage> CollectorLayer::BuildTooltip(const mapview::LayerHit&, const mapview::MapContext&, const QImage&) const { return std::nullopt; }
std::optional<QPoint> CollectorLayer::SelectionPosition(const mapview::MapContext&) const { return std::nullopt; }
}

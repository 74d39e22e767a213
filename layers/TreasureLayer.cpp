#include "layers/TreasureLayer.h"

#include "core/World.h"
#include "panel/PanelState.h"

namespace treasurelayer {

} // namespace treasurelayer
namespace treasurelayer {
void DrawTreasures(QImage&, const World&, const PanelState&, int, int) {}
int FindTreasureAt(const World&, const PanelState&, int, int, QPointF, QPoint) { return -1; }
QString PadToWidth(const QString& l, const QString& r, bool, const QFont&, int) { return l + QLatin1Char(' ') + r; }
QString OpenedDateText(const QDate& d) { return d.toString(); }
layertooltip::Tooltip FillTreasureTooltip(const World&, int) { return {}; }
void TreasureLayer::Draw(QImage&, const mapview::MapContext&) const {}
std::optional<mapview::LayerHit> TreasureLayer::Find(QPointF, const mapview::MapContext&) const { return std::nullopt; }
std::optional<mapview::TooltipImage> TreasureLayer::BuildTooltip(const mapview::LayerHit&, const mapview::MapContext&, const QImage&) const { return std::nullopt; }
std::optional<QPoint> TreasureLayer::SelectionPosition(const mapview::MapContext&) const { return std::nullopt; }
}

#include "layers/PetLayer.h"

#include "core/World.h"
#include "panel/PanelState.h"

namespace petlayer {

} // namespace petlayer
namespace petlayer {
void DrawPets(QImage&, const World&, const PanelState&, int, int) {}
std::optional<PetHit> FindPetAt(const World&, const PanelState&, int, int, QPointF, QPoint) { return std::nullopt; }
layertooltip::Tooltip FillPetTooltip(const World&, int) { return {}; }
void PetLayer::Draw(QImage&, const mapview::MapContext&) const {}
std::optional<mapview::LayerHit> PetLayer::Find(QPointF, const mapview::MapContext&) const { return std::nullopt; }
std::optional<mapview::TooltipImage> PetLayer::BuildTooltip(const mapview::LayerHit&, const mapview::MapContext&, const QImage&) const { return std::nullopt; }
}

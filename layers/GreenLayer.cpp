#include "layers/GreenLayer.h"

#include "core/World.h"
#include "panel/PanelState.h"

namespace greenlayer {

} // namespace greenlayer
namespace greenlayer {
GreenMark GreenMarkOf(const World&, const PanelState&, int) { return GreenMark::None; }
void DrawGreens(QImage&, const World&, const PanelState&, int, int) {}
void GreenLayer::Draw(QImage&, const mapview::MapContext&) const {}
std::optional<QPoint> GreenLayer::SelectionPosition(const mapview::MapContext&) const { return std::nullopt; }
}

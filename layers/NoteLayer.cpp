#include "layers/NoteLayer.h"

#include "core/World.h"
#include "panel/PanelState.h"

namespace notelayer {

} // namespace notelayer
namespace notelayer {
void DrawNotes(QImage&, const World&, const PanelState&, int, int) {}
int FindNoteAt(const World&, const PanelState&, int, int, QPointF, QPoint) { return -1; }
layertooltip::Tooltip FillNoteTooltip(const World&, int) { return {}; }
void NoteLayer::Draw(QImage&, const mapview::MapContext&) const {}
std::optional<mapview::LayerHit> NoteLayer::Find(QPointF, const mapview::MapContext&) const { return std::nullopt; }
std::optional<mapview::TooltipImage> NoteLayer::BuildTooltip(const mapview::LayerHit&, const mapview::MapContext&, const QImage&) const { return std::nullopt; }
std::optional<QPoint> NoteLayer::SelectionPosition(const mapview::MapContext&) const { return std::nullopt; }
}

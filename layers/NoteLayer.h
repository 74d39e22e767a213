// The notes layer of the map: a 15 x 15 note icon at every listed note of the
// map shown, the note under the pointer, and the note information window
// (short description on a light grey band, then the text).
#pragma once

#include "layers/LayerTooltip.h"
#include "mapview/MapLayer.h"

namespace notelayer {

// Grey 221 of the note window's title band.
inline const QColor kNoteBand(221, 221, 221);

void DrawNotes(QImage& picTemp, const World& world, const PanelState& panel, int c, int r,
               const mapview::MarkerPlacement& place = {});

// The first lstNotes entry of campaign c, region r whose rectangle holds the
// map point under `pointer`, edges included; -1 when none.
int FindNoteAt(const World& world, const PanelState& panel, int c, int r, QPointF pointer, QPoint offset,
               const mapview::MarkerPlacement& place = {});

layertooltip::Tooltip FillNoteTooltip(const World& world, int note);

class NoteLayer : public mapview::MapLayer {
public:
    void Draw(QImage& picTemp, const mapview::MapContext& ctx) const override;
    std::optional<mapview::LayerHit> Find(QPointF pointer, const mapview::MapContext& ctx) const override;
    std::optional<mapview::TooltipImage> BuildTooltip(const mapview::LayerHit& hit, const mapview::MapContext& ctx,
                                                      const QImage& viewport) const override;
    std::optional<QPoint> SelectionPosition(const mapview::MapContext& ctx) const override;
};

} // namespace notelayer

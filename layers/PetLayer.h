// The pets layer of the map: a 15 x 15 paw icon at every place of every
// listed pet on the map shown, the pet place under the pointer, and the pet
// information window with the pet's picture and name.
#pragma once

#include "layers/LayerTooltip.h"
#include "mapview/MapLayer.h"

#include <optional>

namespace petlayer {

void DrawPets(QImage& picTemp, const World& world, const PanelState& panel, int c, int r,
              const mapview::MarkerPlacement& at = {});

struct PetHit {
    int Pet = 0;
    int Place = 0;
};

// The first place, lstPets entries in order and each pet's places in order,
// of campaign c, region r whose rectangle holds the map point under
// `pointer`, edges included.
std::optional<PetHit> FindPetAt(const World& world, const PanelState& panel, int c, int r, QPointF pointer,
                                QPoint offset, const mapview::MarkerPlacement& at = {});

layertooltip::Tooltip FillPetTooltip(const World& world, int pet);

class PetLayer : public mapview::MapLayer {
public:
    void Draw(QImage& picTemp, const mapview::MapContext& ctx) const override;
    std::optional<mapview::LayerHit> Find(QPointF pointer, const mapview::MapContext& ctx) const override;
    // The pet identifier: moving to another place of the same pet keeps the
    // window.
    QString TooltipTag(const mapview::LayerHit& hit) const override { return QString::number(hit.Item); }
    std::optional<mapview::TooltipImage> BuildTooltip(const mapview::LayerHit& hit, const mapview::MapContext& ctx,
                                                      const QImage& viewport) const override;
};

} // namespace petlayer

#include "mapview/MapLayer.h"

#include "elite/EliteLayer.h"
#include "layers/CollectorLayer.h"
#include "layers/GreenLayer.h"
#include "layers/NoteLayer.h"
#include "layers/PetLayer.h"
#include "layers/TreasureLayer.h"
#include "mapview/ZoneLayer.h"

#include <cmath>

namespace mapview {

void MapLayers::DrawAll(QImage& picTemp, const MapContext& ctx) const
{
    for (LayerId id : DrawOrder)
        if (const MapLayer* layer = Get(id))
            layer->Draw(picTemp, ctx);
}

std::optional<MapLayers::ChainHit> MapLayers::HitTest(QPointF pointer, const MapContext& ctx) const
{
    for (LayerId id : HitTestOrder) {
        const MapLayer* layer = Get(id);
        if (!layer)
            continue;
        if (auto hit = layer->Find(pointer, ctx))
            return ChainHit{id, *hit};
    }
    return std::nullopt;
}

MapLayers MapLayers::Standard()
{
    MapLayers layers;
    layers.Set(LayerId::Zones, std::make_unique<ZoneLayer>());
    layers.Set(LayerId::Greens, std::make_unique<greenlayer::GreenLayer>());
    layers.Set(LayerId::Elite, std::make_unique<elitelayer::EliteLayer>());
    layers.Set(LayerId::Collectors, std::make_unique<collectorlayer::CollectorLayer>());
    layers.Set(LayerId::Notes, std::make_unique<notelayer::NoteLayer>());
    layers.Set(LayerId::Treasures, std::make_unique<treasurelayer::TreasureLayer>());
    layers.Set(LayerId::Pets, std::make_unique<petlayer::PetLayer>());
    return layers;
}

QPoint MapPointAt(QPointF pointer, QPoint offset)
{
    // nearbyint rounds halves to the even neighbour in the default mode.
    return {static_cast<int>(std::nearbyint(pointer.x() - offset.x())),
            static_cast<int>(std::nearbyint(pointer.y() - offset.y()))};
}

} // namespace mapview

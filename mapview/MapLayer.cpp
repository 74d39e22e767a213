#include "mapview/MapLayer.h"

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

QPoint MapPointAt(QPointF pointer, QPoint offset)
{
    // nearbyint rounds halves to the even neighbour in the default mode.
    return {static_cast<int>(std::nearbyint(pointer.x() - offset.x())),
            static_cast<int>(std::nearbyint(pointer.y() - offset.y()))};
}

} // namespace mapview

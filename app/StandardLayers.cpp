#include "app/StandardLayers.h"

#include "elite/EliteLayer.h"
#include "layers/CollectorLayer.h"
#include "layers/GreenLayer.h"
#include "layers/NoteLayer.h"
#include "layers/PetLayer.h"
#include "layers/TreasureLayer.h"
#include "mapview/ZoneLayer.h"

#include <memory>

mapview::MapLayers StandardMapLayers()
{
    mapview::MapLayers layers;
    layers.Set(mapview::LayerId::Zones, std::make_unique<mapview::ZoneLayer>());
    layers.Set(mapview::LayerId::Greens, std::make_unique<greenlayer::GreenLayer>());
    layers.Set(mapview::LayerId::Elite, std::make_unique<elitelayer::EliteLayer>());
    layers.Set(mapview::LayerId::Collectors, std::make_unique<collectorlayer::CollectorLayer>());
    layers.Set(mapview::LayerId::Notes, std::make_unique<notelayer::NoteLayer>());
    layers.Set(mapview::LayerId::Treasures, std::make_unique<treasurelayer::TreasureLayer>());
    layers.Set(mapview::LayerId::Pets, std::make_unique<petlayer::PetLayer>());
    return layers;
}

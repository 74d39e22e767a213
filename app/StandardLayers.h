// The map's layers as Wayloom draws them: zones, greens, elite bosses,
// collectors, notes, chests and pets, each in its slot of the layer list.
#pragma once

#include "mapview/MapLayer.h"

mapview::MapLayers StandardMapLayers();

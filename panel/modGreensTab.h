// The green items tab's rules, decided without a window: which items the
// filters keep (lstGreens), the boss place an item is linked to, and where
// the map goes for a chosen item.
#pragma once

#include "panel/modTabRules.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <optional>
#include <vector>

namespace modGreensTab {

// The boss place that drops green item `green`: location LocationIndex of
// skill EliteNumber; null while the item is not linked or the link is out of
// the tables.
const modElite::EliteLocation* GreenBossLocation(const World& world, int green);

// The linked items that pass the area, name, profession-word and property
// filters, as lstGreens shows them: name and number, sorted by name with
// letter case ignored.
std::vector<PanelEntry> FilterGreenEntries(const World& world, const PanelState& panel);

// lblGreensList: text 59 + ": " + count.
QString GreensCaption(const World& world, int count);

// Where the map goes for the selected lstGreens entry (the boss place).
std::optional<modTabRules::MapTarget> SelectGreen(const World& world, const PanelState& panel);

} // namespace modGreensTab

// The regions a player is likely to open next, for the preloader: the
// neighbours of the region shown in the region menu's order, then the region
// of the entry after the chosen one on the active tab.
#pragma once

#include <QStringList>

struct World;
struct PanelState;

namespace mapview {

// Picture paths, nearest first, without the region shown and without
// regions that have no picture.
QStringList LikelyRegions(const World& world, const PanelState& panel, int campaign, int region);

} // namespace mapview

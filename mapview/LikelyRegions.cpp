#include "mapview/LikelyRegions.h"

#include "world/PanelState.h"
#include "world/World.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace mapview {

namespace {

using Place = std::pair<int, int>; // campaign, region

template <typename Table>
std::optional<Place> PlaceOf(const Table& items, int n)
{
    if (n < 1 || n >= static_cast<int>(items.size()))
        return std::nullopt;
    const auto& item = items[static_cast<std::size_t>(n)];
    return Place{item.Campaign, item.Region};
}

// Where the entry after the chosen one of the active tab's list stands.
std::optional<Place> NextEntryPlace(const World& world, const PanelState& panel)
{
    auto next = [](const PanelList& list) { return list.dataAt(std::max(list.selected, -1) + 1, -1); };
    switch (panel.ActiveTab) {
    case TabElite: {
        const int elite = next(panel.lstElite);
        if (elite < 1 || elite > world.elite.highest())
            return std::nullopt;
        const auto& locations = world.elite.EliteSkills[static_cast<std::size_t>(elite)].Locations;
        return PlaceOf(locations, 1);
    }
    case TabCollectors:
        return PlaceOf(world.collectors.Collectors, next(panel.lstCollectors));
    case TabNotes:
        return PlaceOf(world.notes.Notes, next(panel.lstNotes));
    case TabTreasuresPets:
        return PlaceOf(world.treasures.Treasures, next(panel.lstVarshaTreasures));
    default:
        return std::nullopt;
    }
}

} // namespace

QStringList LikelyRegions(const World& world, const PanelState& panel, int campaign, int region)
{
    QStringList paths;
    auto add = [&](int c, int r) {
        if ((c == campaign && r == region) || !modCampaigns::RegionExists(world.campaigns, c, r))
            return;
        const QString& path =
            world.campaigns[static_cast<std::size_t>(c)].Regions[static_cast<std::size_t>(r)].ImagePath;
        if (!path.isEmpty() && !paths.contains(path))
            paths << path;
    };
    if (modCampaigns::RegionExists(world.campaigns, campaign, region)) {
        const std::vector<int> order = modCampaigns::RegionListOrder(world.campaigns, campaign);
        const auto at = std::find(order.begin(), order.end(), region);
        if (at != order.end()) {
            if (at + 1 != order.end())
                add(campaign, *(at + 1));
            if (at != order.begin())
                add(campaign, *(at - 1));
        }
    }
    if (const auto next = NextEntryPlace(world, panel))
        add(next->first, next->second);
    return paths;
}

} // namespace mapview

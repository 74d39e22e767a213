#include "route/RouteStops.h"

#include "mapview/modZones.h"
#include "panel/modCollectorsTab.h"
#include "panel/modEliteTab.h"
#include "panel/modGreensTab.h"
#include "panel/modNotesTab.h"
#include "panel/modTreasuresPetsTab.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace route {

namespace {

using Index = std::size_t;

// The place of a marker: its map point and where it lies.
struct Where {
    int Campaign;
    int Region;
    int Zone; // -1: the place has no zone
    QPoint At;
};

// Hands every stop of the panel's lists, in every region, to `visit(kind,
// entry, place, where)`: the entries the layers draw (their show boxes, the
// zone chosen, the boss text for the skills, markers with a place), nothing
// done, the kinds beyond skills and chests only with RouteEveryLayer.
template <typename Visit>
void ForEachStop(const World& world, const PanelState& panel, Visit&& visit)
{
    const int zone = panel.ChosenZone(world.campaigns);
    auto zoneShown = [zone](int z) { return zone == 0 || z == zone; };

    if (panel.isShown(TabElite)) {
        const QString& boss = panel.txtEliteBossName;
        for (const PanelEntry& entry : panel.lstElite.entries) {
            if (entry.done || entry.data < 1 || entry.data > world.elite.highest())
                continue;
            const auto& locations = world.elite.EliteSkills[static_cast<Index>(entry.data)].Locations;
            for (Index i = 1; i < locations.size(); ++i) {
                const modElite::EliteLocation& l = locations[i];
                if (zoneShown(l.Zone) && modEliteTab::BossMatches(l, boss))
                    visit(StopKind::EliteSkill, entry, static_cast<int>(i),
                          Where{l.Campaign, l.Region, l.Zone, QPoint(l.X, l.Y)});
            }
        }
    }
    if (panel.isShown(TabTreasuresPets)) {
        for (const PanelEntry& entry : panel.lstVarshaTreasures.entries) {
            if (entry.done || entry.data < 1 || entry.data > world.treasures.count())
                continue;
            const modTreasures::Treasure& t = world.treasures.Treasures[static_cast<Index>(entry.data)];
            if (t.Present && zoneShown(t.Zone))
                visit(StopKind::Chest, entry, 0, Where{t.Campaign, t.Region, t.Zone, QPoint(t.X, t.Y)});
        }
    }
    if (!panel.RouteEveryLayer)
        return;
    if (panel.isShown(TabCollectors)) {
        for (const PanelEntry& entry : panel.lstCollectors.entries) {
            if (entry.data < 1 || entry.data > world.collectors.highest())
                continue;
            const modCollectors::Collector& col = world.collectors.Collectors[static_cast<Index>(entry.data)];
            // A collector without a place is never on a map.
            if (col.X != -1 && col.Y != -1 && zoneShown(col.Zone))
                visit(StopKind::Collector, entry, 0, Where{col.Campaign, col.Region, col.Zone, QPoint(col.X, col.Y)});
        }
    }
    if (panel.isShown(TabGreens)) {
        for (const PanelEntry& entry : panel.lstGreens.entries) {
            const modElite::EliteLocation* l = modGreensTab::GreenBossLocation(world, entry.data);
            // A boss place that drops nothing carries no green marker.
            if (l && l->Greens.size() >= 2 && zoneShown(l->Zone))
                visit(StopKind::GreenItem, entry, 0, Where{l->Campaign, l->Region, l->Zone, QPoint(l->X, l->Y)});
        }
    }
    // The chests' show box governs the pets as well.
    if (panel.isShown(TabTreasuresPets)) {
        for (const PanelEntry& entry : panel.lstPets.entries) {
            if (entry.data < 1 || entry.data > world.pets.highest())
                continue;
            const auto& places = world.pets.Pets[static_cast<Index>(entry.data)].Places;
            for (Index j = 1; j < places.size(); ++j) {
                const modPets::PetPlace& p = places[j];
                if (zoneShown(p.Zone))
                    visit(StopKind::Pet, entry, static_cast<int>(j),
                          Where{p.Campaign, p.Region, p.Zone, QPoint(p.X, p.Y)});
            }
        }
    }
    if (panel.isShown(TabNotes)) {
        for (const PanelEntry& entry : panel.lstNotes.entries) {
            if (entry.data < 1 || entry.data > world.notes.count())
                continue;
            const modNotes::MapNote& n = world.notes.Notes[static_cast<Index>(entry.data)];
            // A deleted note is never drawn, even while an old list names it.
            if (!n.ShortDesc.isEmpty())
                visit(StopKind::Note, entry, 0, Where{n.Campaign, n.Region, -1, QPoint(n.X, n.Y)});
        }
    }
}

QString RegionName(const World& world, int c, int r)
{
    return modCampaigns::RegionExists(world.campaigns, c, r)
               ? world.campaigns[static_cast<Index>(c)].Regions[static_cast<Index>(r)].Name
               : QString();
}

} // namespace

std::vector<RouteStop> RouteStops(const World& world, const PanelState& panel, int c, int r)
{
    std::vector<RouteStop> stops;
    const QString regionName = RegionName(world, c, r);
    ForEachStop(world, panel, [&](StopKind kind, const PanelEntry& entry, int place, const Where& where) {
        if (where.Campaign != c || where.Region != r)
            return;
        const QString zoneName = where.Zone < 0 ? QString() : modZones::ZoneName(world.campaigns, c, r, where.Zone);
        stops.push_back({kind, entry.data, place, entry.text, where.At, c, r, regionName, zoneName});
    });
    return stops;
}

std::vector<QPointF> StopPoints(const std::vector<RouteStop>& stops)
{
    std::vector<QPointF> points;
    points.reserve(stops.size());
    for (const RouteStop& s : stops)
        points.emplace_back(s.At);
    return points;
}

std::optional<RegionCount> NextRegionWithStops(const World& world, const PanelState& panel, int c, int r)
{
    // With a region chosen the lists hold only that region: the tabs'
    // filters run again for the whole campaign.
    PanelState wide;
    const PanelState* lists = &panel;
    if (panel.ChosenRegion() != 0) {
        wide = panel;
        wide.cmbRegion.selected = -1;
        wide.cmbZone.selected = -1;
        wide.lstElite.entries = modEliteTab::FilterEliteEntries(world.elite, world.professions, world.campaigns, wide);
        wide.lstVarshaTreasures.entries = modTreasuresPetsTab::FilterTreasureEntries(world, wide);
        wide.lstCollectors.entries = modCollectorsTab::FilterCollectorEntries(world, wide);
        wide.lstGreens.entries = modGreensTab::FilterGreenEntries(world, wide);
        wide.lstPets.entries = modTreasuresPetsTab::FilterPetEntries(world, wide);
        wide.lstNotes.entries = modNotesTab::FilterNoteEntries(world, wide);
        lists = &wide;
    }
    const int chosen = panel.ChosenCampaign();
    std::map<std::pair<int, int>, int> counts;
    ForEachStop(world, *lists, [&](StopKind, const PanelEntry&, int, const Where& where) {
        if ((chosen < 0 || where.Campaign == chosen) && (where.Campaign != c || where.Region != r) &&
            modCampaigns::RegionExists(world.campaigns, where.Campaign, where.Region))
            ++counts[{where.Campaign, where.Region}];
    });
    std::optional<RegionCount> best;
    for (const auto& [area, count] : counts)
        if (!best || count > best->Stops)
            best = RegionCount{area.first, area.second, count};
    return best;
}

std::optional<QPointF> RouteStart(const modOptions::Settings& settings, int c, int r,
                                  const std::vector<RouteStop>& stops, QPointF viewCentre)
{
    const auto set = settings.RouteStarts.find({c, r});
    if (set != settings.RouteStarts.end())
        return QPointF(set->second);
    if (stops.empty())
        return std::nullopt;
    auto distance = [&](const RouteStop& s) {
        return std::hypot(s.At.x() - viewCentre.x(), s.At.y() - viewCentre.y());
    };
    const auto nearest = std::min_element(
        stops.begin(), stops.end(), [&](const RouteStop& a, const RouteStop& b) { return distance(a) < distance(b); });
    return QPointF(nearest->At);
}

std::vector<int> CarriedOrder(const std::vector<RouteStop>& walkedOrder, const std::vector<RouteStop>& now)
{
    std::map<std::tuple<StopKind, int, int>, int> index;
    for (Index i = 0; i < now.size(); ++i)
        index.emplace(std::tuple(now[i].Kind, now[i].Item, now[i].Place), static_cast<int>(i));
    std::vector<int> order;
    for (const RouteStop& s : walkedOrder) {
        const auto found = index.find(std::tuple(s.Kind, s.Item, s.Place));
        if (found != index.end())
            order.push_back(found->second);
    }
    return order;
}

} // namespace route

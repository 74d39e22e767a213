// Which markers a route visits: the entries of the panel's own filtered
// lists that the map draws in the region shown, nothing done. Elite skills
// and chests whenever their layer is shown; collectors, green items, pets and
// notes too while "Route through every layer" is on. Also which region to go
// to next and where a route starts.
#pragma once

#include "core/modOptions.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QPoint>
#include <QPointF>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace route {

enum class StopKind : uint8_t { EliteSkill, Chest, Collector, GreenItem, Pet, Note };

// One place a route visits.
struct RouteStop {
    StopKind Kind = StopKind::EliteSkill;
    // Elite number, treasure number, collector identifier, green item
    // number, pet identifier or note number: the item data of its list.
    int Item = 0;
    // The skill's location index or the pet's place number; 0 otherwise.
    int Place = 0;
    QString Name; // as its list shows it
    QPoint At;    // map pixels
    int Campaign = 0;
    int Region = 0;
    QString RegionName;
    QString ZoneName; // "" where the place has no zone (notes)

    friend bool operator==(const RouteStop&, const RouteStop&) = default;
};

// The stops in region r of campaign c, kind by kind (elite skills, chests,
// then collectors, green items, pets and notes), each in its list's order.
std::vector<RouteStop> RouteStops(const World& world, const PanelState& panel, int c, int r);

// Their map points, index for index: what the planner is handed.
std::vector<QPointF> StopPoints(const std::vector<RouteStop>& stops);

// The region with the most stops that is not region r of campaign c: among
// the regions of the chosen campaign, or of every campaign when "All" is
// chosen. The lists are filtered again without the region and zone choices
// (the tabs' own filters), so that other regions count by the same rules.
// Ties go to the first in campaign and region order; none when no other
// region has a stop.
struct RegionCount {
    int Campaign = 0;
    int Region = 0;
    int Stops = 0;
    friend bool operator==(const RegionCount&, const RegionCount&) = default;
};
std::optional<RegionCount> NextRegionWithStops(const World& world, const PanelState& panel, int c, int r);

// Where the route of region r of campaign c starts: the point set for it in
// the options, else the stop nearest `viewCentre` (none without stops).
std::optional<QPointF> RouteStart(const modOptions::Settings& settings, int c, int r,
                                  const std::vector<RouteStop>& stops, QPointF viewCentre);

// After the stops changed: the indexes into `now` of the stops of
// `walkedOrder` (the route's stops in walking order) that are still there,
// found by kind, item and place, in that order. New stops are left to the
// planner, which inserts them where they cost least.
std::vector<int> CarriedOrder(const std::vector<RouteStop>& walkedOrder, const std::vector<RouteStop>& now);

} // namespace route

// What the route says in words: the stops as plain text for the clipboard,
// and the line about the next stop under the map and in the panel.
#pragma once

#include "route/RouteStops.h"

#include <QString>

#include <vector>

namespace route {

// The kind of a stop as the copied text names it ("Elite skill", "Chest",
// "Collector", "Green item", "Pet", "Note").
QString KindText(StopKind kind);

// One line per stop of `order` (indexes into `stops`; others skipped), each
// ended by a line feed: number from 1, kind, name, place (zone and region
// names, "Zone - Region", the region alone without a zone), x and y in map
// pixels, separated by tabs. Tabs and line breaks inside a name or place
// become blanks, so that every stop stays one line of six fields.
QString RouteText(const std::vector<RouteStop>& stops, const std::vector<int>& order);

// "Next: <name> — <left> of <total> stops left, <distance> px", the distance
// rounded to whole pixels.
QString NextStopLine(const QString& name, int left, int total, double distance);

} // namespace route

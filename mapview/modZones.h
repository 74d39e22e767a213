// Zones: the named places of a region (towns, outposts, missions,
// challenges, dungeon entrances, open areas), read from each campaign's
// "Zones.txt" into the zone lists of the region catalogue, and the anchors
// that place each zone icon relative to its zone's point.
#pragma once

#include "core/LoadContext.h"
#include "core/modCampaigns.h"

#include <QPoint>
#include <QString>

#include <array>

namespace modZones {

enum ZoneKind : uint32_t {
    OpenArea = 1,
    Outpost = 2,
    Mission = 3,
    Town = 4,
    Challenge = 5,
    DungeonEntrance = 6,
};

// (dx, dy) per campaign 0..4 and kind 0..6: a zone icon's top-left corner is
// drawn at (X - dx, Y - dy).
class ZoneIconAnchorTable {
public:
    static constexpr int kCampaigns = 5;
    static constexpr int kKinds = 7;
    // (0, 0) outside the table.
    QPoint operator()(int campaign, int kind) const;
    void set(int campaign, int kind, QPoint anchor);

private:
    std::array<std::array<QPoint, kKinds>, kCampaigns> m_anchors{};
};

void InitZoneIconAnchors(ZoneIconAnchorTable& anchors);

// Appends every zone of "Zones.txt" of campaigns 1..highest to its region's
// zone list, in file order. Comments (";"), zones at x <= 0 or y <= 0 are
// skipped; malformed lines and zones of regions that do not exist are
// skipped with a diagnostic.
void LoadZones(const LoadContext& ctx, CampaignTable& campaigns);

// Name of the first zone of campaign c, region r whose Id is `zone`; "" when
// none (or when the region does not exist).
QString ZoneName(const CampaignTable& campaigns, int c, int r, int zone);

} // namespace modZones

// The campaign and region catalogue: one folder per campaign directly in the
// program folder ("Campaign." + two-digit number + "." + name), each with its
// "Regions.txt" and one map picture per region.
#pragma once

#include "core/LoadContext.h"

#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

// One named place of a region (town, outpost, mission, challenge, dungeon
// entrance, open area). Stored in its region's `Zones` at 1, 2, 3 ... in file
// order; entry 0 is never used.
struct ZoneEntry {
    int16_t Id = 0; // zone number other tables refer to
    QString Name;
    uint32_t Kind = 0;    // 1 open area, 2 outpost, 3 mission, 4 town, 5 challenge, 6 dungeon entrance
    uint8_t IconFlag = 0; // kind 1 only: 1 = icon shown
    int32_t X = 0;
    int32_t Y = 0;
    QRect LabelBox; // name label box in map coordinates, computed when the map window loads
};

struct RegionEntry {
    QString Name;                    // empty = no such region
    QString ImagePath;               // full path of the map picture
    std::vector<ZoneEntry> Zones{1}; // index 0 unused
};

struct CampaignEntry {
    QString Name;                        // empty = no such campaign
    std::vector<RegionEntry> Regions{1}; // index 0 unused; 0..highest region number
};

using CampaignTable = std::vector<CampaignEntry>; // index = campaign number, 0..highest

namespace modCampaigns {

// "Campaign." + number padded to 2 digits + "." + name + "/", relative to the
// program folder.
QString CampaignFolder(int campaign, const CampaignTable& campaigns);

// True when campaign c exists (non-empty name) and has a region r with a name.
bool RegionExists(const CampaignTable& campaigns, int c, int r);

// Discovers the campaign folders and reads every "Regions.txt".
void LoadCampaigns(const LoadContext& ctx, CampaignTable& campaigns);

// Region numbers of campaign c in the order the region list and the region
// menus show them.
std::vector<int> RegionListOrder(const CampaignTable& campaigns, int c);

} // namespace modCampaigns

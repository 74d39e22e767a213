#include "mapview/modZones.h"

#include <limits>

namespace modZones {

QPoint ZoneIconAnchorTable::operator()(int campaign, int kind) const
{
    if (campaign < 0 || campaign >= kCampaigns || kind < 0 || kind >= kKinds)
        return QPoint(0, 0);
    return m_anchors[campaign][kind];
}

void ZoneIconAnchorTable::set(int campaign, int kind, QPoint anchor)
{
    if (campaign >= 0 && campaign < kCampaigns && kind >= 0 && kind < kKinds)
        m_anchors[campaign][kind] = anchor;
}

void InitZoneIconAnchors(ZoneIconAnchorTable& anchors)
{
    anchors = ZoneIconAnchorTable{};
    // Kinds 1..6: open area, outpost, mission, town, challenge, dungeon entrance.
    static constexpr int kTable[4][6][2] = {
        {{12, 15}, {11, 12}, {16, 24}, {16, 18}, {0, 0}, {0, 0}},
        {{12, 15}, {18, 21}, {23, 24}, {30, 26}, {22, 26}, {0, 0}},
        {{12, 15}, {19, 19}, {32, 31}, {31, 31}, {30, 34}, {0, 0}},
        {{12, 15}, {11, 12}, {16, 24}, {16, 18}, {0, 0}, {15, 13}},
    };
    for (int c = 1; c <= 4; ++c)
        for (int k = 1; k <= 6; ++k)
            anchors.set(c, k, QPoint(kTable[c - 1][k - 1][0], kTable[c - 1][k - 1][1]));
}

namespace {

void ReadZones(const LoadContext& ctx, CampaignTable& campaigns, int c)
{
    const QString relative = modCampaigns::CampaignFolder(c, campaigns) + QStringLiteral("Zones.txt");
    records::Fields fields;
    ctx.forEachLine(relative, [&](QStringView line, int lineNo) {
        if (line.startsWith(u';'))
            return;
        records::SplitFields(line, fields);
        if (fields.size() < 7) {
            ctx.warn(relative, lineNo, QStringLiteral("zone line with %1 of 7 columns").arg(fields.size()));
            return;
        }
        const auto x = records::NumberField<int32_t>(fields[4]);
        const auto y = records::NumberField<int32_t>(fields[5]);
        // Zones off the map's positive quarter are not loaded. A coordinate
        // beyond 32 bits is a data error, not an off-map zone.
        if ((x && *x <= 0) || (y && *y <= 0))
            return;
        if (!x || !y) {
            ctx.warn(relative, lineNo, QStringLiteral("zone coordinate out of range"));
            return;
        }
        const auto id = records::StrictField<int16_t>(fields[0]);
        if (!id) {
            ctx.warn(relative, lineNo, QStringLiteral("zone number is not a 16-bit integer"));
            return;
        }
        const auto kind = records::StrictField<uint8_t>(fields[2]);
        if (!kind || *kind < OpenArea || *kind > DungeonEntrance) {
            ctx.warn(relative, lineNo, QStringLiteral("zone kind is not 1..6"));
            return;
        }
        const auto iconFlag = records::StrictField<uint8_t>(fields[3]);
        if (!iconFlag) {
            ctx.warn(relative, lineNo, QStringLiteral("icon flag is not 0..255"));
            return;
        }
        const auto r = records::NumberField<int>(fields[1]);
        if (!r || !modCampaigns::RegionExists(campaigns, c, *r)) {
            ctx.warn(relative, lineNo, QStringLiteral("region %1 does not exist").arg(fields[1].toString()));
            return;
        }
        ZoneEntry zone;
        zone.Id = *id;
        zone.Kind = *kind;
        zone.IconFlag = *iconFlag;
        zone.X = *x;
        zone.Y = *y;
        zone.Name = fields[6].toString();
        campaigns[c].Regions[*r].Zones.push_back(std::move(zone));
    });
}

} // namespace

void LoadZones(const LoadContext& ctx, CampaignTable& campaigns)
{
    // Campaign 0 has no zones: its folder is not read.
    for (int c = 1; c < static_cast<int>(campaigns.size()); ++c) {
        if (campaigns[c].Name.isEmpty())
            continue;
        ReadZones(ctx, campaigns, c);
    }
}

QString ZoneName(const CampaignTable& campaigns, int c, int r, int zone)
{
    if (c < 0 || c >= static_cast<int>(campaigns.size()))
        return QString();
    const auto& regions = campaigns[c].Regions;
    if (r < 0 || r >= static_cast<int>(regions.size()))
        return QString();
    const auto& zones = regions[r].Zones;
    for (std::size_t z = 1; z < zones.size(); ++z)
        if (zones[z].Id == zone)
            return zones[z].Name;
    return QString();
}

} // namespace modZones

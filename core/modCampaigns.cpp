#include "core/modCampaigns.h"

#include <QDir>

#include <limits>

namespace modCampaigns {

namespace {

constexpr int kMaxCampaign = std::numeric_limits<uint8_t>::max();
constexpr int kMaxRegion = std::numeric_limits<uint8_t>::max();

bool ValidCampaign(const CampaignTable& campaigns, int c)
{
    return c >= 0 && c < static_cast<int>(campaigns.size()) && !campaigns[c].Name.isEmpty();
}

void ReadRegions(const LoadContext& ctx, CampaignEntry& campaign, const QString& folder)
{
    const QString relative = folder + QStringLiteral("Regions.txt");
    records::Fields fields;
    ctx.forEachLine(relative, [&](QStringView line, int lineNo) {
        records::SplitFields(line, fields);
        if (fields.size() < 2) {
            ctx.warn(relative, lineNo, QStringLiteral("region line without a name column"));
            return;
        }
        const auto r = records::NumberField<int>(fields[0]);
        if (!r || *r < 0 || *r > kMaxRegion) {
            ctx.warn(relative, lineNo, QStringLiteral("region number out of range 0..%1").arg(kMaxRegion));
            return;
        }
        if (*r >= static_cast<int>(campaign.Regions.size()))
            campaign.Regions.resize(*r + 1);
        RegionEntry& region = campaign.Regions[*r];
        region.Name = fields[1].toString();
        // The picture is named by the number column exactly as written.
        region.ImagePath = ctx.path(folder + fields[0].toString() + QStringLiteral(".jpg"));
        region.Zones.assign(1, ZoneEntry{});
    });
}

} // namespace

QString CampaignFolder(int campaign, const CampaignTable& campaigns)
{
    const QString name =
        campaign >= 0 && campaign < static_cast<int>(campaigns.size()) ? campaigns[campaign].Name : QString();
    return QStringLiteral("Campaign.") + records::PadNumber(campaign, 2) + u'.' + name + u'/';
}

bool RegionExists(const CampaignTable& campaigns, int c, int r)
{
    if (!ValidCampaign(campaigns, c))
        return false;
    const auto& regions = campaigns[c].Regions;
    return r >= 0 && r < static_cast<int>(regions.size()) && !regions[r].Name.isEmpty();
}

void LoadCampaigns(const LoadContext& ctx, CampaignTable& campaigns)
{
    campaigns.assign(1, CampaignEntry{});

    // Folder listing order is not under our control; taking names in sorted
    // order keeps the result the same on every file system (with two folders
    // of one number, the later name wins).
    const QDir dir(ctx.appFolder);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (!entry.startsWith(QStringLiteral("Campaign.")))
            continue;
        const QStringList parts = entry.split(u'.');
        const auto number = records::NumberField<int>(parts.value(1));
        if (!number || *number < 0 || *number > kMaxCampaign) {
            ctx.warn(entry, 0, QStringLiteral("campaign number out of range 0..%1").arg(kMaxCampaign));
            continue;
        }
        if (*number >= static_cast<int>(campaigns.size()))
            campaigns.resize(*number + 1);
        campaigns[*number].Name = parts.value(2);
    }

    for (int c = 0; c < static_cast<int>(campaigns.size()); ++c) {
        CampaignEntry& campaign = campaigns[c];
        campaign.Regions.assign(1, RegionEntry{});
        if (campaign.Name.isEmpty())
            continue;
        ReadRegions(ctx, campaign, CampaignFolder(c, campaigns));
    }
}

std::vector<int> RegionListOrder(const CampaignTable& campaigns, int c)
{
    std::vector<int> order;
    if (!ValidCampaign(campaigns, c))
        return order;
    switch (c) {
    case 1:
        order = {8, 4, 5, 6, 7, 1, 2, 3};
        break;
    case 2:
        order = {4, 1, 2, 3};
        break;
    case 3:
    case 4:
        for (int r = 1; r < static_cast<int>(campaigns[c].Regions.size()); ++r)
            order.push_back(r);
        break;
    default:
        break;
    }
    // Only regions that "Regions.txt" named: a number without a region has no
    // map to switch to.
    std::erase_if(order, [&](int r) { return !RegionExists(campaigns, c, r); });
    return order;
}

} // namespace modCampaigns

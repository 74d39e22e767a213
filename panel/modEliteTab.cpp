#include "panel/modEliteTab.h"

#include "mapview/modZones.h"

#include <algorithm>

namespace modEliteTab {

RegionFilter ReadRegionFilter(const CampaignTable& campaigns, const PanelState& panel)
{
    return {panel.ChosenCampaign(), panel.ChosenRegion(), panel.ChosenZone(campaigns)};
}

bool LocationMatches(const modElite::EliteSkill& skill, const modElite::EliteLocation& location, const RegionFilter& f)
{
    if (f.c == -1)
        return true;
    if (skill.Campaign == 0 && f.c == 0)
        return true;
    return location.Campaign == f.c && (f.r == 0 || location.Region == f.r) && (f.z == 0 || location.Zone == f.z);
}

bool BossMatches(const modElite::EliteLocation& location, const QString& bossText)
{
    return bossText.isEmpty() || location.Boss.contains(bossText, Qt::CaseInsensitive);
}

bool HasPlaces(const modElite::EliteSkill& skill)
{
    return skill.Locations.size() >= 2;
}

bool InRegionFilter(const modElite::EliteSkill& skill, const RegionFilter& filter, const QString& bossText)
{
    return filter.c < 0 || std::any_of(skill.Locations.begin() + std::min<std::size_t>(1, skill.Locations.size()),
                                       skill.Locations.end(), [&](const auto& l) {
                                           return LocationMatches(skill, l, filter) && BossMatches(l, bossText);
                                       });
}

bool ProfessionMatches(const modElite::EliteSkill& skill, int p1, int p2)
{
    return p1 <= 0 || skill.Profession == p1 || (p2 > 0 && skill.Profession == p2);
}

bool CapturedBy(const modElite::EliteSkill& skill, int character)
{
    return character >= 0 && static_cast<std::size_t>(character) < skill.Captured.size() &&
           skill.Captured[static_cast<std::size_t>(character)];
}

QString EliteEntryText(const modElite::EliteSkill& skill, const modProfessions::Tables& professions)
{
    const auto& table = professions.Professions;
    const QString abbreviation = skill.Profession < table.size() ? table[skill.Profession].Abbreviation : QString();
    return skill.Name + QStringLiteral(" [") + abbreviation + QLatin1Char(']');
}

namespace {

bool CapturedByAnyone(const modElite::EliteSkill& skill)
{
    return std::find(skill.Captured.begin() + std::min<std::size_t>(1, skill.Captured.size()), skill.Captured.end(),
                     true) != skill.Captured.end();
}

} // namespace

std::vector<PanelEntry> FilterEliteEntries(const modElite::Tables& elite, const modProfessions::Tables& professions,
                                           const CampaignTable& campaigns, const PanelState& panel)
{
    const RegionFilter filter = ReadRegionFilter(campaigns, panel);
    const int p1 = panel.cmbProfession.selectedData(0);
    const int p2 = panel.cmbSecondaryProfession.selectedData(0);
    const int ch = panel.cmbCharacter.selectedData(0);
    const bool notCapturedOnly = panel.optCapture == 1;
    const bool byAttribute = panel.cmbAttribute.selected > 0;
    const QString attribute = byAttribute ? panel.cmbAttribute.selectedText() : QString();
    const QString& boss = panel.txtEliteBossName;
    const QString& name = panel.txtEliteName;

    std::vector<PanelEntry> entries;
    for (int n = 1; n <= elite.highest(); ++n) {
        const auto& skill = elite.EliteSkills[static_cast<std::size_t>(n)];
        const auto& locations = skill.Locations;
        if (!HasPlaces(skill))
            continue;
        if (byAttribute && skill.Attribute.compare(attribute, Qt::CaseInsensitive) != 0)
            continue;
        if (!boss.isEmpty() &&
            std::none_of(locations.begin() + 1, locations.end(), [&](const auto& l) { return BossMatches(l, boss); }))
            continue;
        if (!InRegionFilter(skill, filter, boss))
            continue;
        if (!ProfessionMatches(skill, p1, p2))
            continue;
        if (notCapturedOnly && (ch == 0 ? CapturedByAnyone(skill) : CapturedBy(skill, ch)))
            continue;
        if (!name.isEmpty() && !skill.Name.contains(name, Qt::CaseInsensitive))
            continue;
        entries.push_back({EliteEntryText(skill, professions), n});
    }
    SortEntriesCaseBlind(entries);
    return entries;
}

std::vector<PanelEntry> EliteLocationEntries(const modElite::Tables& elite, const CampaignTable& campaigns,
                                             const PanelState& panel, int eliteNumber)
{
    std::vector<PanelEntry> entries;
    if (eliteNumber < 0 || eliteNumber > elite.highest())
        return entries;
    const auto& skill = elite.EliteSkills[static_cast<std::size_t>(eliteNumber)];
    const RegionFilter filter = ReadRegionFilter(campaigns, panel);
    for (std::size_t i = 1; i < skill.Locations.size(); ++i) {
        const auto& l = skill.Locations[i];
        if (!LocationMatches(skill, l, filter) || !BossMatches(l, panel.txtEliteBossName))
            continue;
        QString regionName, campaignName;
        if (l.Campaign < campaigns.size()) {
            const auto& campaign = campaigns[l.Campaign];
            campaignName = campaign.Name;
            if (l.Region < campaign.Regions.size())
                regionName = campaign.Regions[l.Region].Name;
        }
        entries.push_back({modZones::ZoneName(campaigns, l.Campaign, l.Region, l.Zone) + QStringLiteral(" - ") +
                               regionName + QStringLiteral(" - ") + campaignName,
                           static_cast<int>(i)});
    }
    return entries;
}

void SortEntriesCaseBlind(std::vector<PanelEntry>& entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const PanelEntry& a, const PanelEntry& b) {
        return a.text.compare(b.text, Qt::CaseInsensitive) < 0;
    });
}

} // namespace modEliteTab

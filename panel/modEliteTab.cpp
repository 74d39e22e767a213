#include "panel/modEliteTab.h"

#include "mapview/modZones.h"

#include <algorithm>

namespace modEliteTab {

bool LocationMatches(const modElite::EliteSkill& skill, const modElite::EliteLocation& location,
                     const modTabRules::AreaFilter& f)
{
    if (skill.Campaign == 0 && f.c == 0)
        return true;
    return modTabRules::InArea(f, location.Campaign, location.Region, location.Zone);
}

bool BossMatches(const modElite::EliteLocation& location, const QString& bossText)
{
    return bossText.isEmpty() || location.Boss.contains(bossText, Qt::CaseInsensitive);
}

bool HasPlaces(const modElite::EliteSkill& skill)
{
    return skill.Locations.size() >= 2;
}

bool InRegionFilter(const modElite::EliteSkill& skill, const modTabRules::AreaFilter& filter, const QString& bossText)
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

// What the capture filter does with a skill a character captured.
enum class Captured : uint8_t {
    Kept,   // every skill, none marked
    Hidden, // left out (by `character`, or with 0 by anyone)
    Marked, // kept and marked done (by `character`)
};

// The skills every filter keeps, the capture filter as `captured` says, in
// the sorted list's order.
std::vector<PanelEntry> Filter(const modElite::Tables& elite, const modProfessions::Tables& professions,
                               const CampaignTable& campaigns, const PanelState& panel, Captured captured,
                               int character)
{
    const modTabRules::AreaFilter filter = modTabRules::ReadAreaFilter(campaigns, panel);
    const int p1 = panel.cmbProfession.selectedData(0);
    const int p2 = panel.cmbSecondaryProfession.selectedData(0);
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
        const bool done =
            captured != Captured::Kept && (character == 0 ? CapturedByAnyone(skill) : CapturedBy(skill, character));
        if (done && captured == Captured::Hidden)
            continue;
        if (!name.isEmpty() && !skill.Name.contains(name, Qt::CaseInsensitive))
            continue;
        entries.push_back({EliteEntryText(skill, professions), n, done});
    }
    modTabRules::SortCaseBlind(entries);
    return entries;
}

} // namespace

std::vector<PanelEntry> FilterEliteEntries(const modElite::Tables& elite, const modProfessions::Tables& professions,
                                           const CampaignTable& campaigns, const PanelState& panel)
{
    if (panel.optCapture != 1)
        return Filter(elite, professions, campaigns, panel, Captured::Kept, 0);
    const int character = panel.CaptureCharacter();
    if (!panel.EliteDoneDim || character == 0)
        return Filter(elite, professions, campaigns, panel, Captured::Hidden, panel.cmbCharacter.selectedData(0));
    std::vector<PanelEntry> entries = Filter(elite, professions, campaigns, panel, Captured::Marked, character);
    modTabRules::DoneLast(entries);
    return entries;
}

std::vector<PanelEntry> EliteEntriesDoneBy(const modElite::Tables& elite, const modProfessions::Tables& professions,
                                           const CampaignTable& campaigns, const PanelState& panel, int character)
{
    return Filter(elite, professions, campaigns, panel, character > 0 ? Captured::Marked : Captured::Kept, character);
}

std::vector<PanelEntry> EliteLocationEntries(const modElite::Tables& elite, const CampaignTable& campaigns,
                                             const PanelState& panel, int eliteNumber)
{
    std::vector<PanelEntry> entries;
    if (eliteNumber < 0 || eliteNumber > elite.highest())
        return entries;
    const auto& skill = elite.EliteSkills[static_cast<std::size_t>(eliteNumber)];
    const modTabRules::AreaFilter filter = modTabRules::ReadAreaFilter(campaigns, panel);
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

} // namespace modEliteTab

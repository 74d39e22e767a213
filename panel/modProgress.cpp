#include "panel/modProgress.h"

#include "core/TextNumbers.h"
#include "panel/modEliteTab.h"
#include "panel/modPanelLists.h"
#include "panel/modTabRules.h"

#include <algorithm>

namespace modProgress {

namespace {

bool HasOpened(const modTreasures::Treasure& chest, int character)
{
    // As the chests tab hides them: a date for that character. A character
    // without a file (or added since) has none.
    return character > 0 && static_cast<std::size_t>(character) < chest.OpenedOn.size() &&
           chest.OpenedOn[static_cast<std::size_t>(character)].has_value();
}

// The rows each skill and each chest is counted in, by elite and treasure
// number (entry 0 unused).
struct RowsOf {
    std::vector<std::vector<int>> skills;
    std::vector<std::vector<int>> chests;
};

// The combo entries a row can stand for (the first entry, "All", left out).
std::vector<PanelEntry> Choices(const modPanelLists::ComboFill& fill)
{
    std::vector<PanelEntry> entries = fill.list.entries;
    if (!entries.empty())
        entries.erase(entries.begin());
    return entries;
}

// Which skills and chests the panel lists for each possible row, as
// candidate rows (every total still 0) with the row indices per skill and
// chest; rows that would count nothing are then dropped.
void BuildRows(const World& world, Overview& overview, RowsOf& rowsOf)
{
    const auto campaigns = Choices(modPanelLists::FillCampaignList(world.campaigns, world.language));
    const auto professions =
        Choices(modPanelLists::FillProfessionCombo(world.professions, world.language, Text::AllEntry));
    std::vector<Row> rows;
    rows.reserve(2 * campaigns.size() + professions.size() + 1);
    for (const PanelEntry& c : campaigns)
        rows.push_back({RowKind::Campaign, c.data, c.text, 0, {}});
    const std::size_t firstProfession = rows.size();
    for (const PanelEntry& p : professions)
        rows.push_back({RowKind::Profession, p.data, p.text, 0, {}});
    const std::size_t totalRow = rows.size();
    rows.push_back({RowKind::Total, -1, QString(), 0, {}});
    const std::size_t firstChests = rows.size();
    for (const PanelEntry& c : campaigns)
        rows.push_back({RowKind::Chests, c.data, c.text, 0, {}});

    const auto& skills = world.elite.EliteSkills;
    rowsOf.skills.assign(skills.size(), {});
    for (std::size_t e = 1; e < skills.size(); ++e) {
        const modElite::EliteSkill& skill = skills[e];
        if (!modEliteTab::HasPlaces(skill))
            continue;
        std::vector<int>& in = rowsOf.skills[e];
        for (std::size_t r = 0; r < firstProfession; ++r)
            if (modEliteTab::InRegionFilter(skill, {rows[r].number, 0, 0}, QString()))
                in.push_back(static_cast<int>(r));
        for (std::size_t r = firstProfession; r < totalRow; ++r)
            if (modEliteTab::ProfessionMatches(skill, rows[r].number, 0))
                in.push_back(static_cast<int>(r));
        in.push_back(static_cast<int>(totalRow));
    }
    const auto& chests = world.treasures.Treasures;
    rowsOf.chests.assign(chests.size(), {});
    for (std::size_t t = 1; t < chests.size(); ++t) {
        const modTreasures::Treasure& chest = chests[t];
        // A line that could not be read keeps its number but is no chest.
        if (!chest.Present)
            continue;
        for (std::size_t r = firstChests; r < rows.size(); ++r)
            if (modTabRules::InArea({rows[r].number, 0, 0}, chest.Campaign, chest.Region, chest.Zone))
                rowsOf.chests[t].push_back(static_cast<int>(r));
    }

    // Totals, then only the rows that count something, renumbered.
    for (const auto& in : rowsOf.skills)
        for (int r : in)
            ++rows[static_cast<std::size_t>(r)].total;
    for (const auto& in : rowsOf.chests)
        for (int r : in)
            ++rows[static_cast<std::size_t>(r)].total;
    std::vector<int> kept(rows.size(), -1);
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (rows[r].total > 0) {
            kept[r] = static_cast<int>(overview.rows.size());
            overview.rows.push_back(std::move(rows[r]));
            overview.rows.back().done.assign(overview.characters.size(), 0);
        }
    for (auto* table : {&rowsOf.skills, &rowsOf.chests})
        for (auto& in : *table)
            for (int& r : in)
                r = kept[static_cast<std::size_t>(r)];
}

void CountColumn(const World& world, const RowsOf& rowsOf, Overview& overview, std::size_t column)
{
    const int character = overview.characters[column];
    for (Row& row : overview.rows)
        row.done[column] = 0;
    const auto& skills = world.elite.EliteSkills;
    for (std::size_t e = 1; e < rowsOf.skills.size(); ++e)
        if (!rowsOf.skills[e].empty() && modEliteTab::CapturedBy(skills[e], character))
            for (int r : rowsOf.skills[e])
                ++overview.rows[static_cast<std::size_t>(r)].done[column];
    const auto& chests = world.treasures.Treasures;
    for (std::size_t t = 1; t < rowsOf.chests.size(); ++t)
        if (!rowsOf.chests[t].empty() && HasOpened(chests[t], character))
            for (int r : rowsOf.chests[t])
                ++overview.rows[static_cast<std::size_t>(r)].done[column];
}

std::vector<int> NamedCharacters(const World& world)
{
    std::vector<int> numbers;
    const auto& names = world.characters.Characters;
    for (int c = 1; c < static_cast<int>(names.size()); ++c)
        if (!names[static_cast<std::size_t>(c)].isEmpty())
            numbers.push_back(c);
    return numbers;
}

} // namespace

int Overview::column(int character) const
{
    const auto it = std::find(characters.begin(), characters.end(), character);
    return it == characters.end() ? -1 : static_cast<int>(it - characters.begin());
}

Overview BuildOverview(const World& world)
{
    Overview overview;
    overview.characters = NamedCharacters(world);
    for (int c : overview.characters)
        overview.names.push_back(world.characters.Characters[static_cast<std::size_t>(c)]);
    RowsOf rowsOf;
    BuildRows(world, overview, rowsOf);
    for (std::size_t col = 0; col < overview.characters.size(); ++col)
        CountColumn(world, rowsOf, overview, col);
    return overview;
}

bool UpdateCharacter(const World& world, Overview& overview, int character)
{
    const int col = overview.column(character);
    if (col < 0)
        return false;
    // The rows themselves stay as they were built; only which skills and
    // chests fall in them is looked up again.
    Overview fresh;
    fresh.characters = {character};
    RowsOf rowsOf;
    BuildRows(world, fresh, rowsOf);
    if (fresh.rows.size() != overview.rows.size())
        return false; // the world changed under the overview: build it anew
    CountColumn(world, rowsOf, fresh, 0);
    for (std::size_t r = 0; r < fresh.rows.size(); ++r)
        overview.rows[r].done[static_cast<std::size_t>(col)] = fresh.rows[r].done[0];
    return true;
}

StillNeeded StillNeededBy(const World& world, int elite)
{
    StillNeeded need;
    if (elite < 1 || elite > world.elite.highest())
        return need;
    const modElite::EliteSkill& skill = world.elite.EliteSkills[static_cast<std::size_t>(elite)];
    for (int c : NamedCharacters(world)) {
        ++need.characters;
        if (!modEliteTab::CapturedBy(skill, c))
            ++need.missing;
    }
    return need;
}

namespace {

// Something `row` counts lies in region r of campaign c and `character` lacks it.
bool MissingIn(const World& world, const Row& row, int character, int c, int r)
{
    const modTabRules::AreaFilter area{c, r, 0};
    if (row.kind == RowKind::Chests) {
        const auto& chests = world.treasures.Treasures;
        for (std::size_t t = 1; t < chests.size(); ++t)
            if (chests[t].Present && modTabRules::InArea(area, chests[t].Campaign, chests[t].Region, chests[t].Zone) &&
                !HasOpened(chests[t], character))
                return true;
        return false;
    }
    const auto& skills = world.elite.EliteSkills;
    for (std::size_t e = 1; e < skills.size(); ++e) {
        const modElite::EliteSkill& skill = skills[e];
        if (!modEliteTab::HasPlaces(skill) || modEliteTab::CapturedBy(skill, character))
            continue;
        if (row.kind == RowKind::Profession && !modEliteTab::ProfessionMatches(skill, row.number, 0))
            continue;
        if (modEliteTab::InRegionFilter(skill, {c, r, 0}, QString()))
            return true;
    }
    return false;
}

} // namespace

Area RegionToShow(const World& world, const Row& row, int character, Area current)
{
    const bool oneCampaign = row.kind == RowKind::Campaign || row.kind == RowKind::Chests;
    std::vector<int> campaigns;
    if (oneCampaign)
        campaigns.push_back(row.number);
    else {
        if (current.campaign >= 0)
            campaigns.push_back(current.campaign);
        for (const PanelEntry& c : Choices(modPanelLists::FillCampaignList(world.campaigns, world.language)))
            if (c.data != current.campaign)
                campaigns.push_back(c.data);
    }
    if (current.region > 0 && !campaigns.empty() && current.campaign == campaigns.front() &&
        modCampaigns::RegionExists(world.campaigns, current.campaign, current.region) &&
        MissingIn(world, row, character, current.campaign, current.region))
        return current;
    for (int c : campaigns) {
        if (c < 0 || c >= static_cast<int>(world.campaigns.size()))
            continue;
        const auto regions = static_cast<int>(world.campaigns[static_cast<std::size_t>(c)].Regions.size());
        for (int r = 1; r < regions; ++r)
            if (modCampaigns::RegionExists(world.campaigns, c, r) && MissingIn(world, row, character, c, r))
                return {c, r};
    }
    return {oneCampaign ? row.number : current.campaign, 0};
}

} // namespace modProgress

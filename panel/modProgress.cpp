#include "panel/modProgress.h"

#include "core/TextNumbers.h"
#include "panel/modEliteTab.h"
#include "panel/modPanelLists.h"
#include "panel/modTabRules.h"
#include "panel/modTreasuresPetsTab.h"

#include <algorithm>

namespace modProgress {

namespace {

// The combo entries a row can stand for (the first entry, "All", left out).
std::vector<PanelEntry> Choices(const modPanelLists::ComboFill& fill)
{
    std::vector<PanelEntry> entries = fill.list.entries;
    if (!entries.empty())
        entries.erase(entries.begin());
    return entries;
}

Things ThingsOf(RowKind kind)
{
    return kind == RowKind::Chests ? Things::Chests : Things::Skills;
}

// Which skills and chests the panel lists for each possible row; rows that
// would count nothing are dropped. Returns, by row of the overview, the
// elite (chest rows: treasure) numbers the row counts.
std::vector<std::vector<int>> BuildRows(const World& world, Overview& overview)
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

    std::vector<std::vector<int>> items(rows.size());
    const auto& skills = world.elite.EliteSkills;
    for (std::size_t e = 1; e < skills.size(); ++e) {
        const modElite::EliteSkill& skill = skills[e];
        if (!modEliteTab::HasPlaces(skill))
            continue;
        const int n = static_cast<int>(e);
        for (std::size_t r = 0; r < firstProfession; ++r)
            if (modEliteTab::InRegionFilter(skill, {rows[r].number, 0, 0}, QString()))
                items[r].push_back(n);
        for (std::size_t r = firstProfession; r < totalRow; ++r)
            if (modEliteTab::ProfessionMatches(skill, rows[r].number, 0))
                items[r].push_back(n);
        items[totalRow].push_back(n);
    }
    const auto& chests = world.treasures.Treasures;
    for (std::size_t t = 1; t < chests.size(); ++t) {
        const modTreasures::Treasure& chest = chests[t];
        // A line that could not be read keeps its number but is no chest.
        if (!chest.Present)
            continue;
        for (std::size_t r = firstChests; r < rows.size(); ++r)
            if (modTabRules::InArea({rows[r].number, 0, 0}, chest.Campaign, chest.Region, chest.Zone))
                items[r].push_back(static_cast<int>(t));
    }

    // Only the rows that count something.
    std::vector<std::vector<int>> kept;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        rows[r].total = static_cast<int>(items[r].size());
        if (rows[r].total > 0) {
            overview.rows.push_back(std::move(rows[r]));
            overview.rows.back().done.assign(overview.characters.size(), 0);
            kept.push_back(std::move(items[r]));
        }
    }
    return kept;
}

void CountColumn(const World& world, const std::vector<std::vector<int>>& items, Overview& overview, std::size_t column)
{
    const int character = overview.characters[column];
    for (std::size_t r = 0; r < overview.rows.size(); ++r) {
        Row& row = overview.rows[r];
        row.done[column] = CountDone(world, ThingsOf(row.kind), items[r], character).done;
    }
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

DoneCount CountDone(const World& world, Things things, const std::vector<int>& items, int character)
{
    DoneCount count;
    for (int n : items) {
        const auto i = static_cast<std::size_t>(n);
        bool done = false;
        if (things == Things::Chests)
            done = n >= 1 && n <= world.treasures.count() &&
                   modTreasuresPetsTab::OpenedBy(world.treasures.Treasures[i], character);
        else
            done = n >= 1 && n <= world.elite.highest() && character > 0 &&
                   modEliteTab::CapturedBy(world.elite.EliteSkills[i], character);
        ++count.total;
        if (done)
            ++count.done;
    }
    return count;
}

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
    const auto items = BuildRows(world, overview);
    for (std::size_t col = 0; col < overview.characters.size(); ++col)
        CountColumn(world, items, overview, col);
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
    const auto items = BuildRows(world, fresh);
    if (fresh.rows.size() != overview.rows.size())
        return false; // the world changed under the overview: build it anew
    CountColumn(world, items, fresh, 0);
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
                !modTreasuresPetsTab::OpenedBy(chests[t], character))
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

namespace {

// "Done in " + the region chosen (no region: the campaign; no campaign:
// every campaign) + ": " + done + " of " + total; empty without a character.
QString DoneHereText(const World& world, const PanelState& panel, int character, DoneCount count)
{
    if (character < 1)
        return QString();
    const int c = panel.ChosenCampaign();
    const int r = panel.ChosenRegion();
    QString area = QStringLiteral("every campaign");
    if (modCampaigns::RegionExists(world.campaigns, c, r))
        area = world.campaigns[static_cast<std::size_t>(c)].Regions[static_cast<std::size_t>(r)].Name;
    else if (c >= 0 && c < static_cast<int>(world.campaigns.size()))
        area = world.campaigns[static_cast<std::size_t>(c)].Name;
    return QStringLiteral("Done in %1: %2 of %3").arg(area).arg(count.done).arg(count.total);
}

std::vector<int> NumbersOf(const std::vector<PanelEntry>& entries)
{
    std::vector<int> numbers;
    numbers.reserve(entries.size());
    for (const PanelEntry& e : entries)
        numbers.push_back(e.data);
    return numbers;
}

} // namespace

DoneHere EliteDoneHere(const World& world, const PanelState& panel)
{
    DoneHere here;
    here.character = panel.CaptureCharacter();
    if (here.character < 1)
        return here;
    const auto listed =
        modEliteTab::EliteEntriesDoneBy(world.elite, world.professions, world.campaigns, panel, here.character);
    here.count = CountDone(world, Things::Skills, NumbersOf(listed), here.character);
    here.text = DoneHereText(world, panel, here.character, here.count);
    return here;
}

DoneHere ChestsDoneHere(const World& world, const PanelState& panel)
{
    DoneHere here;
    here.character = panel.ChestCharacter();
    if (here.character < 1)
        return here;
    const auto listed = modTreasuresPetsTab::TreasureEntriesDoneBy(world, panel, here.character);
    here.count = CountDone(world, Things::Chests, NumbersOf(listed), here.character);
    here.text = DoneHereText(world, panel, here.character, here.count);
    return here;
}

} // namespace modProgress

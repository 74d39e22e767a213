#include "panel/modProgress.h"

#include <algorithm>
#include <map>

namespace modProgress {

namespace {

bool HasCaptured(const modElite::EliteSkill& skill, int character)
{
    // A character without a capture file (or added since) has no flags.
    return static_cast<std::size_t>(character) < skill.Captured.size() &&
           skill.Captured[static_cast<std::size_t>(character)];
}

bool HasOpened(const modTreasures::Treasure& chest, int character)
{
    return static_cast<std::size_t>(character) < chest.OpenedOn.size() &&
           chest.OpenedOn[static_cast<std::size_t>(character)].has_value();
}

bool Counted(const modElite::EliteSkill& skill)
{
    return skill.Defined;
}

// Where each skill and chest is counted: row indices by skill and by chest.
struct RowsOf {
    std::vector<int> campaign, profession; // by elite number; -1 for none
    std::vector<int> chests;               // by treasure number; -1 for none
    int total = -1;
};

RowsOf FindRows(const World& world, const Overview& overview)
{
    std::map<std::pair<RowKind, int>, int> rowOf;
    for (int i = 0; i < static_cast<int>(overview.rows.size()); ++i)
        rowOf[{overview.rows[static_cast<std::size_t>(i)].kind, overview.rows[static_cast<std::size_t>(i)].number}] = i;
    auto find = [&](RowKind kind, int number) {
        const auto it = rowOf.find({kind, number});
        return it == rowOf.end() ? -1 : it->second;
    };
    RowsOf rows;
    const auto& skills = world.elite.EliteSkills;
    rows.campaign.assign(skills.size(), -1);
    rows.profession.assign(skills.size(), -1);
    for (std::size_t e = 1; e < skills.size(); ++e)
        if (Counted(skills[e])) {
            rows.campaign[e] = find(RowKind::Campaign, skills[e].Campaign);
            rows.profession[e] = find(RowKind::Profession, skills[e].Profession);
        }
    const auto& chests = world.treasures.Treasures;
    rows.chests.assign(chests.size(), -1);
    for (std::size_t t = 1; t < chests.size(); ++t)
        if (chests[t].Present)
            rows.chests[t] = find(RowKind::Chests, chests[t].Campaign);
    rows.total = find(RowKind::Total, -1);
    return rows;
}

void CountColumn(const World& world, const RowsOf& rowsOf, Overview& overview, std::size_t column)
{
    const int character = overview.characters[column];
    for (Row& row : overview.rows)
        row.done[column] = 0;
    auto bump = [&](int row) {
        if (row >= 0)
            ++overview.rows[static_cast<std::size_t>(row)].done[column];
    };
    const auto& skills = world.elite.EliteSkills;
    for (std::size_t e = 1; e < skills.size(); ++e)
        if (Counted(skills[e]) && HasCaptured(skills[e], character)) {
            bump(rowsOf.campaign[e]);
            bump(rowsOf.profession[e]);
            bump(rowsOf.total);
        }
    const auto& chests = world.treasures.Treasures;
    for (std::size_t t = 1; t < chests.size(); ++t)
        if (chests[t].Present && HasOpened(chests[t], character))
            bump(rowsOf.chests[t]);
}

QString NameOr(const QString& name, int number)
{
    return name.isEmpty() ? QString::number(number) : name;
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
    const auto& names = world.characters.Characters;
    for (int c = 1; c < static_cast<int>(names.size()); ++c)
        if (!names[static_cast<std::size_t>(c)].isEmpty()) {
            overview.characters.push_back(c);
            overview.names.push_back(names[static_cast<std::size_t>(c)]);
        }

    std::map<int, int> byCampaign, byProfession, chestsByCampaign; // number -> total
    int total = 0;
    const auto& skills = world.elite.EliteSkills;
    for (std::size_t e = 1; e < skills.size(); ++e)
        if (Counted(skills[e])) {
            ++byCampaign[skills[e].Campaign];
            ++byProfession[skills[e].Profession];
            ++total;
        }
    for (std::size_t t = 1; t < world.treasures.Treasures.size(); ++t)
        if (world.treasures.Treasures[t].Present)
            ++chestsByCampaign[world.treasures.Treasures[t].Campaign];

    const std::size_t columns = overview.characters.size();
    auto campaignName = [&](int c) {
        return NameOr(c < static_cast<int>(world.campaigns.size()) ? world.campaigns[static_cast<std::size_t>(c)].Name
                                                                   : QString(),
                      c);
    };
    for (const auto& [c, n] : byCampaign)
        overview.rows.push_back({RowKind::Campaign, c, campaignName(c), n, std::vector<int>(columns)});
    const auto& professions = world.professions.Professions;
    for (const auto& [p, n] : byProfession)
        overview.rows.push_back(
            {RowKind::Profession, p,
             NameOr(p < static_cast<int>(professions.size()) ? professions[static_cast<std::size_t>(p)].Name
                                                             : QString(),
                    p),
             n, std::vector<int>(columns)});
    if (total > 0)
        overview.rows.push_back({RowKind::Total, -1, QString(), total, std::vector<int>(columns)});
    for (const auto& [c, n] : chestsByCampaign)
        overview.rows.push_back({RowKind::Chests, c, campaignName(c), n, std::vector<int>(columns)});

    const RowsOf rowsOf = FindRows(world, overview);
    for (std::size_t col = 0; col < columns; ++col)
        CountColumn(world, rowsOf, overview, col);
    return overview;
}

bool UpdateCharacter(const World& world, Overview& overview, int character)
{
    const int col = overview.column(character);
    if (col < 0)
        return false;
    CountColumn(world, FindRows(world, overview), overview, static_cast<std::size_t>(col));
    return true;
}

} // namespace modProgress

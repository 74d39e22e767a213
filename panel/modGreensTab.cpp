#include "panel/modGreensTab.h"

#include "core/TextNumbers.h"

namespace modGreensTab {

const modElite::EliteLocation* GreenBossLocation(const World& world, int green)
{
    if (green < 1 || green > world.greens.count())
        return nullptr;
    const modGreens::GreenItem& item = world.greens.Greens[static_cast<std::size_t>(green)];
    if (item.EliteNumber < 0 || item.EliteNumber > world.elite.highest())
        return nullptr;
    const auto& locations = world.elite.EliteSkills[static_cast<std::size_t>(item.EliteNumber)].Locations;
    if (item.LocationIndex < 1 || static_cast<std::size_t>(item.LocationIndex) >= locations.size())
        return nullptr;
    return &locations[static_cast<std::size_t>(item.LocationIndex)];
}

std::vector<PanelEntry> FilterGreenEntries(const World& world, const PanelState& panel)
{
    const modTabRules::AreaFilter area = modTabRules::ReadAreaFilter(world.campaigns, panel);
    const QString name = panel.txtGreensName.trimmed().toLower();
    const QStringList words = modTabRules::ProfessionWords(world, panel);
    // The property search is not trimmed: a trailing blank is part of it.
    const QString property = panel.txtGreenAdditional.toLower();
    std::vector<PanelEntry> entries;
    for (int g = 1; g <= world.greens.count(); ++g) {
        const modElite::EliteLocation* boss = GreenBossLocation(world, g);
        if (!boss || !modTabRules::InArea(area, boss->Campaign, boss->Region, boss->Zone))
            continue;
        const modGreens::GreenItem& item = world.greens.Greens[static_cast<std::size_t>(g)];
        if (!name.isEmpty() && !item.Name.contains(name, Qt::CaseInsensitive))
            continue;
        if (!words.isEmpty() && !modTabRules::AnyStatHasWord(item.Stats, words))
            continue;
        if (!property.isEmpty() && !modTabRules::AnyStatContains(item.Stats, property))
            continue;
        entries.push_back({item.Name, g});
    }
    modTabRules::SortCaseBlind(entries);
    return entries;
}

QString GreensCaption(const World& world, int count)
{
    return modTabRules::CountCaption(world, Text::GreenItems, count);
}

std::optional<modTabRules::MapTarget> SelectGreen(const World& world, const PanelState& panel)
{
    const modElite::EliteLocation* boss = GreenBossLocation(world, panel.lstGreens.selectedData(-1));
    if (!boss)
        return std::nullopt;
    return modTabRules::TargetOf(world, boss->Campaign, boss->Region, boss->X, boss->Y);
}

} // namespace modGreensTab

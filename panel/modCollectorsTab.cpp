#include "panel/modCollectorsTab.h"

#include "core/TextNumbers.h"
#include "panel/modPanelLists.h"

namespace modCollectorsTab {

using modTabRules::AreaFilter;

int LevelValue(int optCollLevel)
{
    switch (optCollLevel) {
    case 1:
        return 1;
    case 2:
        return 0;
    default:
        return 2;
    }
}

PanelList FillCollectorRequests(const World& world, int optCollLevel)
{
    const int level = LevelValue(optCollLevel);
    std::vector<PanelEntry> types;
    const auto& table = world.collectors.RequestTypes;
    for (std::size_t i = 1; i < table.size(); ++i)
        if (level == 2 || table[i].IsLowLevel == level)
            types.push_back({table[i].Name, static_cast<int>(i)});
    modTabRules::SortCaseBlind(types);
    PanelList list;
    list.entries.push_back({modPanelLists::FirstEntryText(world.language, Text::AllEntry), 0});
    list.entries.insert(list.entries.end(), types.begin(), types.end());
    list.selected = 0;
    return list;
}

PanelList FillCollectorHands(const World& world)
{
    PanelList list;
    list.entries = {{modPanelLists::FirstEntryText(world.language, Text::AllEntry), 255},
                    {world.language(Text::HandOne), 1},
                    {world.language(Text::HandOff), 2},
                    {world.language(Text::HandTwo), 4},
                    {world.language(Text::HandRanged), 8}};
    list.selected = 0;
    return list;
}

RewardQuery ReadRewardQuery(const World& world, const PanelState& panel)
{
    RewardQuery q;
    q.Search = panel.txtCollSearch.toLower();
    q.HandMask = panel.cmbCollHand.selected >= 1 ? panel.cmbCollHand.selectedData(255) : 255;
    q.Words = modTabRules::ProfessionWords(world, panel);
    return q;
}

bool RewardMatches(const modCollectors::CollectorReward& reward, const RewardQuery& query)
{
    if ((query.HandMask & reward.HandMask) < 1)
        return false;
    if (!query.Words.isEmpty() && !modTabRules::AnyStatHasWord(reward.Stats, query.Words))
        return false;
    if (query.Search.isEmpty())
        return true;
    return reward.Name.contains(query.Search, Qt::CaseInsensitive) ||
           modTabRules::AnyStatContains(reward.Stats, query.Search);
}

namespace {

bool Kept(const modCollectors::Collector& col, const AreaFilter& area, int level, int type, const QString& request,
          const RewardQuery& query)
{
    if (col.X == -1 || col.Y == -1)
        return false;
    if (level != 2 && col.IsLowLevel != level)
        return false;
    if (!modTabRules::InArea(area, col.Campaign, col.Region, col.Zone))
        return false;
    if ((type == 1 && col.IsArmor) || (type == 2 && !col.IsArmor))
        return false;
    if (!request.isEmpty() && !col.Request.contains(request, Qt::CaseInsensitive))
        return false;
    for (std::size_t i = 1; i < col.Rewards.size(); ++i)
        if (RewardMatches(col.Rewards[i], query))
            return true;
    return false;
}

} // namespace

std::vector<PanelEntry> FilterCollectorEntries(const World& world, const PanelState& panel)
{
    const AreaFilter area = modTabRules::ReadAreaFilter(world.campaigns, panel);
    const int level = LevelValue(panel.optCollLevel);
    const QString request = panel.cmbCollReq.selected >= 1 ? panel.cmbCollReq.selectedText().toLower() : QString();
    const RewardQuery query = ReadRewardQuery(world, panel);
    std::vector<PanelEntry> entries;
    const auto& table = world.collectors.Collectors;
    for (std::size_t id = 1; id < table.size(); ++id)
        if (Kept(table[id], area, level, panel.optCollType, request, query))
            entries.push_back({table[id].Name, static_cast<int>(id)});
    modTabRules::SortCaseBlind(entries);
    return entries;
}

QString CollectorsCaption(const World& world, int count)
{
    return modTabRules::CountCaption(world, Text::Collectors, count);
}

bool ChooseCollectorType(PanelState& panel, int option)
{
    panel.optCollType = option;
    if (option != 2)
        return true;
    if (!panel.cmbCollHand.empty())
        panel.cmbCollHand.selected = 0;
    return false;
}

std::optional<modTabRules::MapTarget> SelectCollector(const World& world, const PanelState& panel)
{
    const int id = panel.lstCollectors.selectedData(-1);
    if (id < 1 || id > world.collectors.highest())
        return std::nullopt;
    const auto& col = world.collectors.Collectors[static_cast<std::size_t>(id)];
    if (col.X == -1 || col.Y == -1)
        return std::nullopt;
    return modTabRules::TargetOf(world, col.Campaign, col.Region, col.X, col.Y);
}

} // namespace modCollectorsTab

#include "panel/modTabRules.h"

#include "core/TextNumbers.h"
#include "records/RecordFile.h"

#include <algorithm>

namespace modTabRules {

AreaFilter ReadAreaFilter(const CampaignTable& campaigns, const PanelState& panel)
{
    return {panel.ChosenCampaign(), panel.ChosenRegion(), panel.ChosenZone(campaigns)};
}

bool InArea(const AreaFilter& f, int campaign, int region, int zone)
{
    if (f.c < 0)
        return true;
    return campaign == f.c && (f.r == 0 || (region == f.r && (f.z == 0 || zone == f.z)));
}

QStringList ProfessionWords(const World& world, const PanelState& panel)
{
    QStringList words;
    if (panel.cmbProfession.selected < 1)
        return words;
    if (panel.cmbAttribute.selected == 0 || !panel.cmbAttribute.hasSelection()) {
        words << world.language(Text::NoAttribute).toLower();
        const int p = panel.cmbProfession.selectedData(0);
        if (p >= 0 && p <= world.professions.highest()) {
            const auto& attributes = world.professions.Professions[static_cast<std::size_t>(p)].Attributes;
            for (std::size_t i = 1; i < attributes.size(); ++i)
                words << attributes[i].toLower();
        }
    } else {
        words << panel.cmbAttribute.selectedText().toLower();
    }
    return words;
}

namespace {

bool Blank(const QString& text)
{
    return QStringView(text).trimmed().isEmpty();
}

} // namespace

bool AnyStatHasWord(const std::vector<QString>& stats, const QStringList& words)
{
    for (std::size_t i = 1; i < stats.size(); ++i)
        if (!Blank(stats[i]) && records::ContainsAnyWord(stats[i].toLower(), words))
            return true;
    return false;
}

bool AnyStatContains(const std::vector<QString>& stats, const QString& text)
{
    for (std::size_t i = 1; i < stats.size(); ++i)
        if (!Blank(stats[i]) && stats[i].contains(text, Qt::CaseInsensitive))
            return true;
    return false;
}

QString CountCaption(const World& world, int textNumber, int count)
{
    return world.language(textNumber) + QStringLiteral(": ") + QString::number(count);
}

std::optional<MapTarget> TargetOf(const World& world, int c, int r, int x, int y)
{
    if (c < 0 || c >= static_cast<int>(world.campaigns.size()))
        return std::nullopt;
    const auto& regions = world.campaigns[static_cast<std::size_t>(c)].Regions;
    // A campaign without a region list (or a region it does not hold) leaves
    // the map as it is.
    if (regions.size() < 2 || r < 1 || r >= static_cast<int>(regions.size()))
        return std::nullopt;
    return MapTarget{c, r, regions[static_cast<std::size_t>(r)].ImagePath, QPoint(x, y)};
}

void SortCaseBlind(std::vector<PanelEntry>& entries)
{
    std::stable_sort(entries.begin(), entries.end(), [](const PanelEntry& a, const PanelEntry& b) {
        return a.text.compare(b.text, Qt::CaseInsensitive) < 0;
    });
}

void DoneLast(std::vector<PanelEntry>& entries)
{
    std::stable_partition(entries.begin(), entries.end(), [](const PanelEntry& e) { return !e.done; });
}

} // namespace modTabRules

#include "panel/modPanelLists.h"

#include "core/TextNumbers.h"
#include "panel/modTabRules.h"

namespace modPanelLists {

namespace {

ComboFill Started(const QString& firstText, int firstData)
{
    ComboFill fill;
    fill.list.entries.push_back({firstText, firstData});
    fill.list.selected = 0;
    return fill;
}

ComboFill Disabled()
{
    ComboFill fill;
    fill.enabled = false;
    return fill;
}

} // namespace

QString FirstEntryText(const modLanguage::LanguageStrings& language, int n)
{
    return QStringLiteral("<<< ") + language(n) + QStringLiteral(" >>>");
}

ComboFill FillCampaignList(const CampaignTable& campaigns, const modLanguage::LanguageStrings& language)
{
    ComboFill fill = Started(FirstEntryText(language, Text::AllEntry), -1);
    for (std::size_t c = 0; c < campaigns.size(); ++c)
        if (!campaigns[c].Name.isEmpty())
            fill.list.entries.push_back({campaigns[c].Name, static_cast<int>(c)});
    return fill;
}

ComboFill FillRegionList(const CampaignTable& campaigns, const modLanguage::LanguageStrings& language, int c)
{
    if (c < 0)
        return Disabled();
    ComboFill fill = Started(FirstEntryText(language, Text::AllEntry), 0);
    if (c >= static_cast<int>(campaigns.size()))
        return fill;
    const auto& regions = campaigns[static_cast<std::size_t>(c)].Regions;
    for (int r : modCampaigns::RegionListOrder(campaigns, c))
        if (r >= 0 && r < static_cast<int>(regions.size()))
            fill.list.entries.push_back({regions[static_cast<std::size_t>(r)].Name, r});
    return fill;
}

ComboFill FillZoneList(const CampaignTable& campaigns, const modLanguage::LanguageStrings& language, int c, int r)
{
    if (r < 1)
        return Disabled();
    ComboFill fill = Started(FirstEntryText(language, Text::AllEntry), 0);
    if (c < 0 || c >= static_cast<int>(campaigns.size()))
        return fill;
    const auto& regions = campaigns[static_cast<std::size_t>(c)].Regions;
    if (r >= static_cast<int>(regions.size()))
        return fill;
    const auto& zones = regions[static_cast<std::size_t>(r)].Zones;
    std::vector<PanelEntry> names;
    for (std::size_t z = 1; z < zones.size(); ++z)
        names.push_back({zones[z].Name, static_cast<int>(z)});
    // The first entry stays on top whatever the zone names start with.
    modTabRules::SortCaseBlind(names);
    fill.list.entries.insert(fill.list.entries.end(), names.begin(), names.end());
    return fill;
}

ComboFill FillProfessionCombo(const modProfessions::Tables& professions, const modLanguage::LanguageStrings& language,
                              int firstEntryText)
{
    ComboFill fill = Started(FirstEntryText(language, firstEntryText), 0);
    for (int p = 1; p <= professions.highest(); ++p)
        fill.list.entries.push_back({professions.Professions[static_cast<std::size_t>(p)].Name, p});
    return fill;
}

ComboFill FillAttributeCombo(const modProfessions::Tables& professions, const modLanguage::LanguageStrings& language,
                             int p)
{
    ComboFill fill = Started(FirstEntryText(language, Text::AllEntry), 0);
    if (p < 1 || p > professions.highest()) {
        fill.enabled = false;
        return fill;
    }
    const auto& attributes = professions.Professions[static_cast<std::size_t>(p)].Attributes;
    for (std::size_t a = 1; a < attributes.size(); ++a)
        fill.list.entries.push_back({attributes[a], static_cast<int>(a)});
    fill.list.entries.push_back({language(Text::NoAttribute), kNoAttributeData});
    return fill;
}

ComboFill FillCharacterCombo(const modCharacters::Tables& characters, const modLanguage::LanguageStrings& language)
{
    ComboFill fill = Started(FirstEntryText(language, Text::AllCharacters), 0);
    for (int ch = 1; ch <= characters.highest(); ++ch)
        if (!characters.Characters[static_cast<std::size_t>(ch)].isEmpty())
            fill.list.entries.push_back({characters.Characters[static_cast<std::size_t>(ch)], ch});
    return fill;
}

} // namespace modPanelLists

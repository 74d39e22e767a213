#include "panel/modEliteTab.h"
#include "panel/modPanelLists.h"

#include "../TestWorld.h"

#include <gtest/gtest.h>

namespace {

using modEliteTab::EliteLocationEntries;
using modEliteTab::FilterEliteEntries;

// Selects the entry whose item data is `data` (the combo must hold it).
void Choose(PanelList& list, int data)
{
    for (int i = 0; i < list.size(); ++i)
        if (list.dataAt(i) == data) {
            list.selected = i;
            return;
        }
    FAIL() << "no entry with item data " << data;
}

// What the user chose in the elite tab; 0 (or -1 for the campaign) leaves a
// combo on its first entry.
struct Choice {
    int campaign = -1, region = 0, zoneId = 0;
    int profession = 0, secondary = 0, attribute = 0;
    int optCapture = 0, character = 0;
    const char* name = "";
    const char* boss = "";
};

// A panel filled as at start, then set as `c` says.
PanelState Panel(const World& w, const Choice& c)
{
    PanelState p;
    p.cmbCampaign = modPanelLists::FillCampaignList(w.campaigns, w.language).list;
    p.cmbProfession = modPanelLists::FillProfessionCombo(w.professions, w.language, 9).list;
    p.cmbSecondaryProfession = modPanelLists::FillProfessionCombo(w.professions, w.language, 96).list;
    p.cmbAttribute = modPanelLists::FillAttributeCombo(w.professions, w.language, c.profession).list;
    p.cmbCharacter = modPanelLists::FillCharacterCombo(w.characters, w.language).list;
    p.Ready = true;
    if (c.campaign >= 0) {
        Choose(p.cmbCampaign, c.campaign);
        p.cmbRegion = modPanelLists::FillRegionList(w.campaigns, w.language, c.campaign).list;
        if (c.region > 0)
            Choose(p.cmbRegion, c.region);
        p.cmbZone = modPanelLists::FillZoneList(w.campaigns, w.language, c.campaign, c.region).list;
        for (int z = 1; c.zoneId > 0 && z < int(w.campaigns[c.campaign].Regions[c.region].Zones.size()); ++z)
            if (w.campaigns[c.campaign].Regions[c.region].Zones[z].Id == c.zoneId)
                Choose(p.cmbZone, z);
    }
    for (auto [list, data] : {std::pair{&p.cmbProfession, c.profession},
                              {&p.cmbSecondaryProfession, c.secondary},
                              {&p.cmbAttribute, c.attribute},
                              {&p.cmbCharacter, c.character}})
        if (data != 0)
            Choose(*list, data);
    p.optCapture = c.optCapture;
    p.txtEliteName = QString::fromLatin1(c.name);
    p.txtEliteBossName = QString::fromLatin1(c.boss);
    return p;
}

struct FilterCase {
    const char* name;
    Choice choice;
    std::vector<int> expected; // elite numbers in list order
};

class EliteFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(EliteFilter, KeepsTheMatchingSkillsInListOrder)
{
    World w = TestWorld::PanelRules().world;
    w.elite.EliteSkills[2].Captured[3] = true; // Bren has alpha Burst
    std::vector<int> numbers;
    for (const auto& e : FilterEliteEntries(w.elite, w.professions, w.campaigns, Panel(w, GetParam().choice)))
        numbers.push_back(e.data);
    EXPECT_EQ(numbers, GetParam().expected);
}

const FilterCase kFilterCases[] = {
    // Sorted by text, letter case ignored: alpha, Beta, Gamma, Zeta; skill 4
    // has no place and never shows.
    {"NothingChosenListsEverySkillWithAPlace", {}, {2, 3, 5, 1}},
    {"CampaignZeroKeepsOnlyItsOwnSkills", {.campaign = 0}, {3}},
    {"CampaignOneKeepsSkillsWithBossesThere", {.campaign = 1}, {2, 3, 5, 1}},
    {"ZoneNarrowsByZoneId", {.campaign = 1, .region = 1, .zoneId = 11}, {5}},
    {"SecondaryProfessionWidens", {.profession = 1, .secondary = 2}, {2, 3, 1}},
    {"SecondaryIgnoredWhilePrimaryOnFirstEntry", {.secondary = 2}, {2, 3, 5, 1}},
    // "Shieldcraft" vs the skill's "shieldcraft"
    {"AttributeComparedCaseBlind", {.profession = 1, .attribute = 2}, {3}},
    {"NoAttributeEntryMatchesItsText", {.profession = 2, .attribute = modPanelLists::kNoAttributeData}, {2}},
    {"NotCapturedByAnyCharacterHidesASkillOneCharacterHas", {.optCapture = 1}, {3, 5, 1}},
    {"NotCapturedByACharacterKeepsWhatOthersHave", {.optCapture = 1, .character = 1}, {2, 3, 5, 1}},
    {"CharacterIgnoredWhileAllSkillsOptionIsOn", {.character = 3}, {2, 3, 5, 1}},
    {"NameIsAnyPartInAnyCase", {.name = "ETA"}, {3, 1}},
    {"BossTextIsAnyPartInAnyCase", {.boss = "orc"}, {5, 1}},
    {"BossMustStandInTheChosenRegion", {.campaign = 1, .region = 1, .boss = "frost"}, {}},
    {"BossTextWithCampaignZeroStillNeedsAMatchingBoss", {.campaign = 0, .boss = "queen"}, {}},
};

INSTANTIATE_TEST_SUITE_P(Panel, EliteFilter, ::testing::ValuesIn(kFilterCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(EliteFilter, EntryTextCarriesTheAbbreviationOrEmptyBrackets)
{
    World w = TestWorld::PanelRules().world;
    w.elite.EliteSkills[1].Profession = 200; // no such profession
    const auto entries = FilterEliteEntries(w.elite, w.professions, w.campaigns, Panel(w, {}));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries.front().text, QStringLiteral("alpha Burst [S]"));
    EXPECT_EQ(entries.back().text, QStringLiteral("Zeta Strike []"));
}

struct PlacesCase {
    const char* name;
    Choice choice;
    int elite;
    std::vector<PanelEntry> expected;
};

class ElitePlaces : public ::testing::TestWithParam<PlacesCase> {};

TEST_P(ElitePlaces, ListsThePlacesThatPassTheFilters)
{
    World w = TestWorld::PanelRules().world;
    EXPECT_EQ(EliteLocationEntries(w.elite, w.campaigns, Panel(w, GetParam().choice), GetParam().elite),
              GetParam().expected);
}

const PlacesCase kPlacesCases[] = {
    {"AllPlacesWithNoCampaignChosen",
     {},
     5,
     {{"ashen Gate - North Vale - Alpha", 1}, {"Frost Hollow - Ice Coast - Alpha", 2}}},
    {"RegionLimitsPlaces", {.campaign = 1, .region = 2}, 5, {{"Frost Hollow - Ice Coast - Alpha", 2}}},
    {"BossTextLimitsPlaces", {.boss = "MOSS"}, 5, {{"ashen Gate - North Vale - Alpha", 1}}},
    {"CampaignZeroSkillListsEveryPlace", {.campaign = 0}, 3, {{"Frost Hollow - Ice Coast - Alpha", 1}}},
    {"SkillWithoutPlaces", {}, 4, {}},
    {"NumberOutsideTheCatalogue", {}, 77, {}},
};

INSTANTIATE_TEST_SUITE_P(Panel, ElitePlaces, ::testing::ValuesIn(kPlacesCases),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace

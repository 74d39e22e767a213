#include "panel/modEliteTab.h"
#include "panel/modPanelLists.h"

#include "TestWorld.h"

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

// A panel filled as at start: every combo on its first entry.
PanelState FreshPanel(const TestWorld& w)
{
    PanelState p;
    p.cmbCampaign = modPanelLists::FillCampaignList(w.campaigns, w.language).list;
    p.cmbProfession = modPanelLists::FillProfessionCombo(w.professions, w.language, 9).list;
    p.cmbSecondaryProfession = modPanelLists::FillProfessionCombo(w.professions, w.language, 96).list;
    p.cmbAttribute = modPanelLists::FillAttributeCombo(w.professions, w.language, 0).list;
    p.cmbCharacter = modPanelLists::FillCharacterCombo(w.characters, w.language).list;
    p.Ready = true;
    return p;
}

void ChooseRegion(const TestWorld& w, PanelState& p, int c, int r, int zoneId = 0)
{
    Choose(p.cmbCampaign, c);
    p.cmbRegion = modPanelLists::FillRegionList(w.campaigns, w.language, c).list;
    if (r > 0)
        Choose(p.cmbRegion, r);
    p.cmbZone = modPanelLists::FillZoneList(w.campaigns, w.language, c, r).list;
    if (zoneId > 0) {
        const auto& zones = w.campaigns[c].Regions[r].Zones;
        for (std::size_t z = 1; z < zones.size(); ++z)
            if (zones[z].Id == zoneId)
                Choose(p.cmbZone, static_cast<int>(z));
    }
}

std::vector<int> Numbers(const std::vector<PanelEntry>& entries)
{
    std::vector<int> out;
    for (const auto& e : entries)
        out.push_back(e.data);
    return out;
}

struct FilterCase {
    const char* name;
    void (*set)(const TestWorld&, PanelState&);
    std::vector<int> expected; // elite numbers in list order
};

class EliteFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(EliteFilter, KeepsTheMatchingSkillsInListOrder)
{
    TestWorld w;
    w.elite.EliteSkills[2].Captured[3] = true; // Bren has alpha Burst
    PanelState p = FreshPanel(w);
    GetParam().set(w, p);
    EXPECT_EQ(Numbers(FilterEliteEntries(w.elite, w.professions, w.campaigns, p)), GetParam().expected);
}

const FilterCase kFilterCases[] = {
    // Sorted by text, letter case ignored: alpha, Beta, Gamma, Zeta; skill 4
    // has no place and never shows.
    {"NothingChosenListsEverySkillWithAPlace", [](const TestWorld&, PanelState&) {}, {2, 3, 5, 1}},
    {"CampaignZeroKeepsOnlyItsOwnSkills",
     [](const TestWorld& w, PanelState& p) { ChooseRegion(w, p, 0, 0); }, {3}},
    {"CampaignOneKeepsSkillsWithBossesThere",
     [](const TestWorld& w, PanelState& p) { ChooseRegion(w, p, 1, 0); }, {2, 3, 5, 1}},
    {"RegionNarrows", [](const TestWorld& w, PanelState& p) { ChooseRegion(w, p, 1, 1); }, {5, 1}},
    {"ZoneNarrowsByZoneId", [](const TestWorld& w, PanelState& p) { ChooseRegion(w, p, 1, 1, 11); }, {5}},
    {"PrimaryProfession", [](const TestWorld&, PanelState& p) { Choose(p.cmbProfession, 1); }, {3, 1}},
    {"SecondaryProfessionWidens",
     [](const TestWorld&, PanelState& p) {
         Choose(p.cmbProfession, 1);
         Choose(p.cmbSecondaryProfession, 2);
     },
     {2, 3, 1}},
    {"SecondaryIgnoredWhilePrimaryOnFirstEntry",
     [](const TestWorld&, PanelState& p) { Choose(p.cmbSecondaryProfession, 2); }, {2, 3, 5, 1}},
    {"AttributeComparedCaseBlind",
     [](const TestWorld& w, PanelState& p) {
         Choose(p.cmbProfession, 1);
         p.cmbAttribute = modPanelLists::FillAttributeCombo(w.professions, w.language, 1).list;
         Choose(p.cmbAttribute, 2); // "Shieldcraft" vs the skill's "shieldcraft"
     },
     {3}},
    {"NoAttributeEntryMatchesItsText",
     [](const TestWorld& w, PanelState& p) {
         Choose(p.cmbProfession, 2);
         p.cmbAttribute = modPanelLists::FillAttributeCombo(w.professions, w.language, 2).list;
         Choose(p.cmbAttribute, modPanelLists::kNoAttributeData);
     },
     {2}},
    {"NotCapturedByAnyCharacterHidesASkillOneCharacterHas",
     [](const TestWorld&, PanelState& p) { p.optCapture = 1; }, {3, 5, 1}},
    {"NotCapturedByACharacterKeepsWhatOthersHave",
     [](const TestWorld&, PanelState& p) {
         p.optCapture = 1;
         Choose(p.cmbCharacter, 1);
     },
     {2, 3, 5, 1}},
    {"NotCapturedByTheCharacterWhoHasIt",
     [](const TestWorld&, PanelState& p) {
         p.optCapture = 1;
         Choose(p.cmbCharacter, 3);
     },
     {3, 5, 1}},
    {"CharacterIgnoredWhileAllSkillsOptionIsOn",
     [](const TestWorld&, PanelState& p) { Choose(p.cmbCharacter, 3); }, {2, 3, 5, 1}},
    {"NameIsAnyPartInAnyCase", [](const TestWorld&, PanelState& p) { p.txtEliteName = QStringLiteral("ETA"); },
     {3, 1}},
    {"BossTextIsAnyPartInAnyCase",
     [](const TestWorld&, PanelState& p) { p.txtEliteBossName = QStringLiteral("orc"); }, {5, 1}},
    {"BossMustStandInTheChosenRegion",
     [](const TestWorld& w, PanelState& p) {
         ChooseRegion(w, p, 1, 1);
         p.txtEliteBossName = QStringLiteral("frost");
     },
     {}},
    {"BossTextWithCampaignZeroStillNeedsAMatchingBoss",
     [](const TestWorld& w, PanelState& p) {
         ChooseRegion(w, p, 0, 0);
         p.txtEliteBossName = QStringLiteral("queen");
     },
     {}},
};

INSTANTIATE_TEST_SUITE_P(Panel, EliteFilter, ::testing::ValuesIn(kFilterCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EliteFilter, EntryTextCarriesTheAbbreviation)
{
    TestWorld w;
    const auto entries = FilterEliteEntries(w.elite, w.professions, w.campaigns, FreshPanel(w));
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front().text, QStringLiteral("alpha Burst [S]"));
}

TEST(EliteFilter, SkillOfAnUnknownProfessionShowsEmptyBrackets)
{
    TestWorld w;
    w.elite.EliteSkills[1].Profession = 200;
    const auto entries = FilterEliteEntries(w.elite, w.professions, w.campaigns, FreshPanel(w));
    EXPECT_EQ(entries.back().text, QStringLiteral("Zeta Strike []"));
}

struct PlacesCase {
    const char* name;
    void (*set)(const TestWorld&, PanelState&);
    int elite;
    std::vector<PanelEntry> expected;
};

class ElitePlaces : public ::testing::TestWithParam<PlacesCase> {};

TEST_P(ElitePlaces, ListsThePlacesThatPassTheFilters)
{
    TestWorld w;
    PanelState p = FreshPanel(w);
    GetParam().set(w, p);
    EXPECT_EQ(EliteLocationEntries(w.elite, w.campaigns, p, GetParam().elite), GetParam().expected);
}

const PlacesCase kPlacesCases[] = {
    {"AllPlacesWithNoCampaignChosen", [](const TestWorld&, PanelState&) {}, 5,
     {{"ashen Gate - North Vale - Alpha", 1}, {"Frost Hollow - Ice Coast - Alpha", 2}}},
    {"RegionLimitsPlaces", [](const TestWorld& w, PanelState& p) { ChooseRegion(w, p, 1, 2); }, 5,
     {{"Frost Hollow - Ice Coast - Alpha", 2}}},
    {"BossTextLimitsPlaces", [](const TestWorld&, PanelState& p) { p.txtEliteBossName = QStringLiteral("MOSS"); },
     5, {{"ashen Gate - North Vale - Alpha", 1}}},
    {"CampaignZeroSkillListsEveryPlace", [](const TestWorld& w, PanelState& p) { ChooseRegion(w, p, 0, 0); }, 3,
     {{"Frost Hollow - Ice Coast - Alpha", 1}}},
    {"SkillWithoutPlaces", [](const TestWorld&, PanelState&) {}, 4, {}},
    {"NumberOutsideTheCatalogue", [](const TestWorld&, PanelState&) {}, 77, {}},
};

INSTANTIATE_TEST_SUITE_P(Panel, ElitePlaces, ::testing::ValuesIn(kPlacesCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RegionFilter, ZoneIsTheIdOfTheIndexedZoneAndOnlyWithARegion)
{
    TestWorld w;
    PanelState p = FreshPanel(w);
    ChooseRegion(w, p, 1, 1, 11);
    EXPECT_EQ(p.ChosenZone(w.campaigns), 11);
    EXPECT_EQ(p.cmbZone.selectedData(), 2); // the zone's place in its region's list, not its Id

    Choose(p.cmbCampaign, 0); // campaign 0 forces region and zone to 0
    EXPECT_EQ(p.ChosenRegion(), 0);
    EXPECT_EQ(p.ChosenZone(w.campaigns), 0);
}

} // namespace

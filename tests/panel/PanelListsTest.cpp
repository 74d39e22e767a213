#include "panel/PanelOptions.h"
#include "panel/modPanelLists.h"

#include "../TestWorld.h"

#include <gtest/gtest.h>

namespace {

using namespace modPanelLists;

TEST(PanelLists, CampaignListSkipsNumbersWithoutAFolder)
{
    World w = TestWorld::PanelRules().world;
    w.campaigns.resize(4);
    w.campaigns[0].Name.clear();
    w.campaigns[1].Name = QStringLiteral("A");
    w.campaigns[3].Name = QStringLiteral("C");
    const auto fill = FillCampaignList(w.campaigns, w.language);
    const std::vector<PanelEntry> expected{{"<<< All >>>", -1}, {"A", 1}, {"C", 3}};
    EXPECT_EQ(fill.list.entries, expected);
    EXPECT_EQ(fill.list.selected, 0);
}

TEST(PanelLists, RegionListFollowsTheCampaignOrderAndIsDisabledWithoutCampaign)
{
    World w = TestWorld::PanelRules().world;
    w.campaigns[1].Regions.resize(9);
    for (int r = 3; r <= 8; ++r)
        w.campaigns[1].Regions[r].Name = QStringLiteral("R%1").arg(r);
    const auto fill = FillRegionList(w.campaigns, w.language, 1);
    EXPECT_TRUE(fill.enabled);
    ASSERT_EQ(fill.list.size(), 9);
    EXPECT_EQ(fill.list.entries[0], (PanelEntry{"<<< All >>>", 0}));
    EXPECT_EQ(fill.list.entries[1], (PanelEntry{"R8", 8})); // campaign 1 shows region 8 first

    const auto none = FillRegionList(w.campaigns, w.language, -1);
    EXPECT_FALSE(none.enabled);
    EXPECT_TRUE(none.list.empty());
}

TEST(PanelLists, ZoneListSortsNamesCaseBlindBelowTheFirstEntry)
{
    TestWorld t = TestWorld::PanelRules();
    t.zone(1, 1, 12, QStringLiteral("!Camp"));
    World& w = t.world;
    const std::vector<PanelEntry> expected{{"<<< All >>>", 0}, {"!Camp", 3}, {"ashen Gate", 2}, {"Thornwood", 1}};
    EXPECT_EQ(FillZoneList(w.campaigns, w.language, 1, 1).list.entries, expected);
    EXPECT_FALSE(FillZoneList(w.campaigns, w.language, 1, 0).enabled);

    w.campaigns[1].Regions.resize(4); // region 3 without zones: only the first entry
    w.campaigns[1].Regions[3].Name = QStringLiteral("Empty");
    EXPECT_TRUE(FillZoneList(w.campaigns, w.language, 1, 3).enabled);
    EXPECT_EQ(FillZoneList(w.campaigns, w.language, 1, 3).list.size(), 1);
}

TEST(PanelLists, AttributeComboOffersTheProfessionsAttributes)
{
    World w = TestWorld::PanelRules().world;
    const struct {
        const char* name;
        int profession;
        bool enabled;
        std::vector<PanelEntry> expected;
    } cases[] = {
        {"no profession disables", 0, false, {{"<<< All >>>", 0}}},
        {"attributes, then no attribute",
         1,
         true,
         {{"<<< All >>>", 0}, {"Hewing", 1}, {"Shieldcraft", 2}, {"No attribute", 99}}},
        {"a profession without attributes", 2, true, {{"<<< All >>>", 0}, {"No attribute", 99}}},
    };
    for (const auto& c : cases) {
        const auto fill = FillAttributeCombo(w.professions, w.language, c.profession);
        EXPECT_EQ(fill.enabled, c.enabled) << c.name;
        EXPECT_EQ(fill.list.entries, c.expected) << c.name;
    }
}

TEST(PanelLists, ProfessionAndCharacterCombos)
{
    World w = TestWorld::PanelRules().world;
    const auto secondary = FillProfessionCombo(w.professions, w.language, 96);
    const std::vector<PanelEntry> professions{
        {"<<< Any secondary >>>", 0}, {"Hearthguard", 1}, {"Seer", 2}, {"Mender", 3}};
    EXPECT_EQ(secondary.list.entries, professions);

    const auto characters = FillCharacterCombo(w.characters, w.language);
    const std::vector<PanelEntry> named{{"<<< All characters >>>", 0}, {"Ayla", 1}, {"Bren", 3}};
    EXPECT_EQ(characters.list.entries, named);
}

// ---- Settings from and to the live panel ---------------------------------

TEST(PanelOptions, SavedIndexesBeyondTheListAreNotApplied)
{
    for (auto [index, count, applied] : {std::tuple{3, 4, 3}, {4, 4, -1}, {-1, 4, -1}, {0, 0, -1}})
        EXPECT_EQ(PanelOptions::ApplicableIndex(index, count), applied) << index << " of " << count;
}

TEST(PanelOptions, SwitchesSurviveARoundTrip)
{
    modOptions::Settings s;
    s.AllElite = false;
    s.ShowGreens = 0;
    s.RightClickNeeded = 2;
    s.AlwaysOnTop = 1;
    s.CollectorLevel = 0;
    s.Legend = true;
    PanelState p;
    PanelOptions::ApplyToState(s, p);
    EXPECT_EQ(p.optCapture, 1);
    EXPECT_FALSE(p.chkShowObject[TabGreens]);
    EXPECT_TRUE(p.chkShowObject[TabNotes]);
    EXPECT_EQ(p.optCollLevel, 2);
    EXPECT_EQ(p.LegendState, 1);

    const auto back = PanelOptions::CollectSettings(p, s);
    EXPECT_EQ(std::tuple(back.AllElite, back.ShowGreens, back.RightClickNeeded, back.AlwaysOnTop, back.CollectorLevel),
              std::tuple(false, 0, 2, 1, 0));

    // Selections are entry indexes, none is -1; any hover mode beyond 1 is saved as 2.
    World w = TestWorld::PanelRules().world;
    p.cmbCampaign = FillCampaignList(w.campaigns, w.language).list;
    p.cmbCampaign.selected = 2;
    p.HoverMode = 7;
    s.PosX = 150;
    const auto chosen = PanelOptions::CollectSettings(p, s);
    EXPECT_EQ(std::tuple(chosen.Campaign, chosen.Region, chosen.Zone, chosen.RightClickNeeded, chosen.PosX),
              std::tuple(2, -1, -1, 2, 150));
}

} // namespace

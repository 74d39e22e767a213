// The rules of the collectors, greens, notes, treasures and pets tabs, one
// row per rule, each on a world of its own.
#include "../TestWorld.h"

#include "layers/CollectorLayer.h"
#include "layers/GreenLayer.h"
#include "panel/modCollectorsTab.h"
#include "panel/modGreensTab.h"
#include "panel/modNotesTab.h"
#include "panel/modTreasuresPetsTab.h"

#include <gtest/gtest.h>

#include <functional>

using std::vector;

namespace {

struct Rule {
    const char* name;
    std::function<void(TestWorld&)> check;
};

void RunRules(std::initializer_list<Rule> rules)
{
    for (const Rule& rule : rules) {
        SCOPED_TRACE(rule.name);
        TestWorld t = TestWorld::Collectibles();
        rule.check(t);
    }
}

vector<int> Collectors(TestWorld& t)
{
    return DataOf(modCollectorsTab::FilterCollectorEntries(t.world, t.panel));
}

TEST(TabRules, Collectors)
{
    RunRules({
        {"the reward search matches any reward line, case-blind, not trimmed",
         [](TestWorld& t) {
             t.collector(1, "Smith", 1, 1, 10, 20, 20,
                         {{"Plain Blade", 1, {"Damage 5"}}, {"Fine Axe", 1, {"   ", "Armor +10 vs. Fire"}}});
             t.collector(2, "Tailor", 1, 1, 10, 40, 20, {{"Scarf", 1, {"Energy +5"}}});
             const struct {
                 const char* search;
                 vector<int> listed;
             } rows[] = {{"ARMOR +10", {1}}, {"fine axe", {1}}, {"energy", {2}}, {"armor  ", {}}, {" +5", {2}}};
             for (const auto& row : rows) {
                 t.panel.txtCollSearch = QString::fromLatin1(row.search);
                 EXPECT_EQ(Collectors(t), row.listed) << row.search;
             }
         }},
        {"the request list holds the trophies of the chosen level, sorted, after the first entry",
         [](TestWorld& t) {
             t.world.collectors.RequestTypes = {{}, {"Wolf Pelts", 1}, {"amber Eyes", 0}, {"Bone Charms", 1}};
             const PanelList all = modCollectorsTab::FillCollectorRequests(t.world, 0);
             ASSERT_EQ(all.size(), 4);
             EXPECT_EQ(all.selected, 0);
             EXPECT_EQ(all.entries[0].text, QStringLiteral("<<< All >>>"));
             EXPECT_EQ(DataOf(all.entries), (vector<int>{0, 2, 3, 1}));
             EXPECT_EQ(DataOf(modCollectorsTab::FillCollectorRequests(t.world, 1).entries), (vector<int>{0, 3, 1}));
             EXPECT_EQ(DataOf(modCollectorsTab::FillCollectorRequests(t.world, 2).entries), (vector<int>{0, 2}));
         }},
        {"armour resets the hand filter once without running the collector filter twice",
         [](TestWorld& t) {
             t.panel.cmbCollHand = modCollectorsTab::FillCollectorHands(t.world);
             t.panel.cmbCollHand.selected = 3;
             EXPECT_TRUE(modCollectorsTab::ChooseCollectorType(t.panel, 1)) << "weapons keep the hand combo";
             EXPECT_EQ(t.panel.cmbCollHand.selected, 3);
             EXPECT_FALSE(modCollectorsTab::ChooseCollectorType(t.panel, 2)) << "armour disables it";
             EXPECT_EQ(t.panel.cmbCollHand.selected, 0);
             EXPECT_EQ(t.panel.optCollType, 2);
             EXPECT_TRUE(t.panel.Ready) << "the panel stays ready";
         }},
        {"collectors sort case-blind and the area reaches down to the zone",
         [](TestWorld& t) {
             t.collector(1, "zed", 1, 1, 10, 20, 20, {{"A", 1, {}}});
             t.collector(2, "Abe", 1, 1, 11, 40, 20, {{"A", 1, {}}});
             t.collector(3, "Mo", 1, 2, 0, 40, 20, {{"A", 1, {}}});
             EXPECT_EQ(Collectors(t), (vector<int>{2, 3, 1}));
             t.area(1, 1);
             EXPECT_EQ(Collectors(t), (vector<int>{2, 1}));
             t.area(1, 1, 2); // position 2 of North Vale's zones: Ashen Gate (11)
             EXPECT_EQ(Collectors(t), (vector<int>{2}));
         }},
        {"a chosen collector centres its region; a campaign without region list leaves the map",
         [](TestWorld& t) {
             t.collector(1, "Here", 1, 2, 0, 70, 80, {{"A", 1, {}}});
             t.collector(2, "Bare", 2, 1, 0, 70, 80, {{"A", 1, {}}});
             ListInto(t.panel.lstCollectors, {1, 2});
             t.panel.lstCollectors.selected = 0;
             EXPECT_EQ(modCollectorsTab::SelectCollector(t.world, t.panel),
                       (modTabRules::MapTarget{1, 2, "/maps/ice.jpg", {70, 80}}));
             t.panel.lstCollectors.selected = 1;
             EXPECT_FALSE(modCollectorsTab::SelectCollector(t.world, t.panel));
             t.panel.lstCollectors.selected = -1;
             EXPECT_FALSE(modCollectorsTab::SelectCollector(t.world, t.panel));
         }},
    });
}

TEST(TabRules, Greens)
{
    RunRules({
        {"greens under a listed boss draw a bar, others a marker",
         [](TestWorld& t) {
             t.place(0, 1, 1, 10, 10);
             t.place(1, 1, 1, 30, 10);
             t.place(2, 1, 1, 50, 10);
             const int noSkill = t.green("Stray", 0, 1), listed = t.green("Listed", 1, 1),
                       unlisted = t.green("Unlisted", 2, 1);
             ListInto(t.panel.lstElite, {1});
             using greenlayer::GreenMark;
             EXPECT_EQ(greenlayer::GreenMarkOf(t.world, t.panel, listed), GreenMark::Bar);
             EXPECT_EQ(greenlayer::GreenMarkOf(t.world, t.panel, unlisted), GreenMark::Marker);
             EXPECT_EQ(greenlayer::GreenMarkOf(t.world, t.panel, noSkill), GreenMark::Bar);
             t.panel.chkShowObject[TabElite] = false;
             EXPECT_EQ(greenlayer::GreenMarkOf(t.world, t.panel, listed), GreenMark::Marker);
             EXPECT_EQ(greenlayer::GreenMarkOf(t.world, t.panel, noSkill), GreenMark::Marker);
         }},
        {"only linked items of the area are listed, sorted case-blind",
         [](TestWorld& t) {
             t.place(1, 1, 1, 30, 10, QStringLiteral("Boss"), QString(), 10);
             t.place(1, 1, 2, 30, 10);
             t.green("zeal", 1, 1);
             t.green("Amber", 1, 2);
             modGreens::GreenItem unlinked;
             unlinked.Name = "Lost";
             t.world.greens.Greens.push_back(unlinked);
             const auto list = [&] { return DataOf(modGreensTab::FilterGreenEntries(t.world, t.panel)); };
             EXPECT_EQ(list(), (vector<int>{2, 1}));
             t.area(1, 1, 1);
             EXPECT_EQ(list(), (vector<int>{1}));
         }},
        {"a chosen green centres its boss",
         [](TestWorld& t) {
             t.place(1, 1, 2, 33, 44);
             t.green("Item", 1, 1);
             ListInto(t.panel.lstGreens, {1});
             t.panel.lstGreens.selected = 0;
             EXPECT_EQ(modGreensTab::SelectGreen(t.world, t.panel),
                       (modTabRules::MapTarget{1, 2, "/maps/ice.jpg", {33, 44}}));
         }},
    });
}

TEST(TabRules, NotesTreasuresPets)
{
    RunRules({
        {"notes sort case-blind and deleted notes are not listed",
         [](TestWorld& t) {
             t.note("bridge", "", 1, 1, 10, 10);
             t.note("Anchor", "", 1, 1, 10, 10);
             t.note("", "deleted", 1, 1, 10, 10);
             t.note("Cave", "", 1, 1, 10, 10);
             EXPECT_EQ(DataOf(modNotesTab::FilterNoteEntries(t.world, t.panel)), (vector<int>{2, 1, 4}));
         }},
        {"treasures keep file order and show their zone",
         [](TestWorld& t) {
             t.chest("Zinc Chest", 1, 30, 10, 10);
             t.chest("Amber Chest", 1, 30, 20, 10);
             const auto entries = modTreasuresPetsTab::FilterTreasureEntries(t.world, t.panel);
             EXPECT_EQ(DataOf(entries), (vector<int>{1, 2}));
             EXPECT_EQ(entries[0].text, QStringLiteral("Zinc Chest (Dune Camp)"));
             t.area(1);
             EXPECT_TRUE(modTreasuresPetsTab::FilterTreasureEntries(t.world, t.panel).empty());
         }},
        {"pets list in identifier order, only with a place in the area",
         [](TestWorld& t) {
             t.pet(3, "Ant", {{1, 1, 10, 5, 5}});
             t.pet(1, "Yak", {{1, 2, 0, 5, 5}});
             t.pet(2, "Boar", {});
             const auto list = [&] { return DataOf(modTreasuresPetsTab::FilterPetEntries(t.world, t.panel)); };
             EXPECT_EQ(list(), (vector<int>{1, 3}));
             t.area(1, 1);
             EXPECT_EQ(list(), (vector<int>{3}));
         }},
        {"a chosen pet lists its places of the area in file order and selects the first",
         [](TestWorld& t) {
             t.pet(1, "Yak", {{1, 2, 0, 5, 5}, {1, 1, 11, 6, 6}, {1, 1, 10, 7, 7}});
             t.area(1, 1);
             ListInto(t.panel.lstPets, {1});
             EXPECT_TRUE(modTreasuresPetsTab::SelectPet(t.world, t.panel, 0));
             EXPECT_EQ(DataOf(t.panel.lstPetLocations.entries), (vector<int>{2, 3}));
             EXPECT_EQ(t.panel.lstPetLocations.entries[0].text, QStringLiteral("Ashen Gate - North Vale - Amber"));
             EXPECT_EQ(t.panel.lstPetLocations.selected, 0);
             EXPECT_EQ(modTreasuresPetsTab::SelectPetPlace(t.world, t.panel),
                       (modTabRules::MapTarget{1, 1, "/maps/north.jpg", {6, 6}}));
         }},
        {"treasures and pets share tab 4 and at most one of their lists holds a selection",
         [](TestWorld& t) {
             t.chest("Chest", 1, 30, 10, 10);
             t.pet(1, "Yak", {{3, 1, 30, 5, 5}});
             ListInto(t.panel.lstVarshaTreasures, {1});
             ListInto(t.panel.lstPets, {1});
             modTreasuresPetsTab::ChooseTreasure(t.panel, 0);
             modTreasuresPetsTab::SelectPet(t.world, t.panel, 0);
             EXPECT_FALSE(t.panel.lstVarshaTreasures.hasSelection()) << "the pet's place took the selection";
             EXPECT_TRUE(t.panel.lstPetLocations.hasSelection());
             modTreasuresPetsTab::ChooseTreasure(t.panel, 0);
             EXPECT_TRUE(t.panel.lstVarshaTreasures.hasSelection());
             EXPECT_FALSE(t.panel.lstPetLocations.hasSelection());
             EXPECT_FALSE(t.panel.lstPets.hasSelection());
             EXPECT_EQ(modTreasuresPetsTab::SelectTreasure(t.world, t.panel),
                       (modTabRules::MapTarget{3, 1, "/maps/varsha.jpg", {10, 10}}));
         }},
    });
}

} // namespace

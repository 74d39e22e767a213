// Which stops a route visits, read from the panel's lists as the tabs fill
// them; the next region with stops left; where a route starts; the copied
// text; the route followed as stops are done, passed and brought back.

#include "../TestWorld.h"

#include "panel/modCollectorsTab.h"
#include "panel/modEliteTab.h"
#include "panel/modGreensTab.h"
#include "panel/modNotesTab.h"
#include "panel/modTreasuresPetsTab.h"
#include "route/RouteFollow.h"
#include "route/RouteStops.h"
#include "route/RouteText.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

using route::RouteStop;
using route::StopKind;

// Campaign 1 "Amber" (regions 1 "North Vale" with zones 10 "Thornwood" and
// 11 "Ashen Gate", 2 "Ice Coast") and campaign 3 "Emberwake" (region 1
// "Varsha", zone 30 "Dune Camp"). Ayla (1) captured skill 1, Bren (2) opened
// chest 1.
TestWorld RouteWorld()
{
    TestWorld t = TestWorld::Collectibles();
    t.skill(1, QStringLiteral("Oaken Resolve"), 1)
        .skill(2, QStringLiteral("Quick Eye"), 1)
        .skill(3, QStringLiteral("Sand Step"), 1, 3);
    t.place(1, 1, 1, 100, 100, QStringLiteral("Grim Orc"), QString(), 10); // location 1
    t.place(1, 1, 2, 50, 60, QStringLiteral("Ice Queen"));                 // location 2
    const int mossback = t.place(2, 1, 1, 200, 120, QStringLiteral("Mossback"), QString(), 11);
    t.place(3, 3, 1, 400, 400, QStringLiteral("Dune Lord"), QString(), 30);
    for (auto& s : t.world.elite.EliteSkills)
        s.Captured.assign(3, false);
    t.world.elite.EliteSkills[1].Captured[1] = true;

    t.chest(QStringLiteral("Sand Chest"), 1, 30, 300, 300);
    t.chest(QStringLiteral("Old Chest"), 1, 0, 600, 300);
    t.world.treasures.Treasures[1].OpenedOn[2] = QDate(2020, 5, 1);

    t.collector(1, QStringLiteral("Tamsin"), 1, 1, 10, 150, 150, {{"Blade", 1, {}}});
    t.green(QStringLiteral("Mossy Ring"), 2, mossback);
    t.pet(1, QStringLiteral("Dune Fox"), {{3, 1, 30, 700, 700}, {1, 1, 10, 20, 30}});
    t.note(QStringLiteral("Cave\tmouth"), QString(), 1, 1, 80, 90);

    const std::vector<PanelEntry> characters = {{"All", 0}, {"Ayla", 1}, {"Bren", 2}};
    t.panel.cmbCharacter.entries = characters;
    t.panel.cmbTreasureCharacter.entries = characters;
    t.panel.cmbTreasureCharacter.selected = 0;
    return t;
}

// The panel's lists as the tabs fill them for the choices made.
void Filter(TestWorld& t)
{
    const World& w = t.world;
    PanelState& p = t.panel;
    p.lstElite.entries = modEliteTab::FilterEliteEntries(w.elite, w.professions, w.campaigns, p);
    p.lstVarshaTreasures.entries = modTreasuresPetsTab::FilterTreasureEntries(w, p);
    p.lstCollectors.entries = modCollectorsTab::FilterCollectorEntries(w, p);
    p.lstGreens.entries = modGreensTab::FilterGreenEntries(w, p);
    p.lstPets.entries = modTreasuresPetsTab::FilterPetEntries(w, p);
    p.lstNotes.entries = modNotesTab::FilterNoteEntries(w, p);
}

// What the panel is set to: the area (campaign -1 = all), the every-layer
// switch, the tabs hidden (bits by tab), the characters chosen in "Not yet
// captured by" and "Not yet opened by", done ones dimmed, the boss text.
struct Choice {
    int c = -1, r = 0, z = 0;
    bool every = false;
    unsigned hidden = 0;
    int notCapturedBy = 0, notOpenedBy = 0;
    bool dim = false;
    const char* boss = "";
};

void Choose(TestWorld& t, const Choice& c)
{
    t.area(c.c, c.r, c.z);
    t.panel.RouteEveryLayer = c.every;
    for (int tab = 0; tab < TabCount; ++tab)
        t.panel.chkShowObject[std::size_t(tab)] = !(c.hidden >> tab & 1U);
    t.panel.optCapture = c.notCapturedBy > 0 ? 1 : 0;
    t.panel.cmbCharacter.selected = c.notCapturedBy;
    t.panel.cmbTreasureCharacter.selected = c.notOpenedBy;
    t.panel.EliteDoneDim = t.panel.ChestDoneDim = c.dim;
    t.panel.txtEliteBossName = QString::fromLatin1(c.boss);
    Filter(t);
}

// Each stop as kind letter, item.place@x,y, separated by blanks.
std::string Visits(const std::vector<RouteStop>& stops)
{
    std::string out;
    for (const RouteStop& s : stops)
        out += (out.empty() ? "" : " ") + std::string(1, "ECKGPN"[int(s.Kind)]) + std::to_string(s.Item) + '.' +
               std::to_string(s.Place) + '@' + std::to_string(s.At.x()) + ',' + std::to_string(s.At.y());
    return out;
}

constexpr unsigned Hide(int tab)
{
    return 1U << tab;
}

TEST(RouteStops, WhatTheRouteVisits)
{
    const struct {
        const char* name;
        Choice choice;
        int c, r; // the region shown
        const char* expected;
    } cases[] = {
        {"skills of the region only, by default", {}, 1, 1, "E1.1@100,100 E2.1@200,120"},
        {"every layer",
         {.every = true},
         1,
         1,
         "E1.1@100,100 E2.1@200,120 K1.0@150,150 G1.0@200,120 P1.2@20,30 N1.0@80,90"},
        {"elite layer hidden", {.hidden = Hide(TabElite)}, 1, 1, ""},
        {"every layer, notes and collectors hidden",
         {.every = true, .hidden = Hide(TabNotes) | Hide(TabCollectors)},
         1,
         1,
         "E1.1@100,100 E2.1@200,120 G1.0@200,120 P1.2@20,30"},
        {"not yet captured by Ayla, done hidden", {.notCapturedBy = 1}, 1, 1, "E2.1@200,120"},
        {"not yet captured by Ayla, done dimmed", {.notCapturedBy = 1, .dim = true}, 1, 1, "E2.1@200,120"},
        {"boss text keeps its places only", {.boss = "grim"}, 1, 1, "E1.1@100,100"},
        {"zone chosen",
         {.c = 1, .r = 1, .z = 1, .every = true},
         1,
         1,
         "E1.1@100,100 K1.0@150,150 P1.2@20,30 N1.0@80,90"},
        {"the other place of a skill", {.c = 1}, 1, 2, "E1.2@50,60"},
        {"chests of the treasure map", {.c = 3, .r = 1}, 3, 1, "E3.1@400,400 C1.0@300,300 C2.0@600,300"},
        {"not yet opened by Bren", {.c = 3, .r = 1, .notOpenedBy = 2}, 3, 1, "E3.1@400,400 C2.0@600,300"},
        {"not yet opened by Bren, dimmed",
         {.c = 3, .r = 1, .notOpenedBy = 2, .dim = true},
         3,
         1,
         "E3.1@400,400 C2.0@600,300"},
        {"chests hidden take the pets along",
         {.c = 3, .r = 1, .every = true, .hidden = Hide(TabTreasuresPets)},
         3,
         1,
         "E3.1@400,400"},
        {"a region the lists do not cover", {.c = 1, .r = 1}, 3, 1, ""},
    };
    for (const auto& c : cases) {
        TestWorld t = RouteWorld();
        Choose(t, c.choice);
        EXPECT_EQ(Visits(route::RouteStops(t.world, t.panel, c.c, c.r)), c.expected) << c.name;
    }
}

TEST(RouteStops, NextRegionWithStopsLeft)
{
    const struct {
        const char* name;
        Choice choice;
        int c, r;             // the region shown
        const char* expected; // campaign/region: stops
    } cases[] = {
        {"the other region of the chosen campaign", {.c = 1, .r = 1}, 1, 1, "1/2: 1"},
        {"all campaigns: the most stops", {}, 1, 1, "3/1: 3"},
        {"the current region never", {}, 3, 1, "1/1: 2"},
        {"what the character still lacks", {.c = 1, .r = 2, .notCapturedBy = 1}, 1, 2, "1/1: 1"},
        {"with every layer", {.every = true}, 3, 1, "1/1: 6"},
        {"a zone chosen does not narrow other regions", {.c = 1, .r = 1, .z = 1}, 3, 1, "1/1: 2"},
        {"nothing left elsewhere", {.c = 3, .r = 1}, 3, 1, "none"},
    };
    for (const auto& c : cases) {
        TestWorld t = RouteWorld();
        Choose(t, c.choice);
        const auto next = route::NextRegionWithStops(t.world, t.panel, c.c, c.r);
        EXPECT_EQ(next ? QStringLiteral("%1/%2: %3").arg(next->Campaign).arg(next->Region).arg(next->Stops)
                       : QStringLiteral("none"),
                  QString::fromLatin1(c.expected))
            << c.name;
    }
}

TEST(RouteStops, CopiedTextAndStart)
{
    TestWorld t = RouteWorld();
    Choose(t, {.every = true});
    const std::vector<RouteStop> stops = route::RouteStops(t.world, t.panel, 1, 1);
    EXPECT_EQ(route::RouteText(stops, {5, 1, 7, 0, 2, 3, 4}),
              QStringLiteral("1\tNote\tCave mouth\tNorth Vale\t80\t90\n"
                             "2\tElite skill\tQuick Eye [H]\tAshen Gate - North Vale\t200\t120\n"
                             "3\tElite skill\tOaken Resolve [H]\tThornwood - North Vale\t100\t100\n"
                             "4\tCollector\tTamsin\tThornwood - North Vale\t150\t150\n"
                             "5\tGreen item\tMossy Ring\tAshen Gate - North Vale\t200\t120\n"
                             "6\tPet\tDune Fox\tThornwood - North Vale\t20\t30\n"));

    modOptions::Settings settings;
    settings.RouteStarts[{1, 2}] = QPoint(5, 6);
    EXPECT_EQ(route::RouteStart(settings, 1, 2, stops, {0, 0}), QPointF(5, 6)) << "set for the region";
    EXPECT_EQ(route::RouteStart(settings, 1, 1, stops, {190, 170}), QPointF(150, 150)) << "nearest the centre";
    EXPECT_EQ(route::RouteStart(settings, 1, 1, {}, {190, 170}), std::nullopt) << "no stops";
}

RouteStop Stop(StopKind kind, int item, int place, int x)
{
    RouteStop s;
    std::tie(s.Kind, s.Item, s.Place, s.At) = std::tuple(kind, item, place, QPoint(x, 0));
    s.Name = QStringLiteral("%1/%2").arg(item).arg(place);
    return s;
}

// Start at 0; a skill at 100, a pet's two places at 200 and 300, a chest at
// 400: each step and the line the route then shows.
TEST(RouteFollow, DoneAheadPassedAndBack)
{
    const RouteStop skill = Stop(StopKind::EliteSkill, 1, 1, 100), pet1 = Stop(StopKind::Pet, 2, 1, 200),
                    pet2 = Stop(StopKind::Pet, 2, 2, 300), chest = Stop(StopKind::Chest, 1, 0, 400);
    route::RouteFollow follow;
    auto line = [&] { return follow.NextLine().toStdU16String(); };
    follow.Start({0, 0}, {chest, pet2, skill, pet1});
    EXPECT_EQ(line(), u"Next: 1/1 \u2014 4 of 4 stops left, 100 px") << "planned";
    follow.Refresh({chest, pet2, pet1});
    EXPECT_EQ(line(), u"Next: 2/1 \u2014 3 of 4 stops left, 100 px") << "the next one done: stands there";
    EXPECT_TRUE(follow.PassNext());
    EXPECT_EQ(line(), u"Next: 2/2 \u2014 2 of 4 stops left, 100 px") << "passed";
    follow.Refresh({pet1, pet2});
    EXPECT_EQ(line(), u"Next: 2/2 \u2014 1 of 4 stops left, 100 px") << "one ahead done";
    EXPECT_TRUE(follow.StepBack());
    EXPECT_EQ(line(), u"Next: 2/1 \u2014 2 of 4 stops left, 100 px") << "stepped back";
    follow.Refresh({chest, pet2, skill, pet1});
    EXPECT_EQ(line(), u"Next: 1/1 \u2014 4 of 4 stops left, 0 px") << "both undone";
    EXPECT_TRUE(follow.PassNext() && follow.PassNext() && follow.PassNext());
    EXPECT_EQ(line(), u"Next: 1/0 \u2014 1 of 4 stops left, 100 px") << "passed to the end";
    EXPECT_TRUE(follow.PassNext() && !follow.PassNext());
    EXPECT_EQ(line(), u"") << "none left";
    EXPECT_EQ(follow.Walk(), (std::vector<RouteStop>{skill, pet1, pet2, chest}));
    EXPECT_EQ(follow.NextIndex(), -1);
}

} // namespace

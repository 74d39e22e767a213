// Which stops a route visits, read from the panel's lists as the tabs fill
// them; the next region with stops left; where a route starts; the copied
// text and the next-stop line.

#include "../TestWorld.h"

#include "panel/modCollectorsTab.h"
#include "panel/modEliteTab.h"
#include "panel/modGreensTab.h"
#include "panel/modNotesTab.h"
#include "panel/modTreasuresPetsTab.h"
#include "route/RouteStops.h"
#include "route/RouteText.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
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
    t.note(QStringLiteral("Cave"), QString(), 1, 1, 80, 90);

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

struct Visit {
    StopKind kind;
    int item, place, x, y;
    friend bool operator==(const Visit&, const Visit&) = default;
};

std::ostream& operator<<(std::ostream& os, const Visit& v)
{
    return os << route::KindText(v.kind).toStdString() << ' ' << v.item << '/' << v.place << " at " << v.x << ','
              << v.y;
}

std::vector<Visit> Visits(const std::vector<RouteStop>& stops)
{
    std::vector<Visit> out;
    for (const RouteStop& s : stops)
        out.push_back({s.Kind, s.Item, s.Place, s.At.x(), s.At.y()});
    return out;
}

void AylaNotCaptured(TestWorld& t)
{
    t.panel.optCapture = 1;
    t.panel.cmbCharacter.selected = 1;
}

TEST(RouteStops, WhatTheRouteVisits)
{
    constexpr StopKind E = StopKind::EliteSkill, C = StopKind::Chest, K = StopKind::Collector, G = StopKind::GreenItem,
                       P = StopKind::Pet, N = StopKind::Note;
    const struct {
        const char* name;
        std::function<void(TestWorld&)> choose;
        int c, r; // the region shown
        std::vector<Visit> expected;
    } cases[] = {
        {"skills of the region only, by default",
         [](TestWorld& t) { t.area(-1); },
         1,
         1,
         {{E, 1, 1, 100, 100}, {E, 2, 1, 200, 120}}},
        {"every layer",
         [](TestWorld& t) {
             t.area(-1);
             t.panel.RouteEveryLayer = true;
         },
         1,
         1,
         {{E, 1, 1, 100, 100},
          {E, 2, 1, 200, 120},
          {K, 1, 0, 150, 150},
          {G, 1, 0, 200, 120},
          {P, 1, 2, 20, 30},
          {N, 1, 0, 80, 90}}},
        {"elite layer hidden",
         [](TestWorld& t) {
             t.area(-1);
             t.panel.chkShowObject[TabElite] = false;
         },
         1,
         1,
         {}},
        {"every layer but notes and collectors hidden",
         [](TestWorld& t) {
             t.area(-1);
             t.panel.RouteEveryLayer = true;
             t.panel.chkShowObject[TabNotes] = t.panel.chkShowObject[TabCollectors] = false;
         },
         1,
         1,
         {{E, 1, 1, 100, 100}, {E, 2, 1, 200, 120}, {G, 1, 0, 200, 120}, {P, 1, 2, 20, 30}}},
        {"not yet captured by Ayla, done hidden",
         [](TestWorld& t) {
             t.area(-1);
             AylaNotCaptured(t);
         },
         1,
         1,
         {{E, 2, 1, 200, 120}}},
        {"not yet captured by Ayla, done dimmed",
         [](TestWorld& t) {
             t.area(-1);
             AylaNotCaptured(t);
             t.panel.EliteDoneDim = true;
         },
         1,
         1,
         {{E, 2, 1, 200, 120}}},
        {"boss text keeps its places only",
         [](TestWorld& t) {
             t.area(-1);
             t.panel.txtEliteBossName = "grim";
         },
         1,
         1,
         {{E, 1, 1, 100, 100}}},
        {"zone chosen",
         [](TestWorld& t) {
             t.area(1, 1, 1);
             t.panel.RouteEveryLayer = true;
         },
         1,
         1,
         {{E, 1, 1, 100, 100}, {K, 1, 0, 150, 150}, {P, 1, 2, 20, 30}, {N, 1, 0, 80, 90}}},
        {"the other place of a skill", [](TestWorld& t) { t.area(1); }, 1, 2, {{E, 1, 2, 50, 60}}},
        {"chests of the treasure map",
         [](TestWorld& t) { t.area(3, 1); },
         3,
         1,
         {{E, 3, 1, 400, 400}, {C, 1, 0, 300, 300}, {C, 2, 0, 600, 300}}},
        {"not yet opened by Bren",
         [](TestWorld& t) {
             t.area(3, 1);
             t.panel.cmbTreasureCharacter.selected = 2;
         },
         3,
         1,
         {{E, 3, 1, 400, 400}, {C, 2, 0, 600, 300}}},
        {"not yet opened by Bren, done dimmed",
         [](TestWorld& t) {
             t.area(3, 1);
             t.panel.cmbTreasureCharacter.selected = 2;
             t.panel.ChestDoneDim = true;
         },
         3,
         1,
         {{E, 3, 1, 400, 400}, {C, 2, 0, 600, 300}}},
        {"chests hidden take the pets along",
         [](TestWorld& t) {
             t.area(3, 1);
             t.panel.RouteEveryLayer = true;
             t.panel.chkShowObject[TabTreasuresPets] = false;
         },
         3,
         1,
         {{E, 3, 1, 400, 400}}},
        {"a region the lists do not cover", [](TestWorld& t) { t.area(1, 1); }, 3, 1, {}},
    };
    for (const auto& c : cases) {
        TestWorld t = RouteWorld();
        c.choose(t);
        Filter(t);
        EXPECT_EQ(Visits(route::RouteStops(t.world, t.panel, c.c, c.r)), c.expected) << c.name;
    }
}

TEST(RouteStops, NamesAndPlacesAsListed)
{
    TestWorld t = RouteWorld();
    t.area(-1);
    t.panel.RouteEveryLayer = true;
    Filter(t);
    const std::vector<RouteStop> stops = route::RouteStops(t.world, t.panel, 1, 1);
    ASSERT_EQ(stops.size(), 6u);
    // skill, then collector, green, pet and note: the names their lists show
    const char* names[] = {"Oaken Resolve [H]", "Quick Eye [H]", "Tamsin", "Mossy Ring", "Dune Fox", "Cave"};
    const char* zones[] = {"Thornwood", "Ashen Gate", "Thornwood", "Ashen Gate", "Thornwood", ""};
    for (std::size_t i = 0; i < stops.size(); ++i) {
        EXPECT_EQ(stops[i].Name, QString::fromLatin1(names[i])) << i;
        EXPECT_EQ(stops[i].ZoneName, QString::fromLatin1(zones[i])) << i;
        EXPECT_EQ(stops[i].RegionName, QStringLiteral("North Vale")) << i;
    }
}

TEST(RouteStops, NextRegionWithStopsLeft)
{
    using route::RegionCount;
    const struct {
        const char* name;
        std::function<void(TestWorld&)> choose;
        int c, r; // the region shown
        std::optional<RegionCount> expected;
    } cases[] = {
        {"the other region of the chosen campaign", [](TestWorld& t) { t.area(1, 1); }, 1, 1, RegionCount{1, 2, 1}},
        {"all campaigns: the most stops", [](TestWorld& t) { t.area(-1); }, 1, 1, RegionCount{3, 1, 3}},
        {"the current region never", [](TestWorld& t) { t.area(-1); }, 3, 1, RegionCount{1, 1, 2}},
        {"what the character still lacks",
         [](TestWorld& t) {
             t.area(1, 2);
             AylaNotCaptured(t);
         },
         1, 2, RegionCount{1, 1, 1}},
        {"with every layer",
         [](TestWorld& t) {
             t.area(-1, 0);
             t.panel.RouteEveryLayer = true;
         },
         3, 1, RegionCount{1, 1, 6}},
        {"a zone chosen does not narrow other regions", [](TestWorld& t) { t.area(1, 1, 1); }, 3, 1,
         RegionCount{1, 1, 2}},
        {"nothing left elsewhere", [](TestWorld& t) { t.area(3, 1); }, 3, 1, std::nullopt},
    };
    for (const auto& c : cases) {
        TestWorld t = RouteWorld();
        c.choose(t);
        Filter(t);
        const std::optional<RegionCount> next = route::NextRegionWithStops(t.world, t.panel, c.c, c.r);
        ASSERT_EQ(next.has_value(), c.expected.has_value()) << c.name;
        if (next) {
            EXPECT_EQ(*next, *c.expected)
                << c.name << ": " << next->Campaign << '/' << next->Region << ' ' << next->Stops;
        }
    }
}

RouteStop Stop(StopKind kind, int item, int place, const char* name, int x, int y)
{
    RouteStop s;
    std::tie(s.Kind, s.Item, s.Place, s.Name, s.At) =
        std::tuple(kind, item, place, QString::fromLatin1(name), QPoint(x, y));
    return s;
}

TEST(RouteStops, StartAndCarriedOrder)
{
    const std::vector<RouteStop> stops = {
        Stop(StopKind::EliteSkill, 4, 1, "A", 100, 100), Stop(StopKind::Chest, 4, 0, "B", 300, 100),
        Stop(StopKind::Pet, 2, 3, "C", 500, 100), Stop(StopKind::Pet, 2, 1, "D", 700, 100)};
    modOptions::Settings settings;
    settings.RouteStarts[{1, 2}] = QPoint(5, 6);
    EXPECT_EQ(route::RouteStart(settings, 1, 2, stops, {0, 0}), QPointF(5, 6)) << "set for the region";
    EXPECT_EQ(route::RouteStart(settings, 2, 1, stops, {420, 900}), QPointF(500, 100)) << "nearest the centre";
    EXPECT_EQ(route::RouteStart(settings, 2, 1, {}, {420, 900}), std::nullopt) << "no stops";

    // Walked D, A, C, B; the chest taken away and a new skill place at the front.
    const std::vector<RouteStop> walked = {stops[3], stops[0], stops[2], stops[1]};
    const std::vector<RouteStop> now = {Stop(StopKind::EliteSkill, 4, 2, "E", 0, 0), stops[0], stops[2], stops[3]};
    EXPECT_EQ(route::CarriedOrder(walked, now), (std::vector<int>{3, 1, 2}));
}

TEST(RouteText, CopiedLinesAndNextLine)
{
    std::vector<RouteStop> stops(3);
    stops[0] = {StopKind::EliteSkill, 1, 1, "Oaken Resolve [H]", {100, 120}, 1, 1, "North Vale", "Thornwood"};
    stops[1] = {StopKind::Note, 4, 0, "Cave\tby the\r\nsea", {80, 9}, 1, 1, "North Vale", ""};
    stops[2] = {StopKind::Chest, 2, 0, "Old Chest (Dune Camp)", {600, 3000}, 3, 1, "Varsha", "Dune Camp"};
    EXPECT_EQ(route::RouteText(stops, {2, 0, 7, 1}),
              QStringLiteral("1\tChest\tOld Chest (Dune Camp)\tDune Camp - Varsha\t600\t3000\n"
                             "2\tElite skill\tOaken Resolve [H]\tThornwood - North Vale\t100\t120\n"
                             "3\tNote\tCave by the  sea\tNorth Vale\t80\t9\n"));
    EXPECT_EQ(route::RouteText(stops, {}), QString());

    const struct {
        const char* name;
        double distance;
        const char16_t* expected;
    } lines[] = {
        {"rounded to whole pixels", 340.5, u"Next: Grim Orc %2 \u2014 7 of 12 stops left, 341 px"},
        {"no distance", 0.0, u"Next: Grim Orc %2 \u2014 7 of 12 stops left, 0 px"},
        {"not a number", std::nan(""), u"Next: Grim Orc %2 \u2014 7 of 12 stops left, 0 px"},
    };
    for (const auto& l : lines)
        EXPECT_EQ(route::NextStopLine(QStringLiteral("Grim Orc %2"), 7, 12, l.distance), QString::fromUtf16(l.expected))
            << l.name;
}

} // namespace

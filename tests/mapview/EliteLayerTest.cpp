#include "../TestWorld.h"

#include "elite/EliteLayer.h"
#include "mapview/MapResources.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace elitelayer;

namespace {

const QColor kBackground(40, 80, 40);

QImage DrawOn(const TestWorld& t, int c, int r)
{
    QImage map = PlainMap(120, 100, kBackground);
    DrawElites(map, t.world, t.panel, c, r);
    return map;
}

// Pixels of a 13 x 13 box from (left, top) (the hit area X-6 .. X+6, edges
// included): black rim, `fill` inside, and the background just outside on
// every side.
void ExpectBox(const QImage& map, int left, int top, QColor fill, const char* name)
{
    const int right = left + 12, bottom = top + 12;
    for (int y = top - 1; y <= bottom + 1; ++y)
        for (int x = left - 1; x <= right + 1; ++x) {
            const bool outside = x < left || y < top || x > right || y > bottom;
            const bool rim = !outside && (x == left || y == top || x == right || y == bottom);
            if ((x < left || x > right) && (y < top || y > bottom))
                continue; // the corners just outside may hold anything
            ASSERT_EQ(map.pixel(x, y), outside ? kBackground.rgb()
                                       : rim   ? qRgb(0, 0, 0)
                                               : fill.rgb())
                << name << " at " << x - left << "," << y - top;
        }
}

bool Untouched(const QImage& map, QRect area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (map.pixel(x, y) != kBackground.rgb())
                return false;
    return true;
}

TEST(DrawElites, BoxesInProfessionColourAndGreyForBossesWithoutSkill)
{
    TestWorld t = TestWorld::MapSkills();
    t.place(1, 1, 1, 30, 30); // Hearthguard: red
    t.place(2, 1, 1, 80, 30); // Seer: green
    t.place(0, 1, 1, 30, 70); // boss without skill
    t.place(1, 1, 2, 80, 70); // other region
    t.list({1, 2});
    const QImage map = DrawOn(t, 1, 1);
    ExpectBox(map, 24, 24, QColor(255, 0, 0), "listed red");
    ExpectBox(map, 74, 24, QColor(0, 255, 0), "listed green");
    ExpectBox(map, 24, 64, kNoEliteGrey, "no elite");
    EXPECT_TRUE(Untouched(map, QRect(70, 60, 20, 20))) << "place of another region";
}

TEST(DrawElites, WhatTheFiltersLeaveOut)
{
    struct Case {
        const char* name;
        void (*setup)(TestWorld&);
        bool listedDrawn;
        bool greyDrawn;
    };
    const Case cases[] = {
        {"nothing listed still draws the grey bosses", [](TestWorld& t) { t.list({}); }, false, true},
        {"show box off draws nothing", [](TestWorld& t) { t.panel.chkShowObject[0] = false; }, false, false},
        {"boss text not matching hides listed, never grey", [](TestWorld& t) { t.panel.txtEliteBossName = "nobody"; },
         false, true},
        {"zone filter of another zone hides both", [](TestWorld& t) { t.area(1, 1, 2); }, false, false},
        {"zone filter of their zone keeps both", [](TestWorld& t) { t.area(1, 1, 1); }, true, true},
    };
    for (const Case& c : cases) {
        TestWorld t = TestWorld::MapSkills();
        t.zone(1, 1, 5, QStringLiteral("Here"), 2, 0, 10, 10);
        t.zone(1, 1, 6, QStringLiteral("There"), 2, 0, 10, 10);
        t.place(1, 1, 1, 30, 30, QStringLiteral("Grim Orc"), QString(), 5);
        t.place(0, 1, 1, 80, 30, QStringLiteral("Stray"), QString(), 5);
        t.list({1});
        c.setup(t);
        const QImage map = DrawOn(t, 1, 1);
        EXPECT_EQ(!Untouched(map, QRect(24, 24, 13, 13)), c.listedDrawn) << c.name;
        EXPECT_EQ(!Untouched(map, QRect(74, 24, 13, 13)), c.greyDrawn) << c.name;
        // The look-up applies none of the drawing's filters, only the list.
        EXPECT_EQ(FindEliteAt(t.world, t.panel, 1, 1, {30, 30}, {0, 0}, true).has_value(),
                  !t.panel.lstElite.entries.empty())
            << c.name;
    }
}

TEST(FindEliteAt, OrderEdgesAndRounding)
{
    TestWorld t = TestWorld::MapSkills();
    t.place(2, 1, 1, 50, 50); // skill 2, location 1
    t.place(1, 1, 1, 54, 50); // skill 1, location 1 (overlaps)
    t.place(1, 1, 1, 52, 50); // skill 1, location 2 (overlaps both)
    t.place(1, 1, 2, 50, 50); // skill 1, location 3, other region
    t.list({2, 1});
    struct Case {
        const char* name;
        QPointF pointer;
        QPoint offset;
        std::optional<EliteHit> expected;
    };
    const Case cases[] = {
        {"earlier list entry wins across skills", {53, 50}, {0, 0}, EliteHit{2, 1}},
        {"lower location index wins within a skill", {57, 50}, {0, 0}, EliteHit{1, 1}},
        {"offset turns viewport into map point", {24, 30}, {-20, -20}, EliteHit{2, 1}},
        {"43.5 rounds to 44 (even): inside", {43.5, 50}, {0, 0}, EliteHit{2, 1}},
        {"42.5 rounds to 42 (even): outside", {42.5, 50}, {0, 0}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto hit = FindEliteAt(t.world, t.panel, 1, 1, c.pointer, c.offset, true);
        ASSERT_EQ(hit.has_value(), c.expected.has_value()) << c.name;
        if (hit) {
            EXPECT_EQ(hit->Elite, c.expected->Elite) << c.name;
            EXPECT_EQ(hit->Location, c.expected->Location) << c.name;
        }
    }
}

TEST(DrawElites, ADoneSkillIsFaintBeneathTheRestStillAnswersAndNeverBlinks)
{
    TestWorld t = TestWorld::MapSkills();
    t.place(1, 1, 1, 70, 30); // red, captured: box 64..76
    t.place(2, 1, 1, 80, 30); // green, still to capture: box 74..86, over the red one
    t.list({2, 1});
    t.panel.lstElite.entries[1].done = true;
    const QImage map = DrawOn(t, 1, 1);
    // 35 % of red (255, 0, 0) and of its black rim over the map (40, 80, 40), by hand.
    EXPECT_EQ(map.pixel(67, 30), qRgb(115, 52, 26));
    EXPECT_EQ(map.pixel(64, 30), qRgb(26, 52, 26));
    EXPECT_EQ(map.pixel(75, 30), qRgb(0, 255, 0)) << "what is still to do covers what is done";
    EXPECT_EQ(FindEliteAt(t.world, t.panel, 1, 1, {66, 30}, {0, 0}, true)->Elite, 1) << "a faint marker answers";

    ListInto(t.panel.lstLocations, {1});
    t.panel.lstLocations.selected = 0;
    for (const auto& [row, blinks] : {std::pair{1, false}, std::pair{0, true}}) {
        t.panel.lstElite.selected = row;
        EXPECT_EQ(EliteLayer().SelectionPosition({t.world, t.panel, 1, 1, {}, {200, 100}, {}, nullptr}).has_value(),
                  blinks);
    }
}

// ---- Information window ------------------------------------------------------

struct TooltipFixture : ::testing::Test {
    TestWorld t = TestWorld::MapSkills();
    int location = 0;
    void SetUp() override
    {
        auto& s = t.world.elite.EliteSkills[1];
        s.Upkeep = -1;
        s.Energy = 0;
        s.Adrenaline = 5;
        location = t.place(1, 1, 1, 100, 100, QStringLiteral("Grim Orc"), QString(), 5);
        t.list({1});
    }
    EliteTooltip Fill() { return FillEliteTooltip(t.world, t.panel, 1, 1, 1, location); }
};

TEST_F(TooltipFixture, CostsShownByTheirRules)
{
    const EliteTooltip tip = Fill();
    ASSERT_TRUE(tip.SkillShown);
    struct Row {
        const char* name;
        const TooltipLabel& label;
        const TooltipIcon& icon;
        bool visible;
        QString text;
    };
    const Row rows[] = {
        {"upkeep -1 is shown", tip.lblExtUpKeep, tip.imgExtUpKeep, true, "-1"},
        {"adrenaline 5 is shown", tip.lblExtAdrenaline, tip.imgExtAdrenaline, true, "5"},
        {"energy 0 is hidden", tip.lblExtEnergy, tip.imgExtEnergy, false, "0"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.label.Visible, r.visible) << r.name;
        EXPECT_EQ(r.icon.Visible, r.visible) << r.name;
        if (r.visible) {
            EXPECT_EQ(r.label.Text, r.text) << r.name;
        }
    }
}

} // namespace

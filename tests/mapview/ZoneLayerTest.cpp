#include "../TestWorld.h"

#include "mapview/LabelSpace.h"
#include "mapview/MapResources.h"
#include "mapview/ZoneLayer.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

using namespace mapview;

namespace {

const QColor kBackground(40, 80, 40);

// The rectangle of pixels that differ from the plain background.
QRect ChangedArea(const QImage& img)
{
    QRect area;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != kBackground.rgb())
                area |= QRect(x, y, 1, 1);
    return area;
}

// The icon as it must appear on the plain background.
QImage IconOnBackground(const QImage& icon)
{
    QImage expected(icon.size(), QImage::Format_RGB32);
    expected.fill(kBackground);
    QPainter p(&expected);
    p.drawImage(0, 0, icon);
    return expected;
}

QImage Draw(TestWorld& t, int c, int r, QSize size = {300, 200}, const MarkerPlacement& place = {},
            LabelSpace* labels = nullptr)
{
    ComputeZoneLabelBoxes(t.world.campaigns, t.world.zoneIconAnchors);
    QImage map = PlainMap(size.width(), size.height(), kBackground);
    QPainter p(&map);
    DrawZones(p, t.world.campaigns, t.world.zoneIconAnchors, c, r, place, labels);
    return map;
}

TEST(DrawZones, ZoomedOutANameOverAnEarlierOneIsLeftOut)
{
    // Names alone (open areas without the icon flag) 4 pixels apart, and one
    // far off; at 25 % the first two fall on one another.
    auto world = [](bool crowded, bool farOff) {
        TestWorld t = TestWorld::MapSkills();
        t.zone(1, 1, 1, QStringLiteral("Alpha"), 1, 0, 200, 400);
        if (crowded)
            t.zone(1, 1, 2, QStringLiteral("Brook"), 1, 0, 204, 400);
        if (farOff)
            t.zone(1, 1, 3, QStringLiteral("Gorge"), 1, 0, 1000, 400);
        return t;
    };
    const MarkerPlacement quarter{ViewTransform{0.25, QPointF()}};
    auto drawn = [&](bool crowded, bool farOff, const MarkerPlacement& place, bool keepRoom) {
        TestWorld t = world(crowded, farOff);
        LabelSpace labels;
        return Draw(t, 1, 1, {300, 200}, place, keepRoom ? &labels : nullptr);
    };
    const QImage alone = drawn(false, false, quarter, true);
    EXPECT_EQ(drawn(true, false, quarter, true), alone) << "the second name is left out";
    EXPECT_NE(drawn(true, true, quarter, true), alone) << "a name with room is drawn";
    EXPECT_NE(drawn(true, false, quarter, false), alone) << "without a label space every name is drawn";
    TestWorld one = world(false, false);
    EXPECT_EQ(ChangedArea(Draw(one, 1, 1, {300, 200}, quarter)).center().x(), 50) << "at the scaled place";
}

TEST(ZoneLabelBoxes, NameOnlyAreaCentredElseBelowTheIcon)
{
    TestWorld t = TestWorld::MapSkills();
    t.zone(1, 1, 7, QStringLiteral("Open Field"), 1, 0, 100, 80);
    t.zone(1, 1, 8, QStringLiteral("Town"), 4, 0, 100, 80);
    t.zone(1, 1, 9, QStringLiteral("Wilds"), 1, 1, 100, 80);
    t.zone(4, 1, 3, QStringLiteral("Delta Town"), 4, 0, 100, 80);
    ComputeZoneLabelBoxes(t.world.campaigns, t.world.zoneIconAnchors);
    const QFontMetrics fm(ZoneLabelFont());
    const int th = fm.height();
    const auto& zones = t.world.campaigns[1].Regions[1].Zones;

    struct Row {
        const char* name;
        const ZoneEntry& zone;
        int dy;
        bool centred;
    };
    const Row rows[] = {
        {"open area without flag: centred on the anchor", zones[1], 0, true},
        {"town of campaign 1: dy 18", zones[2], 18, false},
        {"open area with icon: dy 15", zones[3], 15, false},
        {"town of campaign 4 uses campaign 4's anchor", t.world.campaigns[4].Regions[1].Zones[1], 18, false},
    };
    for (const Row& row : rows) {
        const int tw2 = fm.horizontalAdvance(row.zone.Name) / 2;
        const QRect box = row.zone.LabelBox;
        EXPECT_EQ(box.left(), 100 - tw2) << row.name;
        EXPECT_EQ(box.left() + box.width(), 100 + tw2) << row.name;
        if (row.centred) {
            EXPECT_EQ(box.top(), 80 - th / 2) << row.name;
            EXPECT_EQ(box.top() + box.height(), 80 + th / 2) << row.name;
        } else {
            EXPECT_EQ(box.top(), 80 - row.dy) << row.name;
            EXPECT_EQ(box.top() + box.height(), 80 + th + row.dy) << row.name;
        }
    }
}

TEST(DrawZones, IconTopLeftAtAnchorOffset)
{
    struct Case {
        const char* name;
        int campaign, kind, flag, iconSet, dx, dy;
    };
    const Case cases[] = {
        {"outpost of campaign 1", 1, 2, 0, 1, 11, 12},
        {"mission of campaign 1", 1, 3, 0, 1, 16, 24},
        {"campaign 4 town: set 1 picture, campaign 4 anchor", 4, 4, 0, 1, 16, 18},
        {"open area with the icon flag", 1, 1, 1, 0, 12, 15},
        {"dungeon entrance of campaign 4", 4, 6, 0, 0, 15, 13},
    };
    for (const Case& c : cases) {
        TestWorld t = TestWorld::MapSkills();
        // An empty name keeps the label out of the comparison.
        t.zone(c.campaign, 1, 1, QString(), c.kind, c.flag, 120, 90);
        const QImage map = Draw(t, c.campaign, 1);
        const QImage& icon = MapResources::Get().ZoneIcon(c.kind, c.iconSet);
        ASSERT_FALSE(icon.isNull()) << c.name;
        const QRect where(120 - c.dx, 90 - c.dy, icon.width(), icon.height());
        EXPECT_EQ(map.copy(where), IconOnBackground(icon)) << c.name;
        EXPECT_TRUE(where.contains(ChangedArea(map))) << c.name;
    }
}

TEST(DrawZones, NothingWithoutARegionAndNoIconForUnknownKinds)
{
    TestWorld t = TestWorld::MapSkills();
    t.zone(1, 1, 1, QStringLiteral("Town"), 4, 0, 150, 60);
    EXPECT_TRUE(ChangedArea(Draw(t, 1, 0)).isEmpty()) << "region 0";
    EXPECT_TRUE(ChangedArea(Draw(t, 3, 1)).isEmpty()) << "region that does not exist";

    TestWorld odd = TestWorld::MapSkills();
    odd.zone(1, 1, 1, QString(), 9, 0, 150, 60);
    EXPECT_TRUE(ChangedArea(Draw(odd, 1, 1)).isEmpty()) << "kind 9 has no icon";
}

} // namespace

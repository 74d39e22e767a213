#include "mapview/MapGeometry.h"

#include <gtest/gtest.h>

using namespace mapview;

namespace {

struct CenterCase {
    const char* name;
    QPoint point;
    QSize view, map;
    QPoint expected;
};

TEST(CenterMapOn, CentresWhereTheMapAllowsIt)
{
    const CenterCase cases[] = {
        {"middle of a large map", {500, 400}, {301, 201}, {1000, 800}, {150 - 500, 100 - 400}},
        {"bottom-right corner lands in the view's corner", {1000, 800}, {300, 200}, {1000, 800}, {-700, -600}},
        {"map smaller than view never moves", {250, 150}, {800, 600}, {300, 200}, {0, 0}},
        {"one axis fits, the other centres", {50, 500}, {800, 200}, {300, 1000}, {0, -400}},
        {"point outside the map is clamped", {-40, 5000}, {300, 200}, {1000, 800}, {0, -600}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CenterMapOnOffsets(c.point.x(), c.point.y(), c.view, c.map), c.expected) << c.name;
}

TEST(PlaceTooltip, SitsBesideTheMarker)
{
    const struct {
        const char* name;
        QSize window;
        MarkerRect marker;
        QPoint offset;
        QPoint expected;
    } cases[] = {
        // Right edges aligned, bottom edge on the marker's top edge.
        {"room above and to the left", {100, 50}, {194, 144, 206, 156}, {0, 0}, {106, 95}},
        {"offsets move it with the map", {100, 50}, {494, 344, 506, 356}, {-300, -200}, {106, 95}},
        {"top-left corner: below, from the marker's left edge", {100, 50}, {4, 4, 16, 16}, {0, 0}, {4, 17}},
        {"bottom-right corner: above and to the left", {100, 50}, {380, 280, 392, 292}, {0, 0}, {292, 231}},
        {"wider than the view goes to x = 0", {450, 50}, {194, 144, 206, 156}, {0, 0}, {0, 95}},
        {"too wide on the left, half moved left", {100, 50}, {4, 144, 16, 156}, {0, 0}, {4, 95}},
        {"from the left edge past the right side: half back, below 0, so 0",
         {398, 20},
         {4, 100, 16, 112},
         {0, 0},
         {0, 81}},
        {"right-aligned would start left of 0: from the left edge",
         {300, 20},
         {250, 100, 262, 112},
         {-200, 0},
         {50, 81}},
        {"from the left edge past the right: half back, then 0", {300, 20}, {350, 100, 362, 112}, {-200, 0}, {0, 81}},
        {"taller than the room below and above goes to y = 0", {100, 250}, {194, 100, 206, 112}, {0, 0}, {106, 0}},
        {"below does not fit: moved up by half", {100, 200}, {194, 100, 206, 112}, {0, 0}, {106, 13}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceTooltip(c.window, c.marker, c.offset, {400, 300}), c.expected) << c.name;
}

struct RestoreCase {
    const char* name;
    SavedPlacement saved;
    bool discarded;
    bool fullArea;
};

TEST(ScreenLayout, RestoreUsesTheSavedPlacementWhenItFits)
{
    const WorkArea area{0, 0, 1600, 1000};
    const int screenWidth = 1600 * TwipsPerPixel;
    const int panelWidth = 4500;
    const RestoreCase cases[] = {
        {"nothing saved fills the work area", {-1, -1, -1, -1}, false, true},
        {"map window past the right edge is discarded", {0, 300, screenWidth, 9000}, true, true},
        {"exactly up to the right edge is kept", {1500, 300, screenWidth - 1500 - panelWidth, 9000}, false, false},
        {"a normal placement is kept", {1500, 600, 12000, 9000}, false, false},
        {"huge values do not overflow", {2'000'000'000, 0, 2'000'000'000, 100}, true, true},
    };
    for (const auto& c : cases) {
        const RestoredLayout r = RestoreLayout(c.saved, area, screenWidth, panelWidth);
        EXPECT_EQ(r.SettingsDiscarded, c.discarded) << c.name;
        if (c.fullArea) {
            EXPECT_TRUE(r.Layout.Maximised) << c.name;
            EXPECT_EQ(r.Layout.Panel, (TwipsRect{0, 0, panelWidth, 15000})) << c.name;
        } else {
            EXPECT_FALSE(r.Layout.Maximised) << c.name;
            // Panel height from the inset work area: (1000 - 80) - (0 + 80) pixels.
            EXPECT_EQ(r.Layout.Panel, (TwipsRect{c.saved.PosX, c.saved.PosY, panelWidth, 840 * 15})) << c.name;
            EXPECT_EQ(r.Layout.Map, (TwipsRect{c.saved.PosX + panelWidth, c.saved.PosY, c.saved.DimX, c.saved.DimY}))
                << c.name;
        }
    }
}

} // namespace

namespace {

// A marker at (100, 100) whose data give it X-6 .. X+6 (chests and pets
// X-7 .. X+7): switched off, the data's rectangle; on, a square of the kind's
// side centred there.
TEST(MarkerArea, TheDataRectangleOrTheLargeSquare)
{
    const MarkerRect r13{94, 94, 106, 106}, r15{93, 93, 107, 107};
    const struct {
        const char* name;
        MarkerKind kind;
        MarkerRect data;
        bool large;
        MarkerRect expected;
    } cases[] = {
        {"elite, off", MarkerKind::Elite, r13, false, r13},
        {"elite, on: 21 wide", MarkerKind::Elite, r13, true, {90, 90, 110, 110}},
        {"collector, on: 19 wide", MarkerKind::Collector, r13, true, {91, 91, 109, 109}},
        {"green item, on: 17 wide", MarkerKind::GreenItem, r13, true, {92, 92, 108, 108}},
        {"chest, off", MarkerKind::Chest, r15, false, r15},
        {"chest, on: 19 wide", MarkerKind::Chest, r15, true, {91, 91, 109, 109}},
        {"pet, on: 17 wide", MarkerKind::Pet, r15, true, {92, 92, 108, 108}},
        {"data larger than the square keep theirs", MarkerKind::Pet, {80, 95, 120, 105}, true, {80, 92, 120, 108}},
    };
    // (Edge pixels answering: LayerMarkers; the blinking frame: FlashFixture.)
    for (const auto& c : cases)
        EXPECT_EQ(MarkerArea(c.kind, {100, 100}, c.data, c.large), c.expected) << c.name;
}

} // namespace

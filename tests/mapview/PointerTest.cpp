#include "../TestWorld.h"

#include "mapview/MapPointer.h"

#include <gtest/gtest.h>

using namespace mapview;

namespace {

TEST(MapDrag, AnchorsOnTheMapPointAndPansPerAxis)
{
    struct Case {
        const char* name;
        QSize map;
        QPointF to;
        QPoint expected;
    };
    const Case cases[] = {
        {"both axes larger", {1000, 800}, {60.4, 20.6}, {-240, -229}},
        {"width fits: x keeps its offset", {300, 800}, {60, 20}, {-100, -230}},
        {"height fits: y keeps its offset", {1000, 200}, {60, 20}, {-240, -100}},
        {"clamped at the far corner", {1000, 800}, {-2000, -2000}, {-600, -500}},
    };
    for (const Case& c : cases) {
        MapDrag drag;
        drag.Begin({200.5, 150}, {-100, -100}); // anchor: map point (300, 250) after rounding halves to even
        EXPECT_EQ(drag.DragAnchorX, 300) << c.name;
        EXPECT_EQ(drag.PanTo(c.to, {-100, -100}, {400, 300}, c.map), c.expected) << c.name;
    }
}

// A pointer layer that answers everywhere and counts the windows it builds.
struct CountingLayer : MapLayer {
    int item;
    mutable int built = 0;
    explicit CountingLayer(int i) : item(i) {}
    void Draw(QImage&, const MapContext&) const override {}
    std::optional<LayerHit> Find(QPointF, const MapContext&) const override { return LayerHit{item, 0, {}}; }
    std::optional<TooltipImage> BuildTooltip(const LayerHit& hit, const MapContext&, const QImage&) const override
    {
        ++built;
        return TooltipImage{PlainMap(10, 10), {1, 2}, QString::number(hit.Item)};
    }
};

TEST(InformationWindows, FirstLayerWinsAndTheTagStopsRebuilds)
{
    TestWorld t = TestWorld::MapSkills();
    MapLayers layers;
    auto* notes = new CountingLayer(7);
    auto* collectors = new CountingLayer(3);
    layers.Set(LayerId::Notes, std::unique_ptr<MapLayer>(notes));
    layers.Set(LayerId::Collectors, std::unique_ptr<MapLayer>(collectors));
    const MapContext ctx{t.world, t.panel, 1, 1, {}, {400, 300}};
    InformationWindows windows;

    EXPECT_TRUE(windows.HitTest({5, 5}, layers, ctx, QImage()));
    EXPECT_EQ(windows.Get(LayerId::Collectors).Tag, "3");
    EXPECT_FALSE(windows.Get(LayerId::Notes).Visible());
    windows.HitTest({6, 5}, layers, ctx, QImage());
    EXPECT_EQ(collectors->built, 1) << "same item: not rebuilt";
    EXPECT_EQ(notes->built, 0);

    windows.HideInformationWindows();
    EXPECT_FALSE(windows.AnyVisible());
    windows.HitTest({6, 5}, layers, ctx, QImage());
    EXPECT_EQ(collectors->built, 2) << "after hiding, shown anew";

    MapLayers none;
    EXPECT_FALSE(windows.HitTest({6, 5}, none, ctx, QImage()));
}

} // namespace

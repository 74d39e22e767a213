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

} // namespace

#include "../TestWorld.h"
#include "app/StandardLayers.h"

#include "mapview/MapCanvas.h"
#include "mapview/MapFlash.h"

#include <gtest/gtest.h>

using namespace mapview;

namespace {

// A map with a distinct colour in every pixel, so that copies can be checked.
QImage GradientMap(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + (y / 256)));
    return img;
}

struct CanvasFixture : ::testing::Test {
    TestWorld t = TestWorld::MapSkills();
    MapCanvas canvas;
    MapLayers layers = StandardMapLayers();
    SelectionFlasher flasher;

    MapContext Context() const
    {
        return MapContext{t.world,        t.panel, 1, 1, canvas.DrawingOrigin(), canvas.ViewSize(), canvas.Placement(),
                          canvas.Labels()};
    }
    void Redraw() { canvas.DrawEverythingOnMap(layers, flasher, Context()); }
};

TEST_F(CanvasFixture, UpdateMapCopiesTheVisibleRectangleAtTheOffsets)
{
    canvas.SetViewSize({100, 80});
    const QImage map = GradientMap(400, 300);
    canvas.SetRegionPicture(map);
    canvas.MapOffsetX = -150;
    canvas.MapOffsetY = -37;
    canvas.UpdateMap();
    EXPECT_EQ(canvas.picMap, map.copy(150, 37, 100, 80));

    canvas.CenterMapOn(400, 300);
    EXPECT_EQ(canvas.Offset(), QPoint(-300, -220));
    EXPECT_EQ(canvas.picMap, map.copy(300, 220, 100, 80));
}

// ---- Flashing ------------------------------------------------------------------

struct FlashFixture : CanvasFixture {
    void SetUp() override
    {
        canvas.SetViewSize({200, 200});
        canvas.SetRegionPicture(PlainMap(200, 200));
        const int loc = t.place(1, 1, 1, 100, 100);
        t.list({1});
        t.panel.lstElite.selected = 0;
        t.panel.lstLocations.entries = {{QStringLiteral("here"), loc}};
        t.panel.lstLocations.selected = 0;
        t.panel.ActiveTab = TabElite;
    }
    QRect MarkerArea() const
    {
        return FlashMarkerRect({100, 100}, MapResources::Get().Selection(FlashLayer::Elite).size());
    }
};

TEST_F(FlashFixture, RestartArmsOnlyWhenShownSelectedOnThisMapAndTabActive)
{
    struct Case {
        const char* name;
        void (*change)(TestWorld&);
        bool armed;
    };
    const Case cases[] = {
        {"all conditions hold", [](TestWorld&) {}, true},
        {"show box off", [](TestWorld& w) { w.panel.chkShowObject[TabElite] = false; }, false},
        {"another tab active", [](TestWorld& w) { w.panel.ActiveTab = TabNotes; }, false},
        {"no place selected", [](TestWorld& w) { w.panel.lstLocations.clear(); }, false},
        {"no skill selected", [](TestWorld& w) { w.panel.lstElite.selected = -1; }, false},
        {"place on another map", [](TestWorld& w) { w.world.elite.EliteSkills[1].Locations[1].Region = 2; }, false},
    };
    for (const Case& c : cases) {
        const PanelState saved = t.panel;
        c.change(t);
        Redraw();
        EXPECT_EQ(flasher.Enabled(FlashLayer::Elite), c.armed) << c.name;
        for (FlashLayer other : {FlashLayer::Collectors, FlashLayer::Greens, FlashLayer::Notes, FlashLayer::Treasures})
            EXPECT_FALSE(flasher.Enabled(other)) << c.name;
        t.panel = saved;
        t.world.elite.EliteSkills[1].Locations[1].Region = 1;
    }
}

TEST_F(FlashFixture, TicksEraseAndRedrawWithoutTouchingTheRest)
{
    // The map with markers but without the selection ring.
    t.panel.ActiveTab = TabNotes;
    Redraw();
    const QImage plain = canvas.picTemp;
    t.panel.ActiveTab = TabElite;
    Redraw();
    const QImage marked = canvas.picTemp;
    ASSERT_NE(marked, plain);
    EXPECT_EQ(flasher.MarkerRect(FlashLayer::Elite), MarkerArea());

    EXPECT_TRUE(flasher.Tick(FlashLayer::Elite, canvas.picTemp, t.panel, false));
    EXPECT_EQ(canvas.picTemp, plain) << "first tick erases";
    EXPECT_TRUE(flasher.Tick(FlashLayer::Elite, canvas.picTemp, t.panel, false));
    EXPECT_EQ(canvas.picTemp, marked) << "second tick draws again";

    EXPECT_FALSE(flasher.Tick(FlashLayer::Elite, canvas.picTemp, t.panel, true)) << "paused while dragging";
    t.panel.chkShowObject[TabElite] = false;
    EXPECT_FALSE(flasher.Tick(FlashLayer::Elite, canvas.picTemp, t.panel, false)) << "show box cleared";
    EXPECT_EQ(canvas.picTemp, marked);
}

TEST_F(FlashFixture, LargeMarkersGetALargerFrameAroundTheirBox)
{
    t.panel.LargeMarkers = true;
    t.panel.ActiveTab = TabNotes;
    Redraw();
    const QImage plain = canvas.picTemp;
    t.panel.ActiveTab = TabElite;
    Redraw();
    // 46 x 46 centred on (100, 100); the box is 90 .. 110.
    EXPECT_EQ(flasher.MarkerRect(FlashLayer::Elite), QRect(77, 77, 46, 46));
    EXPECT_EQ(canvas.picTemp.copy(91, 91, 19, 19), plain.copy(91, 91, 19, 19)) << "the frame covers the box";
    EXPECT_NE(canvas.picTemp.copy(77, 77, 46, 13), plain.copy(77, 77, 46, 13)) << "no frame above the box";
}

} // namespace

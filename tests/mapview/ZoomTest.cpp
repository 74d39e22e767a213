// The zoom's geometry without a window, on a 3200 x 2400 map in a 1600 x 1000
// view unless a row says otherwise; every figure worked out by hand.
#include "mapview/LabelSpace.h"
#include "mapview/MapGeometry.h"
#include "mapview/MapZoom.h"

#include <gtest/gtest.h>

using namespace mapview;

namespace {

const QSize kMap(3200, 2400);
const QSize kView(1600, 1000);

TEST(Zoom, FitAndLevelsStepFromTheScaleShown)
{
    EXPECT_DOUBLE_EQ(ScaleOf(Zoom::FitWindow(), kMap, kView), 1000.0 / 2400);
    EXPECT_DOUBLE_EQ(ScaleOf(Zoom::FitWindow(), QSize(400, 300), kView), 2.0) << "a small map fits at the top level";
    const struct {
        const char* name;
        Zoom from;
        double scale;
        int steps;
        int expected;
    } rows[] = {
        {"100 % up", Zoom::Level(100), 1.0, 1, 150},
        {"top stays", Zoom::Level(200), 2.0, 1, 200},
        {"bottom stays", Zoom::Level(25), 0.25, -1, 25},
        {"fit at 42 % up", Zoom::FitWindow(), 1000.0 / 2400, 1, 50},
        {"fit at 42 % down", Zoom::FitWindow(), 1000.0 / 2400, -1, 33},
        {"fit at 50 % up skips 50 %", Zoom::FitWindow(), 0.5, 1, 67},
        {"fit at 42 % two up", Zoom::FitWindow(), 1000.0 / 2400, 2, 67},
    };
    for (const auto& row : rows)
        EXPECT_EQ(StepZoom(row.from, row.steps, row.scale), Zoom::Level(row.expected)) << row.name;
    EXPECT_EQ(ZoomFromSetting(0), Zoom::FitWindow());
    EXPECT_EQ(ZoomFromSetting(67), Zoom::Level(67));
    EXPECT_EQ(ZoomFromSetting(70), Zoom::Level(100)) << "not a level";
}

TEST(Zoom, TheViewIsClampedAndCentredAtEachLevel)
{
    const struct {
        const char* name;
        double scale;
        QPointF proposed;
        QPointF expected;
    } rows[] = {
        {"25 %: smaller than the view, centred", 0.25, QPointF(-50, -50), QPointF(400, 200)},
        {"50 %: as wide as the view, taller", 0.5, QPointF(-30, -500), QPointF(0, -200)},
        {"100 %: the map keeps the top left", 1.0, QPointF(20.4, 10.6), QPointF(0, 0)},
        {"100 %: whole pixels, no gap at the far end", 1.0, QPointF(-5000, -99.6), QPointF(-1600, -100)},
        {"200 %: no gap at the far end", 2.0, QPointF(-9000, -9000), QPointF(-4800, -3800)},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ClampOrigin(row.proposed, row.scale, kMap, kView), row.expected) << row.name;

    // Centring on map point (1600, 1200): at 100 % as the 1:1 map centres.
    EXPECT_EQ(CentreOn(1.0, QPointF(1600, 1200), kMap, kView).Origin,
              QPointF(CenterMapOnOffsets(1600, 1200, kView, kMap)));
    EXPECT_EQ(CentreOn(1.5, QPointF(1600, 1200), kMap, kView).ToView(QPointF(1600, 1200)), QPointF(800, 500));
}

TEST(Zoom, AWheelStepKeepsThePointUnderThePointer)
{
    const QPointF pointer(400, 300);
    ViewTransform t{1.0, QPointF(-1000, -800)};
    const QPointF under = t.ToMap(pointer); // (1400, 1100)
    for (double scale : {1.5, 2.0, 0.67}) { // at 50 % the map is as wide as the view: centred
        t = ZoomAround(t, scale, pointer, kMap, kView);
        EXPECT_NEAR(t.ToMap(pointer).x(), under.x(), 1e-9) << scale;
        EXPECT_NEAR(t.ToMap(pointer).y(), under.y(), 1e-9) << scale;
    }
    // Back at 100 % the offsets are whole pixels again.
    t = ZoomAround(t, 1.0, pointer, kMap, kView);
    EXPECT_EQ(t.Origin, QPointF(-1000, -800));

    EXPECT_EQ(KeyPan(Qt::Key_Left, kView), QPointF(160, 0));
    EXPECT_EQ(KeyPan(Qt::Key_PageDown, kView), QPointF(0, -1000));
    WheelSteps wheel; // a touchpad's thirds of a notch, then a step back
    EXPECT_EQ(wheel.Add(40) + wheel.Add(40), 0);
    EXPECT_EQ(wheel.Add(40), 1);
    EXPECT_EQ(wheel.Add(-60) + wheel.Add(-60), -1);
}

TEST(LabelSpace, ALabelOverAnEarlierOneIsLeftOut)
{
    LabelSpace space;
    const struct {
        const char* name;
        QRect label;
        bool drawn;
    } rows[] = {
        {"a zone name first", QRect(100, 100, 80, 14), true},
        {"a marker's label over it", QRect(150, 110, 60, 14), false},
        {"touching its right edge", QRect(180, 100, 40, 14), true},
        {"one pixel into the first", QRect(40, 113, 61, 14), false},
        {"across many grid cells, over nothing", QRect(-300, 200, 600, 14), true},
        {"a route number inside that one", QRect(-10, 205, 8, 8), false},
        {"empty: nothing to leave out", QRect(150, 110, 0, 0), true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(space.Claim(row.label), row.drawn) << row.name;
    EXPECT_EQ(space.Kept(), 3);
}

} // namespace

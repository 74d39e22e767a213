// The map window on the offscreen platform: region switches, the start
// picture, centring, dragging, the information windows of the three tooltip
// modes, the reserved right-click and double-click hooks, and flashing.
#include "../TestWorld.h"

#include "app/StandardLayers.h"
#include "elite/EliteLayer.h"
#include "layers/frmManageNote.h"
#include "mapview/MapResources.h"
#include "mapview/frmMap.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace mapview;

namespace {

struct MapWindowFixture : ::testing::Test {
    TestWorld t = TestWorld::MapSkills();
    QTemporaryDir dir;
    std::unique_ptr<frmMap> map;
    QString bigMap, smallMap;

    void SetUp() override
    {
        bigMap = dir.filePath("big.png");
        smallMap = dir.filePath("small.png");
        PlainMap(1000, 800, QColor(30, 90, 60)).save(bigMap);
        PlainMap(120, 90, QColor(90, 30, 60)).save(smallMap);
        t.world.campaigns[1].Regions[1].ImagePath = bigMap;
        t.world.campaigns[1].Regions[2].ImagePath = smallMap;
        t.place(1, 1, 1, 500, 400, QStringLiteral("Grim Orc"));
        t.place(0, 1, 1, 700, 400, QStringLiteral("Stray"));
        t.list({1});
        map = std::make_unique<frmMap>(t.world, t.panel, StandardMapLayers());
        map->resize(404, 304); // viewport 400 x 300
        map->show();
        QString none;
        map->InizializzaVariabili(none, -1, -1);
    }

    void Open(int region)
    {
        QString path = t.world.campaigns[1].Regions[static_cast<std::size_t>(region)].ImagePath;
        map->InizializzaVariabili(path, 1, region);
        map->UpdateMapWithNewEliteSkills();
    }
    QWidget* view() const { return map->picMap(); }
    void HideAll() { map->HideInformationWindows(); }
    QPoint ViewPointOf(int mapX, int mapY) const { return {mapX + map->MapOffsetX(), mapY + map->MapOffsetY()}; }
};

TEST_F(MapWindowFixture, ViewportLayoutAndButtons)
{
    EXPECT_EQ(view()->geometry(), QRect(2, 2, 400, 300));
    QSignalSpy quit(map.get(), &frmMap::quitRequested);
    QTest::mouseClick(map->cmdClose(), Qt::LeftButton);
    EXPECT_EQ(quit.count(), 1);
}

TEST_F(MapWindowFixture, StartPictureUntilARegionIsChosen)
{
    EXPECT_FALSE(map->MapLoaded());
    // The start picture: dusk over hills down to the bottom edge.
    const QRgb startCorner = map->Canvas().picMap.pixel(5, 299);
    EXPECT_NE(startCorner & 0xffffff, 0u);

    Open(1);
    EXPECT_TRUE(map->MapLoaded());
    EXPECT_EQ(map->CurrentRegion(), 1);

    QString missing = dir.filePath("missing.jpg");
    map->InizializzaVariabili(missing, 1, 2);
    EXPECT_FALSE(map->MapLoaded());
    EXPECT_TRUE(missing.isEmpty());
    map->DrawEverythingOnMap(); // nothing of the old map comes back
    map->CenterMapOn(10, 10);
    missing = dir.filePath("missing.jpg");
    map->InizializzaVariabili(missing, 1, 2);
    EXPECT_FALSE(map->MapLoaded()) << "asked again for the region without picture";
    EXPECT_EQ(map->Canvas().picMap.pixel(5, 299), startCorner);
}

TEST_F(MapWindowFixture, CentredViewIsShownAndKeptForTheSameRegion)
{
    Open(1);
    map->CenterMapOn(500, 400);
    const QPoint offset(200 - 500, 150 - 400);
    EXPECT_EQ(QPoint(map->MapOffsetX(), map->MapOffsetY()), offset);
    // What the viewport paints is the viewport picture, pixel for pixel
    // (below the buttons along the top edge).
    EXPECT_EQ(view()->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(0, 30, 400, 270),
              map->Canvas().picMap.copy(0, 30, 400, 270));
    QString path = bigMap;
    map->InizializzaVariabili(path, 1, 1);
    EXPECT_EQ(QPoint(map->MapOffsetX(), map->MapOffsetY()), offset);
}

TEST_F(MapWindowFixture, DraggingPansAndClamps)
{
    Open(1);
    struct Case {
        const char* name;
        QPoint from, to;
        Qt::KeyboardModifiers mods;
        QPoint offset;
    };
    const Case cases[] = {
        {"drag left and up", {300, 200}, {100, 50}, {}, {-200, -150}},
        {"shift held: no pan", {300, 200}, {100, 50}, Qt::ShiftModifier, {0, 0}},
    };
    for (const Case& c : cases) {
        map->CenterMapOn(0, 0);
        QTest::mousePress(view(), Qt::LeftButton, c.mods, c.from);
        EXPECT_EQ(map->Dragging(), c.mods == Qt::NoModifier) << c.name;
        QTest::mouseMove(view(), c.to);
        QTest::mouseRelease(view(), Qt::LeftButton, c.mods, c.to);
        EXPECT_FALSE(map->Dragging()) << c.name;
        EXPECT_EQ(QPoint(map->MapOffsetX(), map->MapOffsetY()), c.offset) << c.name;
    }
}

TEST_F(MapWindowFixture, HoverShowsTheSkillWindowBesideTheMarker)
{
    Open(1);
    map->CenterMapOn(500, 400);
    t.panel.HoverMode = HoverFollowPointer;
    QTest::mouseMove(view(), ViewPointOf(500, 400));
    InformationWindow* tip = map->picExtToolTip();
    ASSERT_TRUE(tip->isVisible());
    const MarkerRect marker{494, 394, 506, 406};
    EXPECT_EQ(tip->pos(), PlaceTooltip(tip->size(), marker, {map->MapOffsetX(), map->MapOffsetY()}, {400, 300}));
    // Off every marker it disappears.
    // (The window may cover the marker's neighbourhood: leave it at the view's corner.)
    QTest::mouseMove(view(), QPoint(10, 20));
    EXPECT_FALSE(tip->isVisible());
    // A click on the window hides it.
    t.panel.HoverMode = HoverSticky;
    QTest::mouseClick(view(), Qt::RightButton, {}, ViewPointOf(500, 400));
    ASSERT_TRUE(tip->isVisible());
    QTest::mouseClick(tip, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(tip->isVisible());
}

// A FIFO would block a plain open until some writer came along: as a region
// map or as a skill's picture it counts as missing, and nothing waits.
TEST_F(MapWindowFixture, AFifoAsRegionMapOrSkillPictureCountsAsMissing)
{
    const QString fifo = dir.filePath("fifo.jpg");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    t.world.elite.EliteSkills[1].Picture = fifo;
    QString path = fifo;
    map->InizializzaVariabili(path, 1, 2);
    EXPECT_FALSE(map->MapLoaded());

    Open(1);
    map->CenterMapOn(500, 400);
    t.panel.HoverMode = HoverFollowPointer;
    QTest::mouseMove(view(), ViewPointOf(500, 400));
    EXPECT_TRUE(map->picExtToolTip()->isVisible());
}

TEST_F(MapWindowFixture, RightButtonModes)
{
    Open(1);
    map->CenterMapOn(500, 400);
    InformationWindow* tip = map->picExtToolTip();
    const QPoint marker = ViewPointOf(500, 400);
    const struct {
        const char* name;
        uint8_t mode;
        bool shownByAMove, keptAfterRelease, keptAfterLeaving;
    } rows[] = {
        {"mode 0: while held", HoverWhileRightHeld, false, false, false},
        {"mode 1: follows the pointer", HoverFollowPointer, true, true, false},
        {"mode 2: stays", HoverSticky, false, true, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        t.panel.HoverMode = row.mode;
        HideAll();
        QTest::mouseMove(view(), QPoint(10, 20));
        QTest::mouseMove(view(), marker);
        EXPECT_EQ(tip->isVisible(), row.shownByAMove);
        HideAll();
        QTest::mousePress(view(), Qt::RightButton, {}, marker);
        EXPECT_TRUE(tip->isVisible());
        QTest::mouseRelease(view(), Qt::RightButton, {}, marker);
        EXPECT_EQ(tip->isVisible(), row.keptAfterRelease);
        if (!row.keptAfterRelease)
            continue;
        // Straight from the marker onto another window: no move over the map
        // misses the marker first; the window system tells the map's window
        // that the pointer left it.
        QEvent left(QEvent::Leave);
        QApplication::sendEvent(map->windowHandle(), &left);
        EXPECT_EQ(tip->isVisible(), row.keptAfterLeaving);
    }
    // The pointer off the marker again (a move to where it already is counts
    // for nothing in the next test).
    QTest::mouseMove(view(), QPoint(10, 20));
}

TEST_F(MapWindowFixture, RightClickOnEmptyMapAndDoubleClickOnAMarker)
{
    Open(1);
    map->CenterMapOn(500, 400);
    QSignalSpy regionMenu(map.get(), &frmMap::regionMenuRequested);
    QSignalSpy capture(map.get(), &frmMap::captureRequested);
    QSignalSpy noteMenu(map.get(), &frmMap::noteMenuRequested);

    QTest::mouseClick(view(), Qt::RightButton, {}, ViewPointOf(450, 350));
    EXPECT_EQ(regionMenu.count(), 1);
    QTest::mouseClick(view(), Qt::RightButton, {}, ViewPointOf(500, 400));
    EXPECT_EQ(regionMenu.count(), 1) << "a marker only shows its window";

    QTest::mouseDClick(view(), Qt::LeftButton, {}, ViewPointOf(500, 400));
    ASSERT_EQ(capture.count(), 1);
    EXPECT_EQ(capture.at(0).at(0).toInt(), 1);
    QTest::mouseDClick(view(), Qt::LeftButton, {}, ViewPointOf(450, 350));
    ASSERT_EQ(noteMenu.count(), 1);
    EXPECT_EQ(noteMenu.at(0).at(1).toInt(), -1);
    EXPECT_EQ(capture.count(), 1);
}

TEST_F(MapWindowFixture, SelectionBlinksOnlyWhenItsTabIsActive)
{
    t.panel.lstElite.selected = 0;
    t.panel.lstLocations.entries = {{QStringLiteral("Thornwood"), 1}};
    t.panel.lstLocations.selected = 0;
    t.panel.ActiveTab = TabNotes;
    Open(1);
    EXPECT_FALSE(map->FlashTimerEnabled(FlashLayer::Elite));
    t.panel.ActiveTab = TabElite;
    map->DrawEverythingOnMap();
    ASSERT_TRUE(map->FlashTimerEnabled(FlashLayer::Elite));
    map->CenterMapOn(500, 400);
    const QImage on = map->Canvas().picMap;
    QTest::qWait(FlashIntervalMs + 100);
    EXPECT_NE(map->Canvas().picMap, on) << "one tick later the ring is gone";
    map->SetFlashTimerEnabled(FlashLayer::Elite, false);
    EXPECT_FALSE(map->FlashTimerEnabled(FlashLayer::Elite));
}

TEST_F(MapWindowFixture, ZoomKeepsThePointUnderThePointerAndActsOnWhatIsDrawn)
{
    Open(1); // 1000 x 800 in a 400 x 300 view; the boss's 13 x 13 box at (500, 400)
    map->CenterMapOn(500, 400);
    const QPointF pointer(123, 77);
    const QPointF under = map->Canvas().View().ToMap(pointer);
    for (int level : {67, 50, 33}) {
        QWheelEvent wheel(pointer, view()->mapToGlobal(pointer), {}, {0, -120}, Qt::NoButton, {}, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(view(), &wheel);
        ASSERT_EQ(map->CurrentZoom(), Zoom::Level(level));
        const QPointF now = map->Canvas().View().ToMap(pointer);
        if (level == 33) {
            // 330 x 264 in 400 x 300: centred instead.
            EXPECT_EQ(map->Canvas().View().Origin, QPointF(35, 18));
            continue;
        }
        EXPECT_NEAR(now.x(), under.x(), 0.5 / map->Canvas().Scale() + 1e-9) << level;
        EXPECT_NEAR(now.y(), under.y(), 0.5 / map->Canvas().Scale() + 1e-9) << level;
    }
    EXPECT_EQ(t.world.settings.MapZoom, 33);

    // The box keeps its 13 pixels at 33 % and 200 %: its drawn corner answers
    // (a box scaled with the map would be 4 or 26 pixels wide), one pixel
    // beyond it does not.
    QSignalSpy capture(map.get(), &frmMap::captureRequested);
    for (int level : {33, 200}) {
        map->ZoomTo(Zoom::Level(level));
        map->CenterMapOn(500, 400);
        const QPoint at = map->Canvas().View().ToView(QPointF(500, 400)).toPoint();
        EXPECT_EQ(map->Canvas().picMap.pixel(at + QPoint(6, 6)), qRgb(0, 0, 0)) << level << " rim";
        capture.clear();
        QTest::mouseDClick(view(), Qt::LeftButton, {}, at + QPoint(6, 6));
        EXPECT_EQ(capture.count(), 1) << level;
        map->runNoteEditor = [](frmManageNote&) {};
        capture.clear();
        QTest::mouseDClick(view(), Qt::LeftButton, {}, at + QPoint(7, 7));
        EXPECT_EQ(capture.count(), 0) << level;
    }

    // A note goes where the player double-clicked, on the map point seen.
    map->ZoomTo(Zoom::Level(50));
    QPoint noteAt(-1, -1);
    map->runNoteEditor = [&](frmManageNote& editor) { noteAt = {editor.X(), editor.Y()}; };
    map->openMenu = [](QMenu*, QPoint) {};
    const QPointF click(40, 250);
    const QPointF expected = map->Canvas().View().ToMap(click);
    QTest::mouseDClick(view(), Qt::LeftButton, {}, click.toPoint());
    map->mnuNoteInsert_Click();
    EXPECT_EQ(noteAt, expected.toPoint());

    // Fit shows the whole map and stays fit when the window is resized.
    QTest::keyClick(view(), Qt::Key_F);
    EXPECT_DOUBLE_EQ(map->Canvas().Scale(), 300.0 / 800.0);
    map->resize(804, 404);
    EXPECT_DOUBLE_EQ(map->Canvas().Scale(), 400.0 / 800.0);
    QTest::keyClick(view(), Qt::Key_0);
    EXPECT_EQ(map->CurrentZoom(), Zoom::Level(100));
}

TEST_F(MapWindowFixture, KeysPanAndTheOverviewMovesTheViewAndNothingElse)
{
    Open(1);
    map->ZoomTo(Zoom::Level(50)); // 500 x 400 in a 400 x 300 view
    const QPointF start = map->Canvas().View().Origin;
    struct Case {
        const char* name;
        Qt::Key key;
        QPointF moved;
    };
    const Case cases[] = {
        {"right arrow: a tenth of the view", Qt::Key_Right, {-40, 0}},
        {"down arrow", Qt::Key_Down, {0, -30}},
        {"left arrow back", Qt::Key_Left, {40, 0}},
        {"page down: a view, clamped at the bottom", Qt::Key_PageDown, {0, -100 + 30}},
    };
    QPointF expected = start;
    for (const Case& c : cases) {
        QTest::keyClick(view(), c.key);
        expected += c.moved;
        EXPECT_EQ(map->Canvas().View().Origin, expected) << c.name;
    }
    QTest::keyClick(view(), Qt::Key_Plus);
    EXPECT_EQ(map->CurrentZoom(), Zoom::Level(67));

    // The overview (a view of at least 540 x 360 holds it): a press there
    // centres the view on the point, a double click there opens nothing.
    map->resize(804, 604);
    map->SetOverviewShown(true);
    const QRect inset = map->OverviewRect();
    ASSERT_FALSE(inset.isEmpty());
    QTest::mouseClick(view(), Qt::LeftButton, {}, inset.center());
    const QPointF middle = map->Canvas().View().ToMap(QPointF(400, 300));
    EXPECT_NEAR(middle.x(), 500, 2);
    EXPECT_NEAR(middle.y(), 400, 2);
    QSignalSpy notes(map.get(), &frmMap::noteMenuRequested);
    map->openMenu = [](QMenu*, QPoint) {};
    QTest::mouseDClick(view(), Qt::LeftButton, {}, inset.center());
    EXPECT_EQ(notes.count(), 0);
    EXPECT_EQ(t.world.settings.OverviewInset, 1);
}

TEST_F(MapWindowFixture, TheRouteFollowsTheListsStartsWhereToldAndIsCopied)
{
    t.place(2, 1, 1, 300, 200, QStringLiteral("Pale Seer"));
    t.list({1, 2});
    t.panel.Ready = true;
    Open(1);
    map->CenterMapOn(500, 400);
    QTest::keyClick(view(), Qt::Key_R);
    ASSERT_TRUE(map->RouteShown());
    EXPECT_EQ(t.world.settings.ShowRoute, 1);
    // Without a start point the route starts at the stop nearest the middle.
    EXPECT_EQ(map->RouteLine(), QStringLiteral("Next: Oaken Resolve \u2014 2 of 2 stops left, 0 px"));

    // A filter leaving a stop out takes it off the route, not counted as done.
    t.list({2});
    map->UpdateMapWithNewEliteSkills();
    EXPECT_EQ(map->RouteLine(), QStringLiteral("Next: Quick Eye \u2014 1 of 1 stops left, 283 px"));
    t.list({1, 2});
    map->UpdateMapWithNewEliteSkills();
    EXPECT_TRUE(map->RouteLine().contains(QStringLiteral("2 of 2 stops left")));

    // Bren captures the next skill (the tab's filter leaves it out): the route
    // plans again from where it stood, without being asked.
    t.panel.optCapture = 1;
    t.panel.cmbCharacter.entries = {{QStringLiteral("Bren"), 2}};
    t.panel.cmbCharacter.selected = 0;
    t.world.elite.EliteSkills[1].Captured.resize(3);
    t.world.elite.EliteSkills[1].Captured[2] = true;
    t.list({2});
    map->UpdateMapWithNewEliteSkills();
    EXPECT_EQ(map->RouteLine(), QStringLiteral("Next: Quick Eye \u2014 1 of 2 stops left, 283 px"));
    t.world.elite.EliteSkills[1].Captured[2] = false;
    t.list({1, 2});
    map->UpdateMapWithNewEliteSkills();
    EXPECT_TRUE(map->RouteLine().contains(QStringLiteral("2 of 2 stops left")));

    // "Start the route here": kept per region, the nearest stop first.
    map->openMenu = [](QMenu*, QPoint) {};
    const QPoint nearSeer = map->Canvas().View().ToView(QPointF(280, 190)).toPoint();
    QTest::mousePress(view(), Qt::RightButton, {}, nearSeer);
    QTest::mouseRelease(view(), Qt::RightButton, {}, nearSeer);
    map->findChild<QAction*>(QStringLiteral("mnuRouteStart"))->trigger();
    const auto start = t.world.settings.RouteStarts.find({1, 1});
    ASSERT_NE(start, t.world.settings.RouteStarts.end());
    EXPECT_EQ(start->second, QPoint(280, 190));
    EXPECT_EQ(map->RouteLine(), QStringLiteral("Next: Quick Eye \u2014 2 of 2 stops left, 22 px"));

    // Copied: number, kind, name, place, x, y, by tabs, in walking order.
    QTest::keyClick(view(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("1\tElite skill\tQuick Eye\tNorth Vale\t300\t200\n"
                             "2\tElite skill\tOaken Resolve\tNorth Vale\t500\t400\n"));
    QTest::keyClick(view(), Qt::Key_R);
    EXPECT_TRUE(map->RouteLine().isEmpty());
}

TEST(MapWindowLayout, ToggleMaximisedMovesPanelAndMap)
{
    TestWorld t = TestWorld::MapSkills();
    QWidget panel(nullptr, Qt::Window | Qt::FramelessWindowHint);
    panel.resize(300, 500);
    frmMap map(t.world, t.panel, StandardMapLayers(), &panel);
    const QRect area = panel.screen()->availableGeometry();
    map.ToggleMaximised();
    EXPECT_TRUE(map.Maximised());
    EXPECT_EQ(map.geometry(), QRect(area.left() + 300, area.top(), area.width() - 300, area.height()));

    t.world.settings.PosX = 15 * 10;
    t.world.settings.PosY = 15 * 20;
    t.world.settings.DimX = 15 * 400;
    t.world.settings.DimY = 15 * 300;
    map.RestoreLayout();
    EXPECT_EQ(map.geometry(), QRect(310, 20, 400, 300));
    // A placement that does not fit is forgotten.
    t.world.settings.DimX = 15 * 100000;
    map.RestoreLayout();
    EXPECT_EQ(t.world.settings.PosX, -1);
    EXPECT_TRUE(map.Maximised());
}

} // namespace

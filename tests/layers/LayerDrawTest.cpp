// The markers of every layer on small hand-made maps: the pixels drawn are
// the pixels that answer the pointer, the green bar under a boss, and the
// show boxes.
#include "../TestWorld.h"
#include "app/StandardLayers.h"

#include "elite/EliteLayer.h"
#include "layers/CollectorLayer.h"
#include "layers/GreenLayer.h"
#include "layers/LayerMarkers.h"
#include "layers/NoteLayer.h"
#include "layers/PetLayer.h"
#include "layers/TreasureLayer.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const QColor kBackground(40, 80, 40);

// Bounding box of the pixels that differ from the background.
QRect Touched(const QImage& map)
{
    QRect box;
    for (int y = 0; y < map.height(); ++y)
        for (int x = 0; x < map.width(); ++x)
            if (map.pixel(x, y) != kBackground.rgb())
                box |= QRect(x, y, 1, 1);
    return box;
}

struct LayerCase {
    const char* name;
    QRect marker; // the data's marker rectangle, edges included
    // Puts one item of the layer at (40, 40) of campaign 1, region 1, in
    // `zone`, and lists it.
    std::function<void(TestWorld&, int zone)> setup;
    std::function<void(QImage&, TestWorld&)> draw;
    // Whether the layer answers at viewport point p (offset 0); null for
    // layers without a look-up.
    std::function<bool(TestWorld&, QPointF)> find;
};

std::vector<LayerCase> Layers()
{
    const QRect r13(QPoint(34, 34), QPoint(46, 46)), r15(QPoint(33, 33), QPoint(47, 47));
    return {
        {"elite box", r13,
         [](TestWorld& t, int) {
             t.place(1, 1, 1, 40, 40);
             t.world.elite.EliteSkills[1].Defined = true;
             ListInto(t.panel.lstElite, {1});
         },
         [](QImage& m, TestWorld& t) { elitelayer::DrawElites(m, t.world, t.panel, 1, 1); },
         [](TestWorld& t, QPointF p) {
             return elitelayer::FindEliteAt(t.world, t.panel, 1, 1, p, {}, true).has_value();
         }},
        {"weapons collector", r13,
         [](TestWorld& t, int zone) {
             t.collector(1, "C", 1, 1, zone, 40, 40, {{"A", 1, {}}});
             ListInto(t.panel.lstCollectors, {1});
         },
         [](QImage& m, TestWorld& t) { collectorlayer::DrawCollectors(m, t.world, t.panel, 1, 1); },
         [](TestWorld& t, QPointF p) { return collectorlayer::FindCollectorAt(t.world, t.panel, 1, 1, p, {}) == 1; }},
        {"armour collector", r13,
         [](TestWorld& t, int zone) {
             t.collector(1, "C", 1, 1, zone, 40, 40, {{"A", 1, {}}}, true);
             ListInto(t.panel.lstCollectors, {1});
         },
         [](QImage& m, TestWorld& t) { collectorlayer::DrawCollectors(m, t.world, t.panel, 1, 1); },
         [](TestWorld& t, QPointF p) { return collectorlayer::FindCollectorAt(t.world, t.panel, 1, 1, p, {}) == 1; }},
        {"green marker", r13,
         [](TestWorld& t, int zone) {
             t.place(2, 1, 1, 40, 40, QStringLiteral("Boss"), QString(), zone);
             t.green("G", 2, 1);
             ListInto(t.panel.lstGreens, {1});
         },
         [](QImage& m, TestWorld& t) { greenlayer::DrawGreens(m, t.world, t.panel, 1, 1); }, nullptr},
        {"note", r15,
         [](TestWorld& t, int) {
             t.note("N", "", 1, 1, 40, 40);
             ListInto(t.panel.lstNotes, {1});
         },
         [](QImage& m, TestWorld& t) { notelayer::DrawNotes(m, t.world, t.panel, 1, 1); },
         [](TestWorld& t, QPointF p) { return notelayer::FindNoteAt(t.world, t.panel, 1, 1, p, {}) == 1; }},
        {"treasure", r15,
         [](TestWorld& t, int zone) {
             t.chest("T", 1, zone, 40, 40);
             t.world.treasures.Treasures[1].Campaign = 1;
             ListInto(t.panel.lstVarshaTreasures, {1});
         },
         [](QImage& m, TestWorld& t) { treasurelayer::DrawTreasures(m, t.world, t.panel, 1, 1); },
         [](TestWorld& t, QPointF p) { return treasurelayer::FindTreasureAt(t.world, t.panel, 1, 1, p, {}) == 1; }},
        {"pet", r15,
         [](TestWorld& t, int zone) {
             t.pet(1, "P", {{1, 1, zone, 40, 40}});
             ListInto(t.panel.lstPets, {1});
         },
         [](QImage& m, TestWorld& t) { petlayer::DrawPets(m, t.world, t.panel, 1, 1); },
         [](TestWorld& t, QPointF p) { return petlayer::FindPetAt(t.world, t.panel, 1, 1, p, {}).has_value(); }},
    };
}

TEST(LayerMarkers, DrawnPixelsAreThePixelsThatAnswerThePointer)
{
    for (const LayerCase& c : Layers()) {
        SCOPED_TRACE(c.name);
        TestWorld t = TestWorld::Collectibles();
        c.setup(t, 0);
        QImage map = PlainMap(90, 90, kBackground);
        c.draw(map, t);
        EXPECT_EQ(Touched(map), c.marker);
        if (!c.find)
            continue;
        const QRect& m = c.marker;
        for (QPoint corner : {m.topLeft(), m.topRight(), m.bottomLeft(), m.bottomRight()})
            EXPECT_TRUE(c.find(t, corner)) << "corner " << corner.x() << "," << corner.y();
        for (QPoint outside :
             {QPoint(m.left() - 1, 40), QPoint(m.right() + 1, 40), QPoint(40, m.top() - 1), QPoint(40, m.bottom() + 1)})
            EXPECT_FALSE(c.find(t, outside)) << "outside " << outside.x() << "," << outside.y();
    }
}

TEST(LayerMarkers, NothingWhenTheShowBoxIsOff)
{
    // Show box of each case of Layers(), in order; pets follow the chests' box.
    const int box[] = {TabElite, TabCollectors, TabCollectors, TabGreens, TabNotes, TabTreasuresPets, TabTreasuresPets};
    int i = 0;
    for (const LayerCase& c : Layers()) {
        SCOPED_TRACE(c.name);
        TestWorld t = TestWorld::Collectibles();
        c.setup(t, 0);
        t.panel.chkShowObject[std::size_t(box[i++])] = false;
        QImage map = PlainMap(90, 90, kBackground);
        c.draw(map, t);
        EXPECT_TRUE(Touched(map).isEmpty());
    }
}

TEST(DrawGreens, BarUnderTheBoxOfAListedBoss)
{
    // On Amber's Ice Coast (1, 2), which has no zones.
    TestWorld t = TestWorld::Collectibles();
    t.place(1, 1, 2, 40, 40);
    t.world.elite.EliteSkills[1].Defined = true;
    t.green("G", 1, 1);
    ListInto(t.panel.lstElite, {1});
    ListInto(t.panel.lstGreens, {1});
    QImage map = PlainMap(90, 90, kBackground);
    greenlayer::DrawGreens(map, t.world, t.panel, 1, 2);
    // (Left, Bottom) .. (Right, Bottom + 3): 34..46 x 46..49, black rim, green inside.
    EXPECT_EQ(Touched(map), QRect(QPoint(34, 46), QPoint(46, 49)));
    EXPECT_EQ(map.pixel(34, 46), qRgb(0, 0, 0));
    EXPECT_EQ(map.pixel(46, 49), qRgb(0, 0, 0));
    EXPECT_EQ(map.pixel(40, 47), qRgb(0, 255, 0));
    EXPECT_EQ(map.pixel(40, 48), qRgb(0, 255, 0));
    // Drawn before the elite layer, the box covers the bar's top row.
    const mapview::MapContext ctx{t.world, t.panel, 1, 2, {}, {90, 90}, {}, nullptr};
    QImage both = PlainMap(90, 90, kBackground);
    StandardMapLayers().DrawAll(both, ctx);
    EXPECT_EQ(Touched(both), QRect(QPoint(34, 34), QPoint(46, 49)));
    EXPECT_EQ(both.pixel(40, 48), qRgb(0, 255, 0));
}

// With large markers every kind is drawn within a square of its own size
// centred on its place, at least 14 pixels each way, and answers the pointer
// on that square's edge pixels, which switched off lie outside the marker.
TEST(LayerMarkers, LargeMarkersAnswerOnTheirGrownEdges)
{
    // In the order of Layers(): elite 21, collectors 19, green 17, note as
    // before, chest 19, pet 17.
    const QRect r21(QPoint(30, 30), QPoint(50, 50)), r19(QPoint(31, 31), QPoint(49, 49)),
        r17(QPoint(32, 32), QPoint(48, 48)), r15(QPoint(33, 33), QPoint(47, 47));
    const QRect large[] = {r21, r19, r19, r17, r15, r19, r17};
    int i = 0;
    for (const LayerCase& c : Layers()) {
        SCOPED_TRACE(c.name);
        const QRect& m = large[i++];
        TestWorld t = TestWorld::Collectibles();
        c.setup(t, 0);
        t.panel.LargeMarkers = true;
        QImage map = PlainMap(90, 90, kBackground);
        c.draw(map, t);
        const QRect drawn = Touched(map);
        EXPECT_TRUE(m.contains(drawn)) << "drawn beyond the area that answers";
        EXPECT_GE(std::min(drawn.width(), drawn.height()), 14);
        if (!c.find)
            continue;
        for (QPoint edge : {m.topLeft(), m.bottomRight(), QPoint(m.left(), 40), QPoint(40, m.bottom())}) {
            EXPECT_TRUE(c.find(t, edge)) << "edge " << edge.x() << "," << edge.y();
            t.panel.LargeMarkers = false;
            EXPECT_EQ(c.find(t, edge), m == r15) << "switched off, edge " << edge.x() << "," << edge.y();
            t.panel.LargeMarkers = true;
        }
        EXPECT_FALSE(c.find(t, QPoint(m.left() - 1, 40)));
        EXPECT_FALSE(c.find(t, QPoint(40, m.bottom() + 1)));
    }
}

TEST(DrawElites, LargeBoxCarriesTheAbbreviationInClearLetters)
{
    TestWorld t = TestWorld::Collectibles();
    t.place(1, 1, 1, 40, 40, QStringLiteral("Boss"), QStringLiteral("D"));
    t.world.elite.EliteSkills[1].Defined = true;
    t.world.elite.EliteSkills[1].Profession = 1; // "H", red
    ListInto(t.panel.lstElite, {1});
    t.panel.LargeMarkers = true;
    QImage map = PlainMap(90, 90, kBackground);
    elitelayer::DrawElites(map, t.world, t.panel, 1, 1);
    // A black rim, the red fill, and in each half a white letter ("H" over
    // "D") with its dark outline.
    EXPECT_EQ(map.pixel(30, 30), qRgb(0, 0, 0));
    EXPECT_EQ(map.pixel(31, 31), qRgb(255, 0, 0));
    for (const int top : {31, 41}) {
        int white = 0, dark = 0;
        for (int y = top; y < top + 9; ++y)
            for (int x = 31; x <= 49; ++x) {
                white += map.pixel(x, y) == qRgb(255, 255, 255);
                dark += qGray(map.pixel(x, y)) < 40;
            }
        EXPECT_TRUE(white >= 5 && dark >= 5) << "letters from row " << top;
    }
}

} // namespace

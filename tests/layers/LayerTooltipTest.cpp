// The information windows of collectors, notes, chests and pets: the rows
// that change with the data, the placement by PlaceTooltip and the tags, and
// pictures read only from regular files.
#include "../TestWorld.h"
#include "app/StandardLayers.h"

#include "elite/EliteLayer.h"
#include "layers/CollectorLayer.h"
#include "layers/NoteLayer.h"
#include "layers/PetLayer.h"
#include "layers/TreasureLayer.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

TEST(CollectorTooltip, MatchingRewardsBrightOthersGreyHeightFromTheLastRow)
{
    TestWorld t = TestWorld::Collectibles();
    t.collector(1, "Smith", 1, 1, 0, 40, 40,
                {{"Fire Blade", 1, {"Damage 5", "  ", "Fire +2"}}, {"Ice Shield", 2, {"Armor 10"}}});
    t.panel.txtCollSearch = "fire";
    const layertooltip::Tooltip tt = collectorlayer::FillCollectorTooltip(t.world, t.panel, 1);
    // Name, two captions with their values, then a name and a stats row per reward.
    ASSERT_EQ(tt.Labels.size(), 5u + 4u);
    const auto& fireName = tt.Labels[5];
    const auto& fireStats = tt.Labels[6];
    const auto& iceName = tt.Labels[7];
    const auto& iceStats = tt.Labels[8];
    EXPECT_EQ(fireName.Colour, QColor(238, 221, 170));
    EXPECT_EQ(fireStats.Colour, QColor(255, 255, 255));
    EXPECT_EQ(fireStats.Text, QStringLiteral("- Damage 5\n- Fire +2")) << "blank property lines are left out";
    EXPECT_EQ(iceName.Colour, QColor(150, 150, 150));
    EXPECT_EQ(iceStats.Colour, QColor(150, 150, 150));
    EXPECT_EQ(tt.Height, iceStats.bottom() + 10);
}

TEST(TreasureTooltip, CharacterList)
{
    const QDate opened(2010, 2, 1);
    struct Case {
        const char* name;
        std::vector<QString> characters;
        QString expectedFirstLine; // empty = check the whole text below
        QString expectedText;
    };
    const Case cases[] = {
        {"no characters: text 87", {QString()}, {}, "No characters"},
        {"unnamed characters only: text 88", {QString(), QString(), QString()}, {}, "Nobody named"},
        {"opener with the date, others by name", {QString(), "Ayla", "Bren"}, "Ayla", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestWorld t = TestWorld::Collectibles();
        t.world.characters.Characters = c.characters;
        t.chest("Chest", 1, 30, 40, 40);
        t.world.treasures.Treasures[1].OpenedOn.resize(c.characters.size());
        if (c.characters.size() > 1)
            t.world.treasures.Treasures[1].OpenedOn[1] = opened;
        const layertooltip::Tooltip tt = treasurelayer::FillTreasureTooltip(t.world, 1);
        ASSERT_EQ(tt.Labels.size(), 3u);
        const QString& list = tt.Labels[2].Text;
        if (!c.expectedText.isEmpty()) {
            EXPECT_EQ(list, c.expectedText);
            continue;
        }
        const QStringList lines = list.split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 2);
        EXPECT_TRUE(lines[0].startsWith("Ayla "));
        EXPECT_TRUE(lines[0].endsWith(treasurelayer::OpenedDateText(opened)));
        EXPECT_FALSE(lines[0].contains(QLatin1Char('/')));
        EXPECT_EQ(lines[1], QStringLiteral("Bren"));
    }
}

TEST(PetTooltip, PictureFromARegularFileOnly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString good = dir.filePath("good.jpg");
    ASSERT_TRUE(PlainMap(60, 40, Qt::red).save(good, "JPG"));
    const QString fifo = dir.filePath("fifo.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.filePath("folder.jpg");
    ASSERT_TRUE(QDir().mkdir(folder));

    TestWorld t = TestWorld::Collectibles();
    t.pet(1, "Yak", {});
    const struct {
        const char* name;
        QString path;
        bool shown;
    } rows[] = {{"regular file", good, true},
                {"FIFO counts as missing", fifo, false},
                {"folder counts as missing", folder, false},
                {"device counts as missing", "/dev/zero", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        t.world.pets.Pets[1].Picture = row.path;
        const layertooltip::Tooltip tt = petlayer::FillPetTooltip(t.world, 1);
        EXPECT_EQ(!tt.Picture.isNull(), row.shown);
        if (row.shown) {
            EXPECT_EQ(tt.Width, 2 * 12 + 60);
            EXPECT_EQ(tt.Height, tt.PictureRect.top() + 40 + 10);
        }
        EXPECT_EQ(tt.Labels.at(0).Text, QStringLiteral("Yak"));
    }

    // The skill window reads its picture the same way.
    t.place(1, 1, 1, 40, 40);
    auto& skill = t.world.elite.EliteSkills[1];
    skill.Defined = true;
    ListInto(t.panel.lstElite, {1});
    skill.Picture = fifo;
    EXPECT_TRUE(elitelayer::FillEliteTooltip(t.world, t.panel, 1, 1, 1, 1).imgExtElite.Image.isNull());
    skill.Picture = good;
    EXPECT_FALSE(elitelayer::FillEliteTooltip(t.world, t.panel, 1, 1, 1, 1).imgExtElite.Image.isNull());
}

TEST(LayerTooltips, PlacedByPlaceTooltipAndTaggedByItem)
{
    TestWorld t = TestWorld::Collectibles();
    t.note("Camp", "", 1, 1, 200, 200);
    t.pet(4, "Yak", {{1, 1, 0, 100, 100}, {1, 1, 0, 300, 100}});
    ListInto(t.panel.lstNotes, {1});
    ListInto(t.panel.lstPets, {4});
    const QImage viewport = PlainMap(500, 400);
    const mapview::MapContext ctx{t.world, t.panel, 1, 1, {-50, -20}, {500, 400}, {}, nullptr};

    const notelayer::NoteLayer notes;
    const auto hit = notes.Find({150, 180}, ctx); // map point (200, 200)
    ASSERT_TRUE(hit);
    const auto shown = notes.BuildTooltip(*hit, ctx, viewport);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->Tag, QStringLiteral("1"));
    EXPECT_EQ(shown->Position, mapview::PlaceTooltip(shown->Image.size(), hit->Marker, ctx.Offset, ctx.ViewSize));

    const petlayer::PetLayer pets;
    const auto first = pets.Find({50, 80}, ctx), second = pets.Find({250, 80}, ctx);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->SubItem, 1);
    EXPECT_EQ(second->SubItem, 2);
    EXPECT_EQ(pets.TooltipTag(*first), pets.TooltipTag(*second)) << "another place of the same pet keeps the window";
}

TEST(LayerSelection, TheSelectedItemOfTheMapShownBlinks)
{
    TestWorld t = TestWorld::Collectibles();
    t.collector(1, "C", 1, 1, 0, 11, 12, {{"A", 1, {}}});
    t.note("N", "", 1, 1, 21, 22);
    t.chest("T", 1, 0, 31, 32);
    t.place(2, 1, 1, 41, 42);
    t.green("G", 2, 1);
    for (PanelList* list :
         {&t.panel.lstCollectors, &t.panel.lstNotes, &t.panel.lstVarshaTreasures, &t.panel.lstGreens}) {
        ListInto(*list, {1});
        list->selected = 0;
    }
    const mapview::MapLayers layers = StandardMapLayers();
    const mapview::MapContext onMap{t.world, t.panel, 1, 1, {}, {90, 90}, {}, nullptr};
    const mapview::MapContext campaign3{t.world, t.panel, 3, 1, {}, {90, 90}, {}, nullptr};
    EXPECT_EQ(layers.Get(mapview::LayerId::Collectors)->SelectionPosition(onMap), QPoint(11, 12));
    EXPECT_EQ(layers.Get(mapview::LayerId::Notes)->SelectionPosition(onMap), QPoint(21, 22));
    EXPECT_EQ(layers.Get(mapview::LayerId::Greens)->SelectionPosition(onMap), QPoint(41, 42));
    EXPECT_FALSE(layers.Get(mapview::LayerId::Treasures)->SelectionPosition(onMap)) << "chests lie in campaign 3";
    EXPECT_EQ(layers.Get(mapview::LayerId::Treasures)->SelectionPosition(campaign3), QPoint(31, 32));
    EXPECT_FALSE(layers.Get(mapview::LayerId::Collectors)->SelectionPosition(campaign3));
}

} // namespace

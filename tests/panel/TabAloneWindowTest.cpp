// Tabs built with a panel context and nothing else: no panel window, no map
// window. A recording map stands in for the map commands and
// the context's signals are counted, so that each test checks one piece of
// the tab's wiring; what the filters keep is the logic tests' business.
#include "../TestWorld.h"
#include "panel/PanelContext.h"
#include "panel/frmEliteTab.h"
#include "panel/frmTreasuresPetsTab.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct MapCall {
    QString what;
    int a = 0, b = 0;
    friend bool operator==(const MapCall&, const MapCall&) = default;
};

struct StandAloneTab {
    World world = TestWorld::PanelRules().world;
    PanelState panel;
    PanelContext context{world, panel};
    std::vector<MapCall> mapCalls;
    std::unique_ptr<frmEliteTab> tab;

    explicit StandAloneTab(bool withMap = true)
    {
        // Places of skill 5: (30, 40) in region 1, (70, 80) in region 2.
        world.elite.EliteSkills[5].Locations[1].X = 30;
        world.elite.EliteSkills[5].Locations[1].Y = 40;
        world.elite.EliteSkills[5].Locations[2].X = 70;
        world.elite.EliteSkills[5].Locations[2].Y = 80;
        if (withMap)
            context.SetMap({
                .switchRegion =
                    [this](const QString&, int c, int r) {
                        mapCalls.push_back({"switch", c, r});
                    },
                .centreOn =
                    [this](int x, int y) {
                        mapCalls.push_back({"centre", x, y});
                    },
                .hideInformationWindows = [this] { mapCalls.push_back({"hide"}); },
                .mapLoaded = [] { return true; },
            });
        tab = std::make_unique<frmEliteTab>(context, nullptr);
        tab->resize(314, 600);
        // What the panel's load does for this tab.
        panel.Ready = false;
        tab->FillLists();
        panel.Ready = true;
        tab->FilterElites(false);
        mapCalls.clear();
    }

    int RowOfSkill(int elite) const
    {
        for (int i = 0; i < tab->lstElite->count(); ++i)
            if (tab->lstElite->item(i)->data(Qt::UserRole).toInt() == elite)
                return i;
        return -1;
    }
};

TEST(EliteTabAlone, ListsTheSkillsWithPlacesAndMirrorsThemIntoTheState)
{
    StandAloneTab s(false); // no map at all
    ASSERT_EQ(s.tab->lstElite->count(), 4) << "skill 4 has no place";
    EXPECT_EQ(s.tab->lstElite->item(0)->text(), QStringLiteral("alpha Burst [S]"));
    ASSERT_EQ(s.panel.lstElite.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(s.panel.lstElite.entries[static_cast<std::size_t>(i)].data,
                  s.tab->lstElite->item(i)->data(Qt::UserRole).toInt());
    EXPECT_TRUE(s.tab->lblTot->text().endsWith(QStringLiteral(": 4")));
    // Choosing a skill and its places works without a map.
    s.tab->lstElite->setCurrentRow(s.RowOfSkill(5));
    EXPECT_EQ(s.tab->lstLocations->count(), 2);
}

TEST(EliteTabAlone, SharedFiltersAreAnnouncedAndOwnFiltersRequestARedraw)
{
    StandAloneTab s;
    QSignalSpy region(&s.context, &PanelContext::regionChanged);
    QSignalSpy profession(&s.context, &PanelContext::professionChanged);
    QSignalSpy redraw(&s.context, &PanelContext::redrawRequested);

    // Each choice of the region filter is announced (a campaign also through
    // its region list going back to the first entry).
    auto announced = [&region](const std::function<void()>& choose) {
        const auto before = region.count();
        choose();
        return region.count() > before;
    };
    EXPECT_TRUE(announced([&] { s.tab->cmbCampaign->setCurrentIndex(s.tab->cmbCampaign->findData(1)); }));
    EXPECT_TRUE(announced([&] { s.tab->cmbRegion->setCurrentIndex(2); }));
    EXPECT_TRUE(announced([&] { s.tab->cmbZone->setCurrentIndex(1); }));

    const auto redrawn = redraw.count();
    s.tab->cmbProfession->setCurrentIndex(1);
    EXPECT_EQ(profession.count(), 1);
    EXPECT_EQ(redraw.count(), redrawn) << "the panel runs the filters of a shared choice";

    // The name box is the tab's own: it filters here and asks for the redraw.
    s.tab->cmbProfession->setCurrentIndex(0);
    s.tab->cmbCampaign->setCurrentIndex(0);
    QTest::keyClicks(s.tab->txtEliteName, QStringLiteral("zeta"));
    EXPECT_EQ(s.tab->lstElite->count(), 1);
    EXPECT_EQ(redraw.count(), redrawn + 4) << "one redraw per letter";
    QTest::keyClicks(s.tab->txtEliteBossName, QStringLiteral("qq")); // so is the boss box
    EXPECT_EQ(s.tab->lstElite->count(), 0);
}

TEST(EliteTabAlone, ChoosingAPlaceSwitchesRedrawsAndCentresTheMap)
{
    StandAloneTab s;
    QSignalSpy redraw(&s.context, &PanelContext::redrawRequested);
    s.tab->lstElite->setCurrentRow(s.RowOfSkill(5));
    EXPECT_EQ(s.mapCalls, (std::vector<MapCall>{{"switch", 1, 1}, {"centre", 30, 40}}));
    s.mapCalls.clear();
    s.tab->lstLocations->setCurrentRow(1);
    EXPECT_EQ(s.mapCalls, (std::vector<MapCall>{{"switch", 1, 2}, {"centre", 70, 80}}));
    EXPECT_EQ(redraw.count(), 2);
}

TEST(EliteTabAlone, AnswersTheContextsSignals)
{
    StandAloneTab s;
    const int row = s.RowOfSkill(5);
    s.tab->lstElite->setCurrentRow(row);
    ASSERT_TRUE(s.tab->lstLocations->isEnabled());

    // Another layer's filter empties the place list.
    emit s.context.layerFiltered(TabGreens);
    EXPECT_EQ(s.tab->lstLocations->count(), 0);

    // Another tab asks for an area, every profession (the progress window's
    // requests, the double click and a new character list are the started
    // program's tests').
    emit s.context.areaRequested(1, 2);
    EXPECT_EQ(s.tab->cmbRegion->currentData().toInt(), 2);
    s.tab->cmbProfession->setCurrentIndex(2);
    emit s.context.anyProfessionRequested();
    EXPECT_EQ(s.tab->cmbProfession->currentIndex(), 0);
}

TEST(ChestsTabAlone, RefillsItsCharacters)
{
    TestWorld t = TestWorld::PanelRules();
    t.chest(QStringLiteral("Ford Chest"), 1, 0, 0, 0);
    World& world = t.world;
    PanelState panel;
    PanelContext context(world, panel);
    frmTreasuresPetsTab tab(context, nullptr);
    tab.FillCharacters();
    panel.Ready = true;
    tab.FilterTreasures(false);
    ASSERT_EQ(tab.cmbTreasureCharacter->count(), 3) << "every character, Ayla, Bren";

    QSignalSpy redraw(&context, &PanelContext::redrawRequested);
    QSignalSpy filtered(&context, &PanelContext::layerFiltered);
    world.characters.Characters.push_back(QStringLiteral("Cora"));
    emit context.charactersChanged();
    EXPECT_EQ(tab.cmbTreasureCharacter->count(), 4);
    EXPECT_EQ(redraw.count(), 1) << "the chests counted anew for the new list";
    ASSERT_EQ(filtered.count(), 1);
    EXPECT_EQ(filtered.at(0).at(0).toInt(), static_cast<int>(TabTreasuresPets));
}

} // namespace

// The panel's search field on a copy of the demo world: choosing a result of
// every kind shows it as its tab would (tab, show box, list selection, region,
// centring), also when the panel's filters hid it; and the keyboard. What is
// found, and in which order, is the index's rule (SearchIndex).
#include "StartedProgram.h"
#include "mapview/MapFlash.h"
#include "panel/frmSearch.h"
#include "panel/modSearch.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace {

using modSearch::Kind;
using modSearch::Result;

// The first result of `kind` with a region picture and a map point (a
// boss must have a skill), from every name holding an "a" or an "e".
std::optional<Result> FirstOfKind(const World& w, Kind kind, bool withoutSkill = false)
{
    const modSearch::SearchIndex index(w);
    for (const char16_t* letter : {u"a", u"e"})
        for (const Result& r : index.Find(letter, 1 << 20))
            if (r.kind == kind && r.campaign > 0 && modCampaigns::RegionExists(w.campaigns, r.campaign, r.region) &&
                (r.x >= 0 || kind == Kind::Region) && (kind != Kind::Boss || (r.item == 0) == withoutSkill))
                return r;
    return std::nullopt;
}

// Types the result's name and chooses the result among those listed.
bool TypeAndChoose(frmMenu& m, const Result& wanted)
{
    m.Search()->txtSearch->setText(wanted.name);
    const auto& results = m.Search()->Results();
    for (std::size_t i = 0; i < results.size(); ++i)
        if (results[i].kind == wanted.kind && results[i].item == wanted.item && results[i].place == wanted.place &&
            results[i].region == wanted.region) {
            m.Search()->Choose(static_cast<int>(i));
            return true;
        }
    return false;
}

struct KindCase {
    const char* name;
    Kind kind;
    PanelList PanelState::*list;   // the list the result is selected in
    PanelList PanelState::*places; // the list its place is selected in (skills and pets)
    bool withoutSkill = false;     // a boss that has no skill: in no list, only on the map
};

const KindCase kKinds[] = {
    {"skill", Kind::Skill, &PanelState::lstElite, &PanelState::lstLocations},
    {"boss", Kind::Boss, &PanelState::lstElite, &PanelState::lstLocations},
    {"boss without a skill", Kind::Boss, nullptr, nullptr, true},
    {"collector", Kind::Collector, &PanelState::lstCollectors, nullptr},
    {"green", Kind::Green, &PanelState::lstGreens, nullptr},
    {"note", Kind::Note, &PanelState::lstNotes, nullptr},
    {"chest", Kind::Chest, &PanelState::lstVarshaTreasures, nullptr},
    {"pet", Kind::Pet, &PanelState::lstPets, &PanelState::lstPetLocations},
    {"zone", Kind::Zone, nullptr, nullptr},
    {"region", Kind::Region, nullptr, nullptr},
};

TEST(SearchWindow, ChoosingAResultOfEachKindShowsItAsItsTabWouldEvenWhenFiltersHidItAndTheKeyboardDrivesTheList)
{
    ProgramCopy folder;
    ASSERT_TRUE(folder.write(QStringLiteral("Personal/Notes.txt"), "Cache under the old bridge\t\t120\t90\t1\t8\r\n"));
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    auto& m = s.menu();
    World& w = s.world();
    const PanelState& panel = s.program->panel();

    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(c.name);
        const auto r = FirstOfKind(w, c.kind, c.withoutSkill);
        ASSERT_TRUE(r) << "the demo world has one";
        const int tab = modSearch::TabOf(c.kind);

        // Everything against it: another region chosen, its layer hidden,
        // another tab in front.
        m.EliteTab().cmbCampaign->setCurrentIndex(0);
        m.EliteTab().cmbCampaign->setCurrentIndex(m.EliteTab().cmbCampaign->findData(r->campaign == 3 ? 2 : 3));
        m.EliteTab().cmbRegion->setCurrentIndex(1);
        m.chkShowObject[static_cast<std::size_t>(tab)]->setChecked(false);
        m.SelectTab(tab == TabNotes ? TabGreens : TabNotes);

        ASSERT_TRUE(TypeAndChoose(m, *r));
        EXPECT_EQ(panel.ActiveTab, tab);
        EXPECT_TRUE(m.chkShowObject[static_cast<std::size_t>(tab)]->isChecked());
        EXPECT_FALSE(m.Search()->lstSearchResults->isVisible());
        if (c.list) {
            EXPECT_EQ((panel.*c.list).selectedData(), r->item);
        }
        if (c.list && c.kind != Kind::Pet) { // a chosen pet place does not blink
            EXPECT_TRUE(s.map().FlashTimerEnabled(*mapview::FlashLayerOfShowBox(tab))) << "its marker blinks";
        }
        if (c.places) {
            EXPECT_EQ((panel.*c.places).selectedData(), r->place);
        }
        if (c.kind == Kind::Zone) {
            EXPECT_EQ(panel.cmbZone.selectedData(), r->place);
        }
        EXPECT_EQ(s.map().CurrentCampaign(), r->campaign);
        EXPECT_EQ(s.map().CurrentRegion(), r->region);
        ASSERT_TRUE(s.map().MapLoaded());
        if (c.kind != Kind::Region) {
            EXPECT_EQ(s.offsets(), s.centredOn({r->x, r->y}));
        }
    }

    // A campaign: chosen in the campaign combo.
    m.Search()->txtSearch->setText(w.campaigns.back().Name);
    const auto& found = m.Search()->Results();
    const auto campaign =
        std::find_if(found.begin(), found.end(), [](const Result& r) { return r.kind == Kind::Campaign; });
    ASSERT_NE(campaign, found.end());
    const int number = campaign->campaign;
    m.Search()->Choose(static_cast<int>(campaign - found.begin()));
    EXPECT_EQ(panel.cmbCampaign.selectedData(), number);

    // The keyboard: Enter chooses the first result; the map follows as in the kinds table.
    const auto boss = FirstOfKind(w, Kind::Boss);
    ASSERT_TRUE(boss);
    m.Search()->txtSearch->clear();
    QTest::keyClicks(m.Search()->txtSearch, boss->name);
    ASSERT_TRUE(m.Search()->lstSearchResults->isVisible()) << m.Search()->txtSearch->text().toStdString();
    ASSERT_FALSE(m.Search()->Results().empty()) << m.Search()->txtSearch->text().toStdString();
    const Result first = m.Search()->Results().front();
    QTest::keyClick(m.Search()->txtSearch, Qt::Key_Return);
    EXPECT_EQ(panel.ActiveTab, modSearch::TabOf(first.kind));
    EXPECT_EQ(s.map().CurrentRegion(), first.region);
    EXPECT_EQ(s.map().CurrentCampaign(), first.campaign);

    // The arrows move through the results.
    m.Search()->txtSearch->setText(QStringLiteral("e"));
    QTest::keyClick(m.Search()->txtSearch, Qt::Key_Down);
    EXPECT_EQ(m.Search()->lstSearchResults->currentRow(), 1);

    // Escape clears the field and closes the list.
    QTest::keyClick(m.Search()->txtSearch, Qt::Key_Escape);
    EXPECT_TRUE(m.Search()->txtSearch->text().isEmpty());
    EXPECT_FALSE(m.Search()->lstSearchResults->isVisible());

    // Ctrl+F on the map window goes to the panel's field: its text selected
    // for the next search, its results open again.
    m.Search()->txtSearch->setText(boss->name);
    m.Search()->txtSearch->deselect();
    m.Search()->lstSearchResults->hide();
    QApplication::setActiveWindow(&s.map());
    QTest::keyClick(&s.map(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(m.Search()->txtSearch->selectedText(), boss->name);
    EXPECT_TRUE(m.Search()->lstSearchResults->isVisible());
}

} // namespace

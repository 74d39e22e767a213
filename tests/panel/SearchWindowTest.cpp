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

// A campaign other than `c` that has a region, chosen with that region.
void ChooseAnotherRegion(frmMenu& m, const World& w, int c)
{
    for (int other = 1; other < static_cast<int>(w.campaigns.size()); ++other)
        if (other != c && w.campaigns[other].Regions.size() > 1) {
            m.EliteTab().cmbCampaign->setCurrentIndex(m.EliteTab().cmbCampaign->findData(other));
            m.EliteTab().cmbRegion->setCurrentIndex(1);
            return;
        }
}

struct KindCase {
    const char* name;
    Kind kind;
    QLineEdit* (*ownFilter)(const frmMenu&); // a filter of the tab that hides the result when it holds junk
    PanelList PanelState::*list;             // the list the result is selected in
    PanelList PanelState::*places;           // the list its place is selected in (skills and pets)
    bool withoutSkill = false;               // a boss that has no skill: in no list, only on the map
};

const KindCase kKinds[] = {
    {"skill", Kind::Skill, [](const frmMenu& m) { return m.EliteTab().txtEliteName; }, &PanelState::lstElite,
     &PanelState::lstLocations},
    {"boss", Kind::Boss, [](const frmMenu& m) { return m.EliteTab().txtEliteBossName; }, &PanelState::lstElite,
     &PanelState::lstLocations},
    {"boss without a skill", Kind::Boss, nullptr, nullptr, nullptr, true},
    {"collector", Kind::Collector, [](const frmMenu& m) { return m.CollectorsTab().txtCollSearch; },
     &PanelState::lstCollectors, nullptr},
    {"reward", Kind::Reward, [](const frmMenu& m) { return m.CollectorsTab().txtCollSearch; },
     &PanelState::lstCollectors, nullptr},
    {"green", Kind::Green, [](const frmMenu& m) { return m.GreensTab().txtGreensName; }, &PanelState::lstGreens,
     nullptr},
    {"note", Kind::Note, [](const frmMenu& m) { return m.NotesTab().txtNoteShortDesc; }, &PanelState::lstNotes,
     nullptr},
    {"chest", Kind::Chest, nullptr, &PanelState::lstVarshaTreasures, nullptr},
    {"pet", Kind::Pet, nullptr, &PanelState::lstPets, &PanelState::lstPetLocations},
    {"zone", Kind::Zone, nullptr, nullptr, nullptr},
    {"region", Kind::Region, nullptr, nullptr, nullptr},
};

TEST(SearchWindow, ChoosingAResultOfEachKindShowsItAsItsTabWouldEvenWhenFiltersHidIt)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    auto& m = s.menu();
    World& w = s.world();
    const PanelState& panel = s.program->panel();

    // A note of the player's own, found once the index knows it.
    const auto boss = FirstOfKind(w, Kind::Boss);
    ASSERT_TRUE(boss);
    modNotes::MapNote note;
    note.ShortDesc = QStringLiteral("Cache under the old bridge");
    note.Campaign = static_cast<uint8_t>(boss->campaign);
    note.Region = static_cast<uint8_t>(boss->region);
    note.X = boss->x + 20;
    note.Y = boss->y + 10;
    w.notes.Notes.push_back(note);
    m.FilterNotes(false);
    m.Search()->UpdateNotes();

    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(c.name);
        const auto r = FirstOfKind(w, c.kind, c.withoutSkill);
        ASSERT_TRUE(r) << "the demo world has one";
        const int tab = modSearch::TabOf(c.kind);

        // Everything against it: another region chosen, junk in the tab's
        // own filter, its layer hidden, another tab in front.
        m.EliteTab().cmbCampaign->setCurrentIndex(0);
        ChooseAnotherRegion(m, w, r->campaign);
        if (c.ownFilter)
            c.ownFilter(m)->setText(QStringLiteral("zzqx"));
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
        if (c.ownFilter)
            c.ownFilter(m)->clear();
    }

    // A campaign: chosen in the campaign combo.
    const auto name = w.campaigns.back().Name;
    ASSERT_FALSE(name.isEmpty());
    m.Search()->txtSearch->setText(name);
    const auto& found = m.Search()->Results();
    const auto campaign =
        std::find_if(found.begin(), found.end(), [](const Result& r) { return r.kind == Kind::Campaign; });
    ASSERT_NE(campaign, found.end());
    const int number = campaign->campaign;
    m.Search()->Choose(static_cast<int>(campaign - found.begin()));
    EXPECT_EQ(panel.cmbCampaign.selectedData(), number);
}

TEST(SearchWindow, ABossNameAndEnterShowTheBossAndTheKeyboardDrivesTheList)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    auto& m = s.menu();
    const World& w = s.world();
    const PanelState& panel = s.program->panel();

    // A boss whose name comes first when typed in full.
    std::optional<Result> boss;
    const modSearch::SearchIndex index(w);
    for (const Result& r : index.Find(u"a", 1 << 20))
        if (r.kind == Kind::Boss && r.item > 0 && modCampaigns::RegionExists(w.campaigns, r.campaign, r.region) &&
            index.Find(r.name, 1).front().kind == Kind::Boss && index.Find(r.name, 1).front().item == r.item) {
            boss = index.Find(r.name, 1).front();
            break;
        }
    ASSERT_TRUE(boss);

    QTest::keyClicks(m.Search()->txtSearch, boss->name);
    ASSERT_TRUE(m.Search()->lstSearchResults->isVisible());
    EXPECT_EQ(m.Search()->lstSearchResults->currentRow(), 0);
    QTest::keyClick(m.Search()->txtSearch, Qt::Key_Return);
    EXPECT_EQ(panel.ActiveTab, TabElite);
    EXPECT_EQ(panel.lstElite.selectedData(), boss->item);
    EXPECT_EQ(panel.lstLocations.selectedData(), boss->place); // the map follows as in the kinds table

    // Arrows move through the results and stop at the ends; Down shows them again.
    m.Search()->txtSearch->setText(QStringLiteral("e"));
    const int listed = m.Search()->lstSearchResults->count();
    ASSERT_GT(listed, 3);
    EXPECT_LE(listed, frmSearch::kListedResults);
    QTest::keyClick(m.Search()->txtSearch, Qt::Key_Up);
    EXPECT_EQ(m.Search()->lstSearchResults->currentRow(), 0);
    QTest::keyClick(m.Search()->txtSearch, Qt::Key_Down);
    QTest::keyClick(m.Search()->txtSearch, Qt::Key_Down);
    EXPECT_EQ(m.Search()->lstSearchResults->currentRow(), 2);
    for (int i = 0; i < listed + 5; ++i)
        QTest::keyClick(m.Search()->txtSearch, Qt::Key_PageDown);
    EXPECT_EQ(m.Search()->lstSearchResults->currentRow(), listed - 1);

    // Nothing matching: one row that says so and chooses nothing.
    m.Search()->txtSearch->setText(QStringLiteral("qqzx no such thing"));
    ASSERT_EQ(m.Search()->lstSearchResults->count(), 1);
    EXPECT_FALSE(m.Search()->lstSearchResults->item(0)->flags().testFlag(Qt::ItemIsEnabled));
    QTest::keyClick(m.Search()->txtSearch, Qt::Key_Return);
    EXPECT_EQ(panel.lstElite.selectedData(), boss->item);

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

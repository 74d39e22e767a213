// The collectors, greens, notes, treasures and pets tabs of the program
// started offscreen on a copy of the demo world: a chosen entry takes the map
// there and blinks, the filters reach the lists and the markers (what they
// keep is TabRules' business), the region menu, and notes inserted, edited
// and deleted through the map's menu and the editor.
#include "../core/TestFiles.h"
#include "StartedProgram.h"

#include "layers/frmManageNote.h"
#include "panel/modCollectorsTab.h"
#include "panel/modGreensTab.h"
#include "panel/modTreasuresPetsTab.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace mapview;

namespace {

void ClickRow(QListWidget* list, int row)
{
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

QPoint ViewPoint(frmMap& map, QPoint mapPoint)
{
    return mapPoint + QPoint(map.MapOffsetX(), map.MapOffsetY());
}

// One row per tab list: where its entry takes the map, what blinks there,
// and the search box that narrows it.
struct TabCase {
    const char* name;
    int tab;
    QListWidget* (*list)(const frmMenu&);
    std::optional<modTabRules::MapTarget> (*target)(const World&, const PanelState&);
    std::optional<FlashLayer> flash;
    QLineEdit* (*box)(const frmMenu&) = nullptr;
};

std::optional<modTabRules::MapTarget> PetTarget(const World& w, const PanelState& p)
{
    return modTreasuresPetsTab::SelectPetPlace(w, p);
}

QListWidget* Greens(const frmMenu& m)
{
    return m.GreensTab().lstGreens;
}

const TabCase kTabs[] = {
    {"collectors", TabCollectors, [](const frmMenu& m) { return m.CollectorsTab().lstCollectors; },
     modCollectorsTab::SelectCollector, FlashLayer::Collectors,
     [](const frmMenu& m) { return m.CollectorsTab().txtCollSearch; }},
    {"greens by name", TabGreens, Greens, modGreensTab::SelectGreen, FlashLayer::Greens,
     [](const frmMenu& m) { return m.GreensTab().txtGreensName; }},
    {"greens by property", TabGreens, Greens, modGreensTab::SelectGreen, FlashLayer::Greens,
     [](const frmMenu& m) { return m.GreensTab().txtGreenAdditional; }},
    {"treasures", TabTreasuresPets, [](const frmMenu& m) { return m.TreasuresPetsTab().lstVarshaTreasures; },
     modTreasuresPetsTab::SelectTreasure, FlashLayer::Treasures},
    {"pets", TabTreasuresPets, [](const frmMenu& m) { return m.TreasuresPetsTab().lstPets; }, PetTarget, std::nullopt},
};

// Which entries a filter keeps is TabRules' business; here each reaches its
// list and the markers.
TEST(LayerTabs, ChoosingAnEntrySwitchesTheRegionCentresAndBlinksAndTheRegionFilterNarrows)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    auto& m = s.menu();
    const PanelState& panel = s.program->panel();
    for (const TabCase& c : kTabs) {
        SCOPED_TRACE(c.name);
        m.EliteTab().cmbCampaign->setCurrentIndex(0);
        m.SelectTab(c.tab);
        QListWidget* list = c.list(m);
        const int all = list->count();
        ASSERT_GT(all, 0) << "the demo world lists some";

        ClickRow(list, 0);
        const auto target = c.target(s.world(), panel);
        ASSERT_TRUE(target.has_value());
        EXPECT_EQ(s.map().CurrentCampaign(), target->Campaign);
        EXPECT_EQ(s.map().CurrentRegion(), target->Region);
        ASSERT_TRUE(s.map().MapLoaded());
        EXPECT_EQ(s.offsets(), s.centredOn(target->Centre));
        s.map().CenterMapOn(0, 0);
        ClickRow(list, 0);
        EXPECT_EQ(s.offsets(), s.centredOn(target->Centre)) << "a click on the current row runs again";
        if (c.flash) {
            EXPECT_TRUE(s.map().FlashTimerEnabled(*c.flash));
        }

        // The search box: a text matching nothing empties the list and takes the markers away.
        if (c.box) {
            const QImage before = s.map().Canvas().picTemp;
            QTest::keyClicks(c.box(m), QStringLiteral("qqzx nothing"));
            EXPECT_EQ(list->count(), 0);
            EXPECT_NE(s.map().Canvas().picTemp, before) << "the markers went with the entries";
            c.box(m)->clear();
        }

        // The entry's region chosen on the elite tab: only that region's entries stay.
        m.EliteTab().cmbCampaign->setCurrentIndex(m.EliteTab().cmbCampaign->findData(target->Campaign));
        m.EliteTab().cmbRegion->setCurrentIndex(m.EliteTab().cmbRegion->findData(target->Region));
        EXPECT_GT(list->count(), 0);
        EXPECT_LE(list->count(), all);
    }
}

// The map's note commands with the editor and the question answered by the
// test, on the first region of the region menu; `spot` is a point of it
// without any marker.
struct NoteRun {
    Started& s;
    QStringList messages;
    bool answer = false;
    std::function<void(frmManageNote&)> edit;
    QPoint spot{-1, -1};

    explicit NoteRun(Started& started) : s(started)
    {
        s.map().openMenu = [](QMenu*, QPoint) {};
        s.map().askQuestion = [this](const QString&) { return answer; };
        s.map().showMessage = [this](const QString& text) { messages << text; };
        s.map().runNoteEditor = [this](frmManageNote& editor) { edit(editor); };
        s.map().MenuPopupRegion()->actions().at(0)->menu()->actions().at(0)->trigger();
        const QSize size = s.map().Canvas().MapSize();
        const MapContext context{s.world(),
                                 s.program->panel(),
                                 s.map().CurrentCampaign(),
                                 s.map().CurrentRegion(),
                                 s.offsets(),
                                 s.map().Canvas().ViewSize(),
                                 {},
                                 nullptr};
        for (int y = 40; y < size.height() && spot.x() < 0; y += 23)
            for (int x = 40; x < size.width() && spot.x() < 0; x += 23)
                if (!s.map().Layers().HitTest(ViewPoint(s.map(), {x, y}), context) &&
                    x + s.map().MapOffsetX() < s.map().VisibleWidth() &&
                    y + s.map().MapOffsetY() < s.map().VisibleHeight())
                    spot = {x, y};
    }
    // Double click at map point p, as a player would.
    void DoubleClick(QPoint p) { QTest::mouseDClick(s.map().picMap(), Qt::LeftButton, {}, ViewPoint(s.map(), p)); }
};

TEST(LayerTabs, NotesAreInsertedEditedAndDeletedThroughTheMenuAndTheEditor)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    s.menu().EliteTab().cmbCampaign->setCurrentIndex(s.menu().EliteTab().cmbCampaign->findData(3));
    NoteRun run(s); // through the region menu's first item, from another campaign
    EXPECT_EQ(s.menu().EliteTab().cmbRegion->currentData().toInt(), 8);
    const QPoint spot = run.spot;
    ASSERT_GE(spot.x(), 0);

    // Empty map: Insert; the editor gets the point and a new note.
    run.DoubleClick(spot);
    EXPECT_FALSE(s.map().mnuNoteEdit()->isEnabled());
    run.edit = [](frmManageNote& e) {
        e.txtShortDesc->setText(QStringLiteral("Ford crossing"));
        e.txtBody->setPlainText(QStringLiteral("Wade at dusk\nmind the eels"));
        EXPECT_TRUE(e.cmdSave_Click());
    };
    s.map().mnuNoteInsert()->trigger();
    ASSERT_EQ(s.menu().NotesTab().lstNotes->count(), 1);

    // On the note: Edit, which keeps the place.
    run.DoubleClick(spot);
    run.edit = [](frmManageNote& e) {
        e.txtShortDesc->setText(QStringLiteral("Ford crossing (deep)"));
        EXPECT_TRUE(e.cmdSave_Click());
    };
    s.map().mnuNoteEdit()->trigger();
    EXPECT_EQ(s.menu().NotesTab().lstNotes->item(0)->text(), QStringLiteral("Ford crossing (deep)"));
    EXPECT_EQ(folder.read(QStringLiteral("Personal/Notes.txt")),
              QByteArray("Ford crossing (deep)\tWade at dusk{#ENTER#}mind the eels\t") + QByteArray::number(spot.x()) +
                  '\t' + QByteArray::number(spot.y()) + "\t1\t8\r\n");

    // Choosing it in the list takes the map there; Delete with Yes empties the list and the file.
    s.menu().EliteTab().cmbCampaign->setCurrentIndex(0);
    s.menu().SelectTab(TabNotes);
    ClickRow(s.menu().NotesTab().lstNotes, 0);
    EXPECT_EQ(s.map().CurrentRegion(), 8);
    EXPECT_TRUE(s.map().FlashTimerEnabled(FlashLayer::Notes));
    run.DoubleClick(spot);
    run.answer = true;
    s.map().mnuNoteDelete()->trigger();
    EXPECT_EQ(s.menu().NotesTab().lstNotes->count(), 0);
    EXPECT_EQ(folder.read(QStringLiteral("Personal/Notes.txt")), QByteArray());

    // The window system closing the map ends the program as the panel's close does.
    s.map().close();
    EXPECT_TRUE(s.ended);
}

TEST(LayerTabs, AFailedNoteSaveKeepsTheOldFileAndTheNoteAndSaysSo)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    NoteRun run(s);
    const QPoint spot = run.spot;
    run.DoubleClick(spot);
    run.edit = [](frmManageNote& e) { EXPECT_TRUE(e.cmdSave_Click()); };
    s.map().mnuNoteInsert()->trigger();
    const QByteArray old = folder.read(QStringLiteral("Personal/Notes.txt"));
    ASSERT_FALSE(old.isEmpty());

    run.DoubleClick(spot + QPoint(0, 300));
    run.edit = [&](frmManageNote& e) {
        e.txtBody->setPlainText(QStringLiteral("A long text that the full disk will not take"));
        const FileSizeLimit full(8);
        ASSERT_TRUE(full.ok());
        EXPECT_FALSE(e.cmdSave_Click());
        EXPECT_EQ(e.SavedNote(), -1);
    };
    s.map().mnuNoteInsert()->trigger();
    ASSERT_EQ(run.messages.size(), 1);
    EXPECT_TRUE(run.messages[0].startsWith(QStringLiteral("The note could not be saved")));
    EXPECT_EQ(folder.read(QStringLiteral("Personal/Notes.txt")), old);
    EXPECT_EQ(s.menu().NotesTab().lstNotes->count(), 1);
}

// A safety copy that cannot be made (a file where the copies' folder
// belongs) is told by the note editor's save, once in the run.
TEST(LayerTabs, ANoteSaveTellsOfAFailedSafetyCopyOnce)
{
    ProgramCopy folder;
    ASSERT_TRUE(folder.write(QStringLiteral("Personal/Backup"), "not a folder"));
    ASSERT_TRUE(folder.write(QStringLiteral("Personal/Notes.txt"), "Camp\t\t10\t10\t1\t8\r\n"));
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    NoteRun run(s);
    const QPoint spot = run.spot;
    run.edit = [](frmManageNote& e) { EXPECT_TRUE(e.cmdSave_Click()); };
    run.DoubleClick(spot);
    s.map().mnuNoteInsert()->trigger();
    run.DoubleClick(spot);
    s.map().mnuNoteEdit()->trigger();
    ASSERT_EQ(run.messages.size(), 1) << run.messages.join(u'|').toStdString();
    EXPECT_TRUE(run.messages[0].startsWith(QStringLiteral("The safety copy of your personal files could not be made")))
        << run.messages[0].toStdString();
    EXPECT_EQ(s.world().notes.count(), 2) << "the saves went through";
    EXPECT_EQ(folder.read(QStringLiteral("Personal/Backup")), "not a folder");
}

// What the file cannot hold: refused as typed in the title, refused on
// Save in the text.
TEST(LayerTabs, NoteEditorRefusesCharactersTheFileCannotHold)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    QStringList messages;
    frmManageNote e(s.world());
    e.showMessage = [&](const QString& text) { messages << text; };
    e.SetNote(-1);
    e.Load();
    e.txtShortDesc->clear();
    for (const QChar c : QStringLiteral("Caf\u00e9 \u2713 \u20ac")) { // typed as a keyboard would
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(e.txtShortDesc, &press);
    }
    EXPECT_EQ(e.txtShortDesc->text(), QStringLiteral("Caf\u00e9  \u20ac")) << "the tick is refused as typed";
    e.txtBody->setPlainText(QStringLiteral("ok \u2713"));
    EXPECT_FALSE(e.cmdSave_Click());
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(s.world().notes.count(), 0);
    EXPECT_TRUE(folder.read(QStringLiteral("Personal/Notes.txt")).isEmpty());
}

} // namespace

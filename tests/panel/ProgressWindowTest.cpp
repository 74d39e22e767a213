// The progress window in the running program: opened by Ctrl+P and the
// Options menu, a click or Enter on a cell sets the elite or chests tab to
// what that character lacks (which skills that is, is the overview's rule:
// ProgressOverview), and a capture recounts its cell.
#include "StartedProgram.h"

#include "elite/frmMarkEliteAsCaptured.h"
#include "panel/frmProgress.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

// Two characters: Ayla captured skills 1..12, Bren none (and has no capture
// file).
void WriteCharacters(const ProgramCopy& folder)
{
    QByteArray captured;
    for (int n = 1; n <= 12; ++n)
        captured += QByteArray::number(n).rightJustified(4, '0') + "\r\n";
    ASSERT_TRUE(folder.write(QStringLiteral("Personal/Characters.txt"), "01\tAyla\r\n02\tBren\r\n"));
    ASSERT_TRUE(folder.write(QStringLiteral("Personal/Char01CapElite.txt"), captured));
}

// Ctrl+P pressed on `window` made the active one.
frmProgress& OpenWithCtrlP(Started& s, QWidget& window)
{
    QApplication::setActiveWindow(&window);
    if (QApplication::activeWindow() != &window)
        throw std::runtime_error("the window could not be made the active one");
    QTest::keyClick(&window, Qt::Key_P, Qt::ControlModifier);
    if (!s.menu().Progress())
        throw std::runtime_error("Ctrl+P opened no progress window");
    return *s.menu().Progress();
}

void ClickCell(frmProgress& p, int row, int column)
{
    QTableWidget* t = p.tblProgress;
    QTableWidgetItem* item = t->item(p.TableRow(row), column);
    ASSERT_NE(item, nullptr);
    t->scrollToItem(item);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualItemRect(item).center());
}

// The first row of `kind`; of a campaign row, the first whose campaign has a region map.
int RowOf(const frmProgress& p, modProgress::RowKind kind, const World* w = nullptr)
{
    const auto& rows = p.Overview().rows;
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (rows[r].kind == kind && (!w || std::any_of(w->campaigns[std::size_t(rows[r].number)].Regions.begin(),
                                                       w->campaigns[std::size_t(rows[r].number)].Regions.end(),
                                                       [](const auto& region) { return !region.Name.isEmpty(); })))
            return static_cast<int>(r);
    return -1;
}

std::set<int> Listed(const QListWidget* list)
{
    std::set<int> numbers;
    for (int i = 0; i < list->count(); ++i)
        numbers.insert(list->item(i)->data(Qt::UserRole).toInt());
    return numbers;
}

TEST(ProgressWindow, ACellShowsExactlyWhatTheCharacterLacks)
{
    ProgramCopy folder;
    WriteCharacters(folder);
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    frmProgress& p = OpenWithCtrlP(s, s.menu());
    ASSERT_EQ(p.Overview().names, (std::vector<QString>{"Ayla", "Bren"}));
    frmMenu& m = s.menu();
    const World& w = s.world();

    using modProgress::RowKind;
    const struct {
        const char* name;
        RowKind kind;
        int column;
        bool byKeyboard;
    } cases[] = {
        {"campaign, Bren without a file", RowKind::Campaign, 1, false},
        {"profession, Ayla, by Enter", RowKind::Profession, 0, true},
        {"total, Ayla", RowKind::Total, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m.SelectTab(TabNotes);
        const int row = RowOf(p, c.kind, c.kind == RowKind::Campaign ? &w : nullptr);
        ASSERT_GE(row, 0);
        const modProgress::Row& r = p.Overview().rows[static_cast<std::size_t>(row)];
        if (c.byKeyboard) {
            p.tblProgress->setCurrentCell(p.TableRow(row), c.column);
            QTest::keyClick(p.tblProgress, Qt::Key_Return);
        } else {
            ClickCell(p, row, c.column);
        }
        EXPECT_EQ(s.program->panel().ActiveTab, TabElite);
        EXPECT_TRUE(m.EliteTab().optCapture[1]->isChecked());
        EXPECT_EQ(m.EliteTab().cmbCharacter->currentData().toInt(), c.column + 1);
        if (r.kind == RowKind::Campaign) {
            EXPECT_EQ(m.EliteTab().cmbCampaign->currentData().toInt(), r.number);
        }
        EXPECT_EQ(m.EliteTab().cmbProfession->currentData().toInt(), r.kind == RowKind::Profession ? r.number : 0);
        // A region that lacks something stays shown, its list what the
        // character lacks there: never one of Ayla's skills 1..12.
        EXPECT_GT(m.EliteTab().cmbRegion->currentData().toInt(), 0);
        EXPECT_TRUE(s.map().MapLoaded());
        const std::set<int> listed = Listed(m.EliteTab().lstElite);
        EXPECT_FALSE(listed.empty());
        EXPECT_LE(static_cast<int>(listed.size()), r.total - r.done[static_cast<std::size_t>(c.column)]);
        if (c.column == 0) {
            EXPECT_GT(*listed.begin(), 12);
        }
    }
    EXPECT_GT(p.Overview().rows[static_cast<std::size_t>(RowOf(p, RowKind::Total))].done[0], 0)
        << "Ayla's captures counted";

    // A chest cell: the chests tab, that campaign, "Not yet opened by" her.
    const int chests = RowOf(p, modProgress::RowKind::Chests);
    ASSERT_GE(chests, 0);
    ClickCell(p, chests, 1);
    EXPECT_EQ(s.program->panel().ActiveTab, TabTreasuresPets);
    EXPECT_EQ(m.TreasuresPetsTab().cmbTreasureCharacter->currentData().toInt(), 2);
    // Bren opened none: the first region with chests stays shown, its chests listed.
    EXPECT_GT(m.TreasuresPetsTab().lstVarshaTreasures->count(), 0);
    EXPECT_LE(m.TreasuresPetsTab().lstVarshaTreasures->count(),
              p.Overview().rows[static_cast<std::size_t>(chests)].total);

    // Escape closes; the menu row brings the same window back.
    QTest::keyClick(p.tblProgress, Qt::Key_Escape);
    EXPECT_FALSE(p.isVisible());
    m.OnMenuEntryClick(1, 9);
    EXPECT_EQ(m.Progress(), &p);
    EXPECT_TRUE(p.isVisible());
}

TEST(ProgressWindow, ACaptureRecountsItsCellAndTheStillNeededLine)
{
    ProgramCopy folder;
    WriteCharacters(folder);
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    frmMenu& m = s.menu();
    frmProgress& p = OpenWithCtrlP(s, s.menu());
    const int total = RowOf(p, modProgress::RowKind::Total);
    ASSERT_GE(total, 0);
    const int before = p.Overview().rows[static_cast<std::size_t>(total)].done[1];

    // A skill Bren lacks selected: both still need it (or Bren alone, when
    // it is one of Ayla's 1..12)... until Bren captures it.
    ClickCell(p, total, 1);
    ASSERT_GT(m.EliteTab().lstElite->count(), 0);
    m.EliteTab().optCapture[0]->setChecked(true);
    m.EliteTab().lstElite->setCurrentRow(0);
    const int elite = m.EliteTab().lstElite->item(0)->data(Qt::UserRole).toInt();
    const bool aylaHasIt = elite <= 12;
    auto* line = m.findChild<QLabel*>(QStringLiteral("lblStillNeeded"));
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), QStringLiteral("%1 of 2 characters still need this").arg(aylaHasIt ? 1 : 2));

    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&timer] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<frmMarkEliteAsCaptured*>(w); d && d->isVisible()) {
                timer.stop();
                for (int i = 0; i < d->lstCharacters->count(); ++i)
                    if (d->lstCharacters->item(i)->data(Qt::UserRole).toInt() == 2)
                        d->lstCharacters->setCurrentRow(i);
                QTest::mouseClick(d->cmdSave, Qt::LeftButton);
            }
    });
    timer.start();
    s.program->MarkEliteAsCaptured(elite);
    EXPECT_EQ(p.Overview().rows[static_cast<std::size_t>(total)].done[1], before + 1);
    EXPECT_EQ(p.tblProgress->item(p.TableRow(total), 1)->text(),
              QStringLiteral("%1 / %2").arg(before + 1).arg(p.Overview().rows[static_cast<std::size_t>(total)].total));
}

// The map, a tool window of the panel, is the active window: the key must
// reach exactly one shortcut (two would be ambiguous and do nothing).
TEST(ProgressWindow, CtrlPFromTheMapWindowOpensItSayingHowToMakeACharacter)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    frmProgress& p = OpenWithCtrlP(s, s.map());
    EXPECT_TRUE(p.lblNoCharacters->isVisible());
}

} // namespace

// The progress window in the running program: opened by Ctrl+P and the
// Options menu, a click or Enter on a cell sets the elite or chests tab to
// exactly what that character lacks, and a capture recounts its cell.
#include "StartedProgram.h"

#include "core/TextNumbers.h"
#include "elite/frmMarkEliteAsCaptured.h"
#include "panel/frmProgress.h"
#include "panel/frmTreasuresPetsTab.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
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
    QDir().mkpath(folder.path() + QStringLiteral("Personal"));
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile f(folder.path() + QString::fromLatin1(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write("Personal/Characters.txt", "01\tAyla\r\n02\tBren\r\n");
    QByteArray captured;
    for (int n = 1; n <= 12; ++n)
        captured += QByteArray::number(n).rightJustified(4, '0') + "\r\n";
    write("Personal/Char01CapElite.txt", captured);
}

frmProgress& OpenWithCtrlP(Started& s)
{
    QApplication::setActiveWindow(&s.menu());
    QTest::keyClick(&s.menu(), Qt::Key_P, Qt::ControlModifier);
    auto* progress = s.menu().Progress();
    if (!progress)
        throw std::runtime_error("Ctrl+P opened no progress window");
    return *progress;
}

// The first campaign row whose campaign has a region map.
int CampaignRowWithRegions(const frmProgress& p, const World& w)
{
    const auto& rows = p.Overview().rows;
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (rows[r].kind == modProgress::RowKind::Campaign)
            for (const auto& region : w.campaigns[static_cast<std::size_t>(rows[r].number)].Regions)
                if (!region.Name.isEmpty())
                    return static_cast<int>(r);
    return -1;
}

void ClickCell(frmProgress& p, int row, int column)
{
    QTableWidget* t = p.tblProgress;
    QTableWidgetItem* item = t->item(p.TableRow(row), column);
    ASSERT_NE(item, nullptr);
    t->scrollToItem(item);
    QTest::mouseClick(t->viewport(), Qt::LeftButton, {}, t->visualItemRect(item).center());
}

int RowOf(const frmProgress& p, modProgress::RowKind kind)
{
    const auto& rows = p.Overview().rows;
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (rows[r].kind == kind)
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

// The skills of campaign c (any when c < 0; only region r of it when r > 0)
// and profession p (any when 0) with a place, that character `ch` has not
// captured, decided from the world's records alone.
std::set<int> Missing(const World& w, int c, int p, int ch, int r = 0)
{
    std::set<int> numbers;
    for (int n = 1; n <= w.elite.highest(); ++n) {
        const auto& skill = w.elite.EliteSkills[static_cast<std::size_t>(n)];
        bool here = c < 0 && skill.Locations.size() > 1;
        for (std::size_t i = 1; i < skill.Locations.size(); ++i)
            here = here || (r > 0 ? skill.Locations[i].Campaign == c && skill.Locations[i].Region == r
                                  : skill.Locations[i].Campaign == c || (c == 0 && skill.Campaign == 0));
        const bool captured = static_cast<std::size_t>(ch) < skill.Captured.size() && skill.Captured[ch];
        if (here && (p == 0 || skill.Profession == p) && !captured)
            numbers.insert(n);
    }
    return numbers;
}

TEST(ProgressWindow, ACellShowsExactlyWhatTheCharacterLacks)
{
    ProgramCopy folder;
    WriteCharacters(folder);
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    frmProgress& p = OpenWithCtrlP(s);
    EXPECT_TRUE(p.isVisible());
    EXPECT_EQ(p.windowTitle(), s.world().language(Text::ProgressTitle));
    ASSERT_EQ(p.Overview().names, (std::vector<QString>{"Ayla", "Bren"}));
    ASSERT_FALSE(p.Overview().rows.empty()) << s.world().elite.highest() << " skills";
    frmMenu& m = s.menu();
    const World& w = s.world();

    struct Case {
        const char* name;
        modProgress::RowKind kind;
        int column;
        bool byKeyboard;
    };
    const Case cases[] = {
        {"campaign, Ayla", modProgress::RowKind::Campaign, 0, false},
        {"campaign, Bren without a file", modProgress::RowKind::Campaign, 1, false},
        {"profession, Ayla, by Enter", modProgress::RowKind::Profession, 0, true},
        {"total, Ayla", modProgress::RowKind::Total, 0, false},
    };
    for (const Case& c : cases) {
        m.SelectTab(TabNotes);
        const int row = c.kind == modProgress::RowKind::Campaign ? CampaignRowWithRegions(p, w) : RowOf(p, c.kind);
        ASSERT_GE(row, 0) << c.name;
        const modProgress::Row& r = p.Overview().rows[static_cast<std::size_t>(row)];
        if (c.byKeyboard) {
            p.tblProgress->setCurrentCell(p.TableRow(row), c.column);
            QTest::keyClick(p.tblProgress, Qt::Key_Return);
        } else {
            ClickCell(p, row, c.column);
        }
        EXPECT_EQ(s.program->panel().ActiveTab, TabElite) << c.name;
        EXPECT_TRUE(m.EliteTab().optCapture[1]->isChecked()) << c.name;
        EXPECT_EQ(m.EliteTab().cmbCharacter->currentData().toInt(), c.column + 1) << c.name;
        const int profession = r.kind == modProgress::RowKind::Profession ? r.number : 0;
        const int campaign = m.EliteTab().cmbCampaign->currentData().toInt();
        if (r.kind == modProgress::RowKind::Campaign) {
            EXPECT_EQ(campaign, r.number) << c.name;
        }
        EXPECT_EQ(m.EliteTab().cmbProfession->currentData().toInt(), profession) << c.name;
        // A region that lacks something stays shown: the map keeps a picture,
        // and the list is what the character lacks there.
        const int region = m.EliteTab().cmbRegion->currentData().toInt();
        EXPECT_GT(region, 0) << c.name;
        EXPECT_TRUE(s.map().MapLoaded()) << c.name;
        const std::set<int> listed = Listed(m.EliteTab().lstElite);
        EXPECT_FALSE(listed.empty()) << c.name;
        EXPECT_EQ(listed, Missing(w, campaign, profession, c.column + 1, region)) << c.name;
        const std::set<int> rowMissing =
            Missing(w, r.kind == modProgress::RowKind::Campaign ? r.number : -1, profession, c.column + 1);
        EXPECT_TRUE(std::includes(rowMissing.begin(), rowMissing.end(), listed.begin(), listed.end())) << c.name;
    }
    // A campaign without regions: every region of it, as before.
    const int noRegions = RowOf(p, modProgress::RowKind::Campaign);
    ASSERT_NE(noRegions, CampaignRowWithRegions(p, w)) << "the demo world's first campaign has no map";
    ClickCell(p, noRegions, 0);
    const modProgress::Row& core = p.Overview().rows[static_cast<std::size_t>(noRegions)];
    EXPECT_EQ(m.EliteTab().cmbCampaign->currentData().toInt(), core.number);
    EXPECT_EQ(m.EliteTab().cmbRegion->currentData().toInt(), 0);
    EXPECT_EQ(Listed(m.EliteTab().lstElite), Missing(w, core.number, 0, 1));
    EXPECT_EQ(m.EliteTab().lstElite->count(), core.total - core.done[0]);
    EXPECT_GT(p.Overview().rows[static_cast<std::size_t>(RowOf(p, modProgress::RowKind::Total))].done[0], 0)
        << "Ayla's captures counted";

    // A chest cell: the chests tab, that campaign, "Not yet opened by" her.
    const int chests = RowOf(p, modProgress::RowKind::Chests);
    ASSERT_GE(chests, 0);
    ClickCell(p, chests, 1);
    EXPECT_EQ(s.program->panel().ActiveTab, TabTreasuresPets);
    auto* tab = m.findChild<frmTreasuresPetsTab*>();
    EXPECT_EQ(tab->cmbTreasureCharacter->currentData().toInt(), 2);
    // Bren opened none: the first region with chests stays shown, its chests listed.
    EXPECT_GT(m.EliteTab().cmbRegion->currentData().toInt(), 0);
    EXPECT_TRUE(s.map().MapLoaded());
    EXPECT_GT(m.TreasuresPetsTab().lstVarshaTreasures->count(), 0);
    EXPECT_LE(m.TreasuresPetsTab().lstVarshaTreasures->count(),
              p.Overview().rows[static_cast<std::size_t>(chests)].total);

    // The arrow keys pass over the headings: from the last campaign down to
    // the first profession and back; they stop at the edges.
    const int firstProfession = RowOf(p, modProgress::RowKind::Profession);
    p.tblProgress->setCurrentCell(p.TableRow(firstProfession - 1), 0);
    QTest::keyClick(p.tblProgress, Qt::Key_Down);
    EXPECT_EQ(p.tblProgress->currentRow(), p.TableRow(firstProfession));
    QTest::keyClick(p.tblProgress, Qt::Key_Up);
    EXPECT_EQ(p.tblProgress->currentRow(), p.TableRow(firstProfession - 1));
    QTest::keyClick(p.tblProgress, Qt::Key_Left);
    EXPECT_EQ(p.tblProgress->currentColumn(), 0);
    QTest::keyClick(p.tblProgress, Qt::Key_Right);
    QTest::keyClick(p.tblProgress, Qt::Key_Right);
    EXPECT_EQ(p.tblProgress->currentColumn(), 1);

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
    frmProgress& p = OpenWithCtrlP(s);
    const int total = RowOf(p, modProgress::RowKind::Total);
    ASSERT_GE(total, 0);
    const int before = p.Overview().rows[static_cast<std::size_t>(total)].done[1];

    // The first skill Bren lacks, selected: both still need it... until Bren captures it.
    ClickCell(p, total, 1);
    ASSERT_GT(m.EliteTab().lstElite->count(), 0);
    m.EliteTab().optCapture[0]->setChecked(true);
    m.EliteTab().lstElite->setCurrentRow(0);
    const int selected = m.EliteTab().lstElite->item(0)->data(Qt::UserRole).toInt();
    // Bren has captured nothing: the first skill of the region shown is one he lacks.
    const int elite = selected;
    auto* line = m.findChild<QLabel*>(QStringLiteral("lblStillNeeded"));
    ASSERT_NE(line, nullptr);
    const int need = s.world().elite.EliteSkills[static_cast<std::size_t>(selected)].Captured.size() > 1 &&
                             s.world().elite.EliteSkills[static_cast<std::size_t>(selected)].Captured[1]
                         ? 1
                         : 2;
    EXPECT_EQ(line->text(), QStringLiteral("%1 of 2 characters still need this").arg(need));

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
    // The line counts again for the skill selected anew.
    m.EliteTab().lstElite->setCurrentRow(-1);
    for (int i = 0; i < m.EliteTab().lstElite->count(); ++i)
        if (m.EliteTab().lstElite->item(i)->data(Qt::UserRole).toInt() == elite)
            m.EliteTab().lstElite->setCurrentRow(i);
    const bool aylaHasIt = s.world().elite.EliteSkills[static_cast<std::size_t>(elite)].Captured[1];
    EXPECT_EQ(line->text(), QStringLiteral("%1 of 2 characters still need this").arg(aylaHasIt ? 0 : 1));
    m.EliteTab().lstElite->setCurrentRow(-1);
    m.FilterElites(true);
    EXPECT_TRUE(line->text().isEmpty()) << "no skill selected";
}

TEST(ProgressWindow, NinetyNineCharactersStayOnTheScreenAndScroll)
{
    ProgramCopy folder;
    QDir().mkpath(folder.path() + QStringLiteral("Personal"));
    QFile list(folder.path() + QStringLiteral("Personal/Characters.txt"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    for (int n = 1; n <= 99; ++n)
        list.write(QByteArray::number(n).rightJustified(2, '0') + "\tHero " + QByteArray::number(n) + "\r\n");
    list.close();
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    frmProgress& p = OpenWithCtrlP(s);
    ASSERT_EQ(p.Overview().characters.size(), 99u);
    const QRect screen = p.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(p.frameGeometry())) << "within the screen";
    EXPECT_GT(p.tblProgress->horizontalScrollBar()->maximum(), 0) << "the columns scroll";
    // The last character's column is reached by the keyboard.
    for (int i = 0; i < 98; ++i)
        QTest::keyClick(p.tblProgress, Qt::Key_Right);
    EXPECT_EQ(p.tblProgress->currentColumn(), 98);
    EXPECT_TRUE(
        p.tblProgress->viewport()->rect().intersects(p.tblProgress->visualItemRect(p.tblProgress->currentItem())));
}

TEST(ProgressWindow, WithoutCharactersItSaysHowToMakeOne)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    frmProgress& p = OpenWithCtrlP(s);
    EXPECT_TRUE(p.lblNoCharacters->isVisible());
    EXPECT_FALSE(p.tblProgress->isVisible());
    EXPECT_EQ(p.lblNoCharacters->text(), s.world().language(Text::NoCharacters));
}

TEST(ProgressWindow, CtrlPFromTheMapWindowOpensIt)
{
    ProgramCopy folder;
    WriteCharacters(folder);
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    // The map, a tool window of the panel, is the active window: the key
    // must reach exactly one shortcut (two would be ambiguous and do nothing).
    QApplication::setActiveWindow(&s.map());
    ASSERT_EQ(QApplication::activeWindow(), &s.map());
    QTest::keyClick(&s.map(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_NE(s.menu().Progress(), nullptr);
    EXPECT_TRUE(s.menu().Progress()->isVisible());
}

} // namespace

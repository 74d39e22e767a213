// The program started offscreen on a copy of the demo world: the menu bar's
// popup menu and what its rows do, the legend, minimising and restoring, and
// the credits and about windows.
#include "../ProgramCopy.h"
#include "../TextPixels.h"
#include "app/WayloomProgram.h"
#include "core/TextNumbers.h"
#include "core/modMain.h"
#include "mapview/frmMap.h"
#include "panel/frmMenu.h"
#include "windows/Credits.h"
#include "windows/frmCredits.h"
#include "windows/frmFAKE.h"
#include "windows/frmInformation.h"
#include "windows/frmLegenda.h"
#include "windows/frmPopupMenu.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Started {
    explicit Started(const ProgramCopy& folder) : program(std::make_unique<WayloomProgram>(folder.path()))
    {
        program->showError = [this](const QString& text, bool) { errors << text; };
        program->endProgram = [this] { ended = true; };
        program->openWithShell = [this](const QString& target) {
            opened << target;
            return true;
        };
        program->startDetached = [](const QString&) { return false; };
        result = program->Main();
    }
    frmMenu& menu() { return *program->menu(); }
    frmMap& map() { return *program->map(); }
    frmLegenda& legend() { return *program->legend(); }
    PanelState& panel() { return program->panel(); }
    frmPopupMenu* popup() { return menu().findChild<frmPopupMenu*>(); }

    // Clicks a menu title, then the middle of an entry's label.
    void Choose(int menuIndex, int entry)
    {
        QTest::mouseClick(menu().lblMenu[static_cast<std::size_t>(menuIndex)], Qt::LeftButton);
        ASSERT_NE(popup(), nullptr);
        ASSERT_TRUE(popup()->isVisible());
        ASSERT_EQ(popup()->OpenedMenu(), menuIndex);
        QTest::mouseClick(popup(), Qt::LeftButton, {},
                          popup()->Layout().rows[static_cast<std::size_t>(entry)].label.center());
    }

    std::unique_ptr<WayloomProgram> program;
    WayloomProgram::StartResult result{};
    QStringList errors, opened;
    bool ended = false;
};

TEST(PopupMenuWindow, OpensUnderItsTitleShowingTheCurrentSettings)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    QLabel* title = s.menu().lblMenu[1];
    QTest::mouseClick(title, Qt::LeftButton);
    frmPopupMenu* popup = s.popup();
    ASSERT_NE(popup, nullptr);
    ASSERT_TRUE(popup->isVisible());
    EXPECT_TRUE(popup->Ready());
    // Just under the title, on the frame round it.
    const QPoint titleTopLeft = title->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(popup->y(), titleTopLeft.y() + title->height() + 2);
    EXPECT_EQ(popup->x(), titleTopLeft.x() - 4);
    ASSERT_NE(popup->TitleFrame(), nullptr);
    EXPECT_TRUE(popup->TitleFrame()->isVisible());
    // Values as the panel has them: legend off, not on top, tooltips follow the pointer.
    for (const auto& [row, value] : {std::pair{0, 0}, {1, 0}, {4, 0}, {5, 0}, {6, 1}})
        EXPECT_EQ(popup->MenuAt(1).Entries[std::size_t(row)].Value, value) << row;

    // The heading and a separator do nothing; the popup stays open.
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->Layout().rows[3].label.center());
    QTest::mouseClick(popup, Qt::LeftButton, {}, QPoint(20, popup->Layout().rows[2].centreY));
    EXPECT_TRUE(popup->isVisible());

    popup->hide();
    EXPECT_FALSE(popup->TitleFrame()->isVisible());
    QTest::mouseClick(s.menu().lblMenu[0], Qt::LeftButton);
    EXPECT_EQ(popup->OpenedMenu(), 0);
    // Hovering a row highlights it; the background clears it.
    QTest::mouseMove(popup, popup->Layout().rows[2].label.center());
    EXPECT_EQ(popup->Highlighted(), 2);
    QTest::mouseMove(popup, QPoint(popup->width() - 2, popup->height() - 2));
    EXPECT_EQ(popup->Highlighted(), -1);

    // The arrows pass over the heading and the separators of menu 1; Return chooses.
    popup->hide();
    QTest::mouseClick(s.menu().lblMenu[1], Qt::LeftButton);
    QTest::mouseMove(popup, QPoint(popup->width() - 2, popup->height() - 2));
    const int down[] = {0, 1, 4, 5, 6, 8, 9, 11, 12, 13, 15, 16, 0};
    for (int expected : down) {
        QTest::keyClick(popup, Qt::Key_Down);
        EXPECT_EQ(popup->Highlighted(), expected);
    }
    QTest::keyClick(popup, Qt::Key_Up);
    EXPECT_EQ(popup->Highlighted(), 16);
    for (int up = 0; up < 7; ++up)
        QTest::keyClick(popup, Qt::Key_Up);
    EXPECT_EQ(popup->Highlighted(), 6);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(s.panel().HoverMode, HoverFollowPointer);
}

TEST(PopupMenuWindow, TheMenuTitlesShowEveryLetterAtTwoFontSizes)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    const QString panelStyle = s.menu().styleSheet();
    for (const int points : {9, 20}) {
        SCOPED_TRACE(points);
        s.menu().setStyleSheet(panelStyle + QStringLiteral("QLabel#menuTitle { font-size: %1pt; }").arg(points));
        QApplication::processEvents();
        int right = 0;
        for (QLabel* title : s.menu().lblMenu) {
            SCOPED_TRACE(title->text().toStdString());
            EXPECT_GE(title->x(), right) << "the titles do not overlap";
            right = title->geometry().right() + 1;
            const int width = title->width();
            const QString text = title->text();
            EXPECT_EQ(TextPixels(title, text, width), TextPixels(title, text, width + 300)) << "width " << width;
            title->resize(width, title->height());
        }
    }
}

TEST(PopupMenuWindow, RowsActOnThePanelAndTheWindows)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    // Show menu: a row toggles its layer's show box, and the popup goes.
    s.Choose(0, 2);
    EXPECT_FALSE(s.popup()->isVisible());
    EXPECT_FALSE(s.menu().chkShowObject[2]->isChecked());
    EXPECT_FALSE(s.panel().chkShowObject[2]);
    s.Choose(0, 2);
    EXPECT_TRUE(s.menu().chkShowObject[2]->isChecked());

    // The legend switch shows and hides the legend.
    ASSERT_FALSE(s.legend().isVisible());
    s.Choose(1, 0);
    EXPECT_EQ(s.panel().LegendState, 1);
    EXPECT_TRUE(s.legend().isVisible());
    s.Choose(1, 0);
    EXPECT_EQ(s.panel().LegendState, 0);
    EXPECT_FALSE(s.legend().isVisible());

    // Always on top: the panel, the map and the legend; and off again.
    s.Choose(1, 1);
    EXPECT_EQ(s.panel().AlwaysOnTop, 1);
    for (QWidget* w :
         {static_cast<QWidget*>(&s.menu()), static_cast<QWidget*>(&s.map()), static_cast<QWidget*>(&s.legend())})
        EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << w->objectName().toStdString();
    EXPECT_TRUE(s.map().isVisible());
    s.Choose(1, 1);
    EXPECT_FALSE(s.map().windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    // A tooltip mode, shown as the one set option next time.
    s.Choose(1, 4);
    EXPECT_EQ(s.panel().HoverMode, HoverSticky);
    QTest::mouseClick(s.menu().lblMenu[1], Qt::LeftButton);
    for (int option = 4; option <= 6; ++option)
        EXPECT_EQ(s.popup()->MenuAt(1).Entries[static_cast<std::size_t>(option)].Value, option == 4 ? 1 : 0);
}

TEST(Legend, ClosedByItsButtonAndPlacedWhereItWasLeft)
{
    ProgramCopy folder;
    QPoint placed;
    {
        Started s(folder);
        ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
        s.menu().OnMenuEntryClick(1, 0);
        ASSERT_TRUE(s.legend().isVisible());
        QTest::mouseClick(s.legend().cmdClose(), Qt::LeftButton);
        EXPECT_FALSE(s.legend().isVisible());
        EXPECT_EQ(s.panel().LegendState, 0);
        s.menu().OnMenuEntryClick(1, 0);
        placed = QPoint(120, 90);
        s.legend().move(placed);
        s.program->QuitProgram();
        const QByteArray options = folder.read(QStringLiteral("Data/Options.txt"));
        EXPECT_TRUE(options.contains("Legend=-1"));
        EXPECT_TRUE(options.contains("LegendX=1800\r\nLegendY=1350"));
    }
    Started again(folder);
    ASSERT_EQ(again.result, WayloomProgram::StartResult::Started);
    EXPECT_TRUE(again.legend().isVisible());
    EXPECT_EQ(again.panel().LegendState, 1);
    EXPECT_EQ(again.legend().pos(), placed);
}

// Feeds one mouse event straight to a window's body, as the window system
// would deliver it.
void Send(QWidget& w, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(local), QPointF(w.mapToGlobal(local)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

// A click on a window's body never leaves it on the pointer; a held move
// drags it (the offscreen platform refuses the window system's move, so the
// window follows the pointer itself).
void ExpectClickStaysDragMoves(QWidget& w)
{
    const QPoint start = w.pos();
    const QPoint at(w.width() / 2, w.height() - 6);
    // Instant press and release, then the pointer moves on with the button up.
    Send(w, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    Send(w, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    Send(w, QEvent::MouseMove, at + QPoint(40, 25), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(w.pos(), start);
    // A real drag moves the window with the pointer and stops at the release.
    Send(w, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    Send(w, QEvent::MouseMove, at + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
    const QPoint dragged = w.pos();
    EXPECT_NE(dragged, start);
    Send(w, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    Send(w, QEvent::MouseMove, at + QPoint(50, 50), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(w.pos(), dragged);
}

TEST(Legend, AQuickClickOnTheBodyLeavesLegendAndPanelWhereTheyAre)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    s.menu().OnMenuEntryClick(1, 0);
    ASSERT_TRUE(s.legend().isVisible());
    ExpectClickStaysDragMoves(s.legend());
}

TEST(TaskBar, MinimiseHidesEveryWindowAndRestoreShowsThemAsTheSwitchSays)
{
    for (bool legendOn : {true, false}) {
        SCOPED_TRACE(legendOn);
        ProgramCopy folder;
        Started s(folder);
        if (legendOn)
            s.menu().OnMenuEntryClick(1, 0);
        ASSERT_EQ(s.legend().isVisible(), legendOn);
        QTest::mouseClick(s.map().cmdMinimize(), Qt::LeftButton);
        EXPECT_TRUE(s.menu().isMinimized());
        EXPECT_FALSE(s.map().isVisible());
        EXPECT_FALSE(s.legend().isVisible());
        EXPECT_TRUE(s.program->taskBar()->Minimised());
        EXPECT_EQ(s.panel().LegendState, legendOn ? 1 : 0); // the switch itself stays
        // Restored from the task bar.
        s.menu().showNormal();
        EXPECT_TRUE(s.menu().isVisible());
        EXPECT_FALSE(s.menu().isMinimized());
        EXPECT_TRUE(s.map().isVisible());
        EXPECT_EQ(s.legend().isVisible(), legendOn);
    }
}

TEST(CreditsAndAbout, OpenFromTheHelpMenuAndClose)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    const auto& texts = s.program->world().language;

    s.menu().OnMenuEntryClick(2, 3);
    auto* credits = s.menu().findChild<frmCredits*>();
    ASSERT_NE(credits, nullptr);
    EXPECT_TRUE(credits->isVisible());
    EXPECT_EQ(credits->windowTitle(), texts(Text::CreditsTitle));
    QTest::mouseClick(credits->cmdCancel(), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(s.menu().findChild<frmCredits*>(), nullptr);

    s.menu().OnMenuEntryClick(2, 8);
    auto* about = s.menu().findChild<frmInformation*>();
    ASSERT_NE(about, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(about));
    Send(*about, QEvent::MouseMove, About::GuildLinkRect.center(), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(about->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(about, Qt::LeftButton, {}, About::GuildLinkRect.center());
    QTest::mouseClick(about, Qt::LeftButton, {}, About::MailLinkRect.center());
    EXPECT_EQ(s.opened,
              (QStringList{QStringLiteral("https://wayloom.org/"), QStringLiteral("mailto:support@wayloom.org")}));
    EXPECT_TRUE(about->isVisible());
    QTest::mouseClick(about, Qt::LeftButton, {}, About::TextRect.center());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(s.menu().findChild<frmInformation*>(), nullptr);
}

// The last row of the help menu starts the updater in its undo mode, as the
// update row starts it: the program closes, its settings written.
TEST(PopupMenuWindow, UndoLastUpdateStartsTheUpdaterInItsUndoModeAndQuits)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    QStringList started;
    s.program->startDetachedWith = [&](const QString& program, const QStringList& arguments) {
        started << program << arguments;
        return false;
    };
    QFile::remove(folder.path() + QStringLiteral("Data/Options.txt"));
    QTest::mouseClick(s.menu().lblMenu[2], Qt::LeftButton);
    ASSERT_NE(s.popup(), nullptr);
    const auto& help = s.popup()->MenuAt(2).Entries;
    EXPECT_EQ(help.back().Caption, QStringLiteral("Undo last update"));
    s.popup()->hide();
    s.Choose(2, 9);
    EXPECT_EQ(started, (QStringList{folder.path() + QString::fromUtf16(modMain::kUpdaterFile), "--undo"}));
    EXPECT_TRUE(s.ended);
    EXPECT_FALSE(folder.read(QStringLiteral("Data/Options.txt")).isEmpty());
}

} // namespace

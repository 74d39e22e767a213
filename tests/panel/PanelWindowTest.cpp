// The program started offscreen on a copy of the demo world: start-up, the
// elite tab's wiring to the map window, quitting and restarting.
#include "../core/TestFiles.h"
#include "StartedProgram.h"
#include "panel/frmCollectorsTab.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(PanelWindow, TabsOfTheOtherRowSwapTheRows)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    auto& m = s.menu();
    const int front = m.lblTab[0]->y();
    QTest::mouseClick(m.lblTab[4], Qt::LeftButton);
    EXPECT_EQ(m.lblTab[4]->y(), front);
    EXPECT_TRUE(m.picTab[4]->isVisible());
    EXPECT_EQ(s.program->panel().ActiveTab, 4);
}

TEST(PanelWindow, QuittingWritesTheOptionsAndASecondStartComesUpWithThem)
{
    ProgramCopy folder;
    const int campaign = 1, region = 8; // a region of the demo world with bosses and zones
    int campaignIndex = 0, regionIndex = 0, lowRequests = 0;
    {
        Started s(folder);
        ASSERT_EQ(s.result, WayloomProgram::StartResult::Started) << s.errors.join('\n').toStdString();
        auto& m = s.menu();
        campaignIndex = m.EliteTab().cmbCampaign->findData(campaign);
        m.EliteTab().cmbCampaign->setCurrentIndex(campaignIndex);
        regionIndex = m.EliteTab().cmbRegion->findData(region);
        m.EliteTab().cmbRegion->setCurrentIndex(regionIndex);
        ASSERT_GT(m.EliteTab().cmbZone->count(), 1);
        m.EliteTab().cmbZone->setCurrentIndex(m.EliteTab().cmbZone->count() - 1);
        m.EliteTab().cmbProfession->setCurrentIndex(1);
        m.chkShowObject[TabGreens]->setChecked(false);
        m.EliteTab().optCapture[1]->setChecked(true);
        // The collectors' level: the request list follows it, now and at the next start.
        const int allRequests = m.CollectorsTab().cmbCollReq->count();
        m.CollectorsTab().optCollLevel[1]->setChecked(true);
        lowRequests = m.CollectorsTab().cmbCollReq->count();
        EXPECT_LT(lowRequests, allRequests);
        QTest::mouseClick(m.cmdQuit, Qt::LeftButton);
        EXPECT_TRUE(s.ended);
    }
    EXPECT_TRUE(folder.read(QStringLiteral("Data/Options.txt"))
                    .startsWith(QStringLiteral("[OLD SELECTION]\r\nCampaign=%1\r\nRegion=%2\r\n")
                                    .arg(campaignIndex)
                                    .arg(regionIndex)
                                    .toLatin1()));

    Started again(folder);
    ASSERT_EQ(again.result, WayloomProgram::StartResult::Started);
    auto& m = again.menu();
    EXPECT_EQ(m.EliteTab().cmbRegion->currentIndex(), regionIndex);
    EXPECT_EQ(m.EliteTab().cmbZone->currentIndex(), 0); // a start always comes up with all zones
    EXPECT_EQ(m.EliteTab().cmbProfession->currentIndex(), 1);
    EXPECT_TRUE(m.EliteTab().optCapture[1]->isChecked());
    EXPECT_FALSE(m.chkShowObject[TabGreens]->isChecked());
    EXPECT_EQ(m.CollectorsTab().cmbCollReq->count(), lowRequests);
    // The map shows the region that the saved selection names.
    EXPECT_EQ(again.map().CurrentCampaign(), campaign);
    EXPECT_EQ(again.map().CurrentRegion(), region);
}

TEST(PanelWindow, SettingsThatCannotBeWrittenAreReportedAndTheProgramStillEnds)
{
    ProgramCopy folder;
    QDir().mkpath(folder.path() + QStringLiteral("Data/Options.txt")); // a folder where the file goes
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    s.program->QuitProgram();
    EXPECT_TRUE(s.ended);
    ASSERT_EQ(s.errors.size(), 1);
    EXPECT_TRUE(s.errors[0].startsWith(QStringLiteral("The settings could not be saved")));
}

TEST(PanelWindow, QuittingOnAFullDiskKeepsTheOldOptionsAndTellsTheUser)
{
    ProgramCopy folder;
    const QByteArray old = "[OLD SELECTION]\r\nRegion=3\r\n";
    ASSERT_TRUE(folder.write(QStringLiteral("Data/Options.txt"), old));
    // The program's own message box, closed as soon as it shows.
    WayloomProgram program(folder.path());
    bool ended = false;
    program.endProgram = [&ended] { ended = true; };
    ASSERT_EQ(program.Main(), WayloomProgram::StartResult::Started);
    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->done(QMessageBox::Ok);
        }
    });
    closer.start(20);
    {
        const FileSizeLimit fullDisk(old.size());
        ASSERT_TRUE(fullDisk.ok());
        program.QuitProgram();
    }
    EXPECT_TRUE(ended);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("The settings could not be saved"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << shown.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("Data/Options.txt")), old);
}

TEST(PanelWindow, ASecondCopyEndsSilently)
{
    ProgramCopy folder;
    Started first(folder);
    ASSERT_EQ(first.result, WayloomProgram::StartResult::Started);
    Started second(folder);
    EXPECT_EQ(second.result, WayloomProgram::StartResult::AlreadyRunning);
    EXPECT_TRUE(second.errors.isEmpty());
    EXPECT_EQ(second.program->menu(), nullptr);
}

TEST(PanelWindow, StartUpMessagesEndTheProgram)
{
    ProgramCopy folder;
    QFile::remove(folder.path() + QStringLiteral("Data/Language.txt"));
    Started s(folder);
    EXPECT_EQ(s.result, WayloomProgram::StartResult::NoLanguageFile);
    ASSERT_EQ(s.errors.size(), 1);
    EXPECT_TRUE(s.errors[0].startsWith(QStringLiteral("Can't load language file.")));
    EXPECT_EQ(s.program->menu(), nullptr);

    ProgramCopy fifth;
    QDir().mkpath(fifth.path() + QStringLiteral("Campaign.05.Fifth"));
    Started f(fifth);
    EXPECT_EQ(f.result, WayloomProgram::StartResult::FifthCampaign);
    EXPECT_EQ(f.errors, QStringList{QStringLiteral("I haven't released chapert 5 yet... how can you have it?")});
    EXPECT_EQ(f.cancelOffered, QList<bool>{true});
}

TEST(PanelWindow, UpdaterAndDocumentsGoThroughTheShell)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    s.menu().OnMenuEntryClick(2, 5);
    EXPECT_EQ(s.opened, QStringList{folder.path() + QStringLiteral("Data/History.txt")});
    // The updater is missing from the copy: the program quits all the same.
    s.menu().OnMenuEntryClick(2, 0);
    ASSERT_EQ(s.started.size(), 1);
    EXPECT_TRUE(s.started[0].startsWith(folder.path()));
    EXPECT_TRUE(s.ended);
    EXPECT_FALSE(folder.read(QStringLiteral("Data/Options.txt")).isEmpty());
}

} // namespace

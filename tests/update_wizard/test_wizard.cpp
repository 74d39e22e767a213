// The wizard's pages and transitions, driven without a window.
#include "TestSupport.h"

#include "update/modUpdate.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace modUpdate;
using namespace testing_support;

namespace {

class FakeHost : public WizardHost {
public:
    void ApplyStep(int index, const WizardStep&, const QString& info) override
    {
        shown.push_back(index);
        lastInfo = info;
    }
    void ProcessEvents() override {}
    void SetProgress(qint64 count) override { progress.push_back(count); }
    int SelectedServer() const override { return server; }
    bool LaunchWayloomChecked() const override { return launch; }
    void CloseWindow() override { closed = true; }

    std::vector<int> shown;
    std::vector<qint64> progress;
    QString lastInfo;
    int server = 0;
    bool launch = false;
    bool closed = false;
};

class WizardPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_wizard.InitPaths(m_dir.path());
        m_wizard.StartProgram = [this](const QString& program, const QString& folder) {
            started.append(program + u'|' + folder);
            return true;
        };
    }
    QTemporaryDir m_dir;
    FakeHost m_host;
    UpdateWizard m_wizard{m_host};
    QStringList started;
};

TEST_F(WizardPages, StartUpMakesTheWorkingFolders)
{
    EXPECT_TRUE(m_wizard.AppFolder.endsWith(u'/'));
    EXPECT_EQ(m_wizard.TempFolder, m_wizard.AppFolder + QStringLiteral("Temp/"));
    EXPECT_TRUE(QFileInfo(m_wizard.AppFolder + QStringLiteral("Temp")).isDir());
    EXPECT_TRUE(QFileInfo(m_wizard.AppFolder + QStringLiteral("Personal")).isDir());
}

TEST_F(WizardPages, ButtonsLeadToThePagesOfTheTable)
{
    struct Row {
        const char* name;
        int from;
        void (UpdateWizard::*button)();
        int to;
    } rows[] = {
        {"Restart on the error page", StepError, &UpdateWizard::Next, StepStart},
        {"Previous on the results", StepResults, &UpdateWizard::Previous, StepStart},
        {"Previous on the finished page", StepFinished, &UpdateWizard::Previous, StepResults},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        m_wizard.ShowStep(r.from, QString());
        ASSERT_EQ(m_wizard.CurrentStep, r.from);
        m_wizard.CancelRequested = true;
        (m_wizard.*r.button)();
        EXPECT_EQ(m_wizard.CurrentStep, r.to);
        EXPECT_FALSE(m_wizard.CancelRequested);
        EXPECT_FALSE(m_host.closed);
    }
}

TEST_F(WizardPages, ExtraTextFollowsTheDescription)
{
    m_wizard.ShowStep(StepResults, QStringLiteral("\r\nsummary"));
    EXPECT_EQ(m_host.lastInfo, m_wizard.StepTable[StepResults].Description + QStringLiteral("\r\n\r\nsummary"));
}

TEST_F(WizardPages, FinishedPageRecordsTodaysDate)
{
    m_wizard.ShowStep(StepFinished, QString());
    EXPECT_EQ(ReadBytes(m_wizard.AppFolder + kLastUpdateFile),
              FormatDate(QDate::currentDate()).toLatin1() + "\r\n");
}

TEST_F(WizardPages, FinishEndsTheProgramAndStartsWayloomOnlyWhenAsked)
{
    for (bool launch : {false, true}) {
        SCOPED_TRACE(launch ? "box checked" : "box cleared");
        started.clear();
        m_host.closed = false;
        m_host.launch = launch;
        ASSERT_TRUE(WriteBytes(m_wizard.TempFolder + QStringLiteral("left.krb"), "x"));
        m_wizard.ShowStep(StepNoUpdates, QString());
        m_wizard.Next();
        EXPECT_TRUE(m_host.closed);
        EXPECT_FALSE(QFileInfo::exists(m_wizard.AppFolder + QStringLiteral("Temp"))) << "Temp is removed";
        if (launch)
            EXPECT_EQ(started, QStringList{m_wizard.AppFolder + WayloomExecutable() + u'|' + m_wizard.AppFolder});
        else
            EXPECT_TRUE(started.isEmpty());
    }
}

TEST_F(WizardPages, UnreadableFileListIsAFailure)
{
    // Nothing listens on port 9 of the loopback: the download fails.
    m_wizard.Servers = {{QStringLiteral("closed"), QStringLiteral("127.0.0.1:9"), QStringLiteral("files")}};
    m_wizard.ShowStep(StepStart, QString());
    m_wizard.Next();
    EXPECT_EQ(m_host.shown, (std::vector<int>{StepStart, StepSearching, StepError}));
    m_host.server = -1;
    m_wizard.Next();
    m_wizard.Next();
    EXPECT_EQ(m_wizard.CurrentStep, StepError) << "no server selected";
}

TEST_F(WizardPages, CompareFileListChoosesByTheLastUpdateDate)
{
    ASSERT_TRUE(WriteBytes(m_wizard.TempFolder + kFileListName,
                           "a.krb;786432;01-06-2009;Data\r\n"
                           "old.krb;786432;31-05-2009;Data\r\n"
                           "b.krb;786432;02-06-2009;Data\r\n"
                           "c.krb;0;03-06-2009;Data\r\n"));
    m_wizard.LastUpdateDate = QDate(2009, 5, 31);
    const QString summary = m_wizard.CompareFileList();
    EXPECT_TRUE(summary.endsWith(QStringLiteral("\r\n1.5 MB in 3 files"))) << summary.toStdString();
    ASSERT_EQ(m_wizard.NewFiles.size(), 3u);
    EXPECT_EQ(m_wizard.TotalDownloadSize, 1572864);

    m_wizard.LastUpdateDate = QDate(2009, 6, 2);  // the same day is not later
    EXPECT_EQ(m_wizard.CompareFileList(), QString()) << "only packages of size 0 are new";
    EXPECT_EQ(m_wizard.NewFiles.size(), 1u);
}

} // namespace

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
    void ApplyStep(int, const WizardStep&, const QString&) override {}
    void ProcessEvents() override {}
    void SetProgress(qint64) override {}
    int SelectedServer() const override { return 0; }
    bool LaunchWayloomChecked() const override { return launch; }
    void CloseWindow() override { closed = true; }

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

} // namespace

// The player's own data and the undo of an update: a list or a package that
// aims at Personal, Backup or Data/Options.txt refuses the whole update; an
// install keeps what it replaces; "Undo last update" puts every file back
// byte for byte, also after an interruption; nothing is removed through a
// link.
#include "TestSupport.h"

#include "update/UpdateBackup.h"
#include "update/UpdateGuard.h"
#include "update/frmMain.h"
#include "update/frmUndo.h"
#include "update/modSafeFiles.h"
#include "update/modUndo.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <optional>

#include <csignal>

#include <sys/resource.h>

#include <gtest/gtest.h>

using namespace modUpdate;
using namespace testing_support;

namespace {

const QByteArray kCharacters = "1\tAlda Vey\t3\r\n2\tBram\t1\r\n";
const QByteArray kOptions = "PosX\t120\r\nLegend\tTrue\r\n";

// ---- Spelling of personal paths ----------------------------------------------

TEST(PersonalPaths, EverySpellingOfThePlayersDataIsCaught)
{
    // The last one climbs above the program folder.
    for (const char* path : {"Personal", "personal", "PERSONAL/", "./Personal", "Personal\\", "Personal\\Sub",
                             "Data/../Personal", "Data//..//personal//", "Personal.", "Personal ", "Backup",
                             "backup/update-2009-01-01_000000", "Data/Options.txt", "data\\OPTIONS.TXT", "../outside"})
        EXPECT_TRUE(modUpdateGuard::IsPersonalPath(QString::fromLatin1(path))) << path;
    for (const char* path :
         {"", "Data", "Data/Options.txt.old", "PersonalNotes", "Campaign.01.Test", "Campaign.01.Test/../Data"})
        EXPECT_FALSE(modUpdateGuard::IsPersonalPath(QString::fromLatin1(path))) << path;
}

// ---- Removal never follows a link ------------------------------------------

TEST(SafeRemoval, LinksAreRemovedNeverTheirTargets)
{
    QTemporaryDir dir;
    const QString root = dir.path() + u'/';
    ASSERT_TRUE(WriteAll(root + QStringLiteral("outside/keep.txt"), "keep"));
    ASSERT_TRUE(WriteAll(root + QStringLiteral("outside/sub/deep.txt"), "deep"));
    ASSERT_TRUE(QFile::link(root + QStringLiteral("outside/keep.txt"), root + QStringLiteral("toFile")));
    ASSERT_TRUE(QFile::link(root + QStringLiteral("outside"), root + QStringLiteral("toFolder")));
    ASSERT_TRUE(QFile::link(root + QStringLiteral("nothing"), root + QStringLiteral("dangling")));
    // A real folder holding a link to the outside folder, and a file.
    ASSERT_TRUE(WriteAll(root + QStringLiteral("tree/a/file.txt"), "x"));
    ASSERT_TRUE(QFile::link(root + QStringLiteral("outside"), root + QStringLiteral("tree/a/link")));

    EXPECT_TRUE(modSafeFiles::RemoveEntry(root + QStringLiteral("toFile")));
    EXPECT_TRUE(modSafeFiles::RemoveEntry(root + QStringLiteral("dangling")));
    EXPECT_TRUE(modSafeFiles::RemoveTree(root + QStringLiteral("toFolder")));
    EXPECT_TRUE(modSafeFiles::RemoveTree(root + QStringLiteral("tree")));
    for (const char* gone : {"toFile", "dangling", "toFolder", "tree"})
        EXPECT_FALSE(modSafeFiles::EntryExists(root + QString::fromLatin1(gone))) << gone;
    EXPECT_EQ(FilesBelow(root + QStringLiteral("outside")),
              (QStringList{QStringLiteral("keep.txt"), QStringLiteral("sub/deep.txt")}));
    EXPECT_EQ(ReadAll(root + QStringLiteral("outside/keep.txt")), "keep");
}

TEST(SafetyCopies, PruningKeepsTheNewestThreeAndRemovesOnlyItsOwnRealFolders)
{
    QTemporaryDir dir;
    const QString app = dir.path() + QStringLiteral("/program/");
    const QString backup = app + QStringLiteral("Backup/");
    const QString outside = dir.path() + QStringLiteral("/outside/");
    ASSERT_TRUE(WriteAll(outside + QStringLiteral("photo.jpg"), "photo"));
    for (int day = 1; day <= 5; ++day)
        ASSERT_TRUE(WriteAll(backup + QStringLiteral("update-2020-01-0%1_120000/Update.txt").arg(day), "x"));
    // The oldest real copy holds a link out; a link and a file of the
    // pattern sort first; a folder of another name is the player's.
    ASSERT_TRUE(QFile::link(outside, backup + QStringLiteral("update-2020-01-01_120000/files")));
    ASSERT_TRUE(QFile::link(outside, backup + QStringLiteral("update-2019-01-01_120000")));
    ASSERT_TRUE(WriteAll(backup + QStringLiteral("update-2018-01-01_120000"), "a file"));
    ASSERT_TRUE(WriteAll(backup + QStringLiteral("update-mine/note.txt"), "mine"));

    modUpdateBackup::Prune(app, QStringLiteral("update-2020-01-03_120000"));
    QStringList left = QDir(backup).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    left.sort();
    EXPECT_EQ(left, (QStringList{"update-2018-01-01_120000", "update-2019-01-01_120000", "update-2020-01-03_120000",
                                 "update-2020-01-04_120000", "update-2020-01-05_120000", "update-mine"}));
    EXPECT_EQ(ReadAll(outside + QStringLiteral("photo.jpg")), "photo");
}

// ---- Undo without the window -------------------------------------------------

class UndoFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_app = m_dir.path() + QStringLiteral("/program/");
        ASSERT_TRUE(WriteAll(m_app + QStringLiteral("Campaign.01.Test/Zones.txt"), m_oldZones));
        ASSERT_TRUE(WriteAll(m_app + QStringLiteral("Campaign.01.Test/Regions.txt"), "regions"));
        ASSERT_TRUE(WriteAll(m_app + QStringLiteral("Data/History.txt"), "Version 1\r\n"));
        ASSERT_TRUE(WriteAll(m_app + kLastUpdateFile, "01-02-2009\r\n"));
        ASSERT_TRUE(WriteAll(m_app + QStringLiteral("Personal/Characters.txt"), kCharacters));
        m_before = Snapshot();
    }
    void TearDown() override { modUndo::SetStopAfterStepsForTests(-1); }

    // What an install does: kept first, then the files written.
    void Install()
    {
        modUpdateBackup::UpdateBackup backup;
        QString why;
        ASSERT_TRUE(backup.Begin(m_app, QDateTime({2009, 5, 2}, {10, 30}), &why)) << why.toStdString();
        ASSERT_TRUE(backup.Keep(QStringLiteral("Campaign.01.Test\\"), {"Zones.txt", "map.jpg"}, &why));
        ASSERT_TRUE(backup.Keep(QStringLiteral("./Data"), {"History.txt"}, &why));
        EXPECT_EQ(backup.Replaced(), 2);
        EXPECT_EQ(backup.Added(), 1);
        ASSERT_TRUE(WriteAll(m_app + QStringLiteral("Campaign.01.Test/Zones.txt"), "new zones"));
        ASSERT_TRUE(WriteAll(m_app + QStringLiteral("Campaign.01.Test/map.jpg"), "new map"));
        ASSERT_TRUE(WriteAll(m_app + QStringLiteral("Data/History.txt"), "Version 2\r\n"));
        ASSERT_TRUE(WriteAll(m_app + kLastUpdateFile, "02-05-2009\r\n"));
    }
    QMap<QString, QByteArray> Snapshot() const { return testing_support::Snapshot(m_app); }

    QTemporaryDir m_dir;
    QString m_app;
    const QByteArray m_oldZones = QByteArray("1\tTown\t10\t20\r\n").repeated(50);
    QMap<QString, QByteArray> m_before;
};

TEST_F(UndoFolder, UndoPutsEveryFileBackAndRemovesTheAddedOnes)
{
    ASSERT_NO_FATAL_FAILURE(Install());
    const modUndo::UndoOutcome out = modUndo::UndoLastUpdate(m_app);
    ASSERT_EQ(out.kind, modUndo::UndoOutcome::Done) << out.why.toStdString();
    EXPECT_EQ(out.putBack, 2);
    EXPECT_EQ(out.removed, 1);
    EXPECT_EQ(out.lastUpdate, QDate(2009, 2, 1));
    EXPECT_EQ(Snapshot(), m_before);
    // The copy is used up: nothing is left to undo, no journal.
    EXPECT_EQ(modUpdateBackup::BackupFolders(m_app), QStringList());
    EXPECT_FALSE(modUndo::PendingUndo(m_app));
    EXPECT_EQ(modUndo::UndoLastUpdate(m_app).kind, modUndo::UndoOutcome::NothingToUndo);
}

TEST_F(UndoFolder, AnUndoInterruptedAfterAnyFileIsFinishedAtTheNextStart)
{
    for (int k = 0; k <= 3; ++k) {
        SCOPED_TRACE(k);
        ASSERT_NO_FATAL_FAILURE(Install());
        modUndo::SetStopAfterStepsForTests(k);
        EXPECT_EQ(modUndo::UndoLastUpdate(m_app).kind, modUndo::UndoOutcome::Interrupted);
        EXPECT_TRUE(modUndo::PendingUndo(m_app));
        modUndo::SetStopAfterStepsForTests(-1);
        // A newer copy made meanwhile must not stand in for the one in use.
        modUpdateBackup::UpdateBackup newer;
        QString why;
        ASSERT_TRUE(newer.Begin(m_app, QDateTime({2009, 6, 1}, {9, 0}), &why)) << why.toStdString();
        // The next start of the updater (its window, on odd rows) finishes it.
        modUndo::UndoOutcome out;
        if (k % 2) {
            frmUndo window(m_app);
            out = window.Outcome();
            EXPECT_TRUE(window.lblInfo->text().contains(QStringLiteral("was undone")));
        } else {
            out = modUndo::UndoLastUpdate(m_app);
        }
        ASSERT_EQ(out.kind, modUndo::UndoOutcome::Done) << out.why.toStdString();
        EXPECT_EQ(out.backup, QStringLiteral("update-2009-05-02_103000"));
        EXPECT_EQ(Snapshot(), m_before);
        EXPECT_FALSE(modUndo::PendingUndo(m_app));
        EXPECT_EQ(modUpdateBackup::BackupFolders(m_app), QStringList{newer.Name()});
        EXPECT_FALSE(QFileInfo::exists(m_app + QStringLiteral("Backup/undone-update-2009-05-02_103000")));
        modSafeFiles::RemoveTree(m_app + QStringLiteral("Backup/") + newer.Name());
    }
}

TEST_F(UndoFolder, AnUndoNeverRemovesThroughALinkNorTouchesPersonal)
{
    ASSERT_NO_FATAL_FAILURE(Install());
    const QString outside = m_dir.path() + QStringLiteral("/outside/");
    ASSERT_TRUE(WriteAll(outside + QStringLiteral("map.jpg"), "player's own"));
    // The campaign folder replaced by a link to a folder outside that holds
    // a file of the added name.
    QDir(m_app + QStringLiteral("Campaign.01.Test")).removeRecursively();
    ASSERT_TRUE(QFile::link(outside, m_app + QStringLiteral("Campaign.01.Test")));
    const modUndo::UndoOutcome out = modUndo::UndoLastUpdate(m_app);
    EXPECT_EQ(out.kind, modUndo::UndoOutcome::Failed);
    EXPECT_EQ(ReadAll(outside + QStringLiteral("map.jpg")), "player's own");

    // A tampered list naming a personal file is refused before anything.
    QDir(m_dir.path() + QStringLiteral("/program/Backup")).removeRecursively();
    QFile::remove(m_app + QStringLiteral("Campaign.01.Test"));
    ASSERT_TRUE(WriteAll(m_app + QStringLiteral("Backup/update-2009-05-03_100000/Update.txt"),
                         "LastUpdate\tnone\r\nAdded\tPersonal/Characters.txt\r\n"));
    EXPECT_EQ(modUndo::UndoLastUpdate(m_app).kind, modUndo::UndoOutcome::Failed);
    EXPECT_EQ(ReadAll(m_app + QStringLiteral("Personal/Characters.txt")), kCharacters);
    EXPECT_TRUE(QFileInfo::exists(m_app + kLastUpdateFile));
}

// ---- The wizard and the undo window end to end -----------------------------

class PersonalData : public ServedFolder {
protected:
    void SetUp() override
    {
        ServedFolder::SetUp();
        ASSERT_TRUE(WriteAll(m_app + QStringLiteral("Personal/Characters.txt"), kCharacters));
        ASSERT_TRUE(WriteAll(m_app + QStringLiteral("Data/Options.txt"), kOptions));
        ASSERT_TRUE(WriteAll(m_app + QStringLiteral("Campaign.01.Test/Zones.txt"), "old zones\r\n"));
        StartServer();
    }

    const Package m_campaign{"camp.krb", "Campaign.01.Test",
                             Entry("Zones.txt", StoredStream("new zones\r\n")) +
                                 Entry("map.jpg", StoredStream("new map"))};
};

TEST_F(PersonalData, AListOrPackageAimingAtThePlayersDataRefusesTheWholeUpdate)
{
    ASSERT_TRUE(QFile::link(m_app + QStringLiteral("Personal"), m_app + QStringLiteral("Maps")));
    ASSERT_TRUE(QFile::link(m_app + QStringLiteral("Data"), m_app + QStringLiteral("Settings")));
    const struct {
        const char* name;
        const char* destination;
        QByteArray members;
        const char* reason = "player's own data";
        // Members are seen only once the package is downloaded, so a package
        // whose members aim there goes first; a list line refuses it all.
        bool memberLevel = false;
    } rows[] = {
        {"Personal", "Personal", Entry("Characters.txt", StoredStream("1\tEvil\t1\r\n"))},
        {"through a folder and back", "Data/../Personal", Entry("Characters.txt", StoredStream("x")),
         "leaves its folder"},
        {"a link into Personal", "Maps", Entry("Characters.txt", StoredStream("x"))},
        {"Options.txt as a member of Data", "Data", Entry("Options.txt", StoredStream("PosX\t0\r\n")),
         "player's own data", true},
        {"Options.txt through a link to Data", "Settings", Entry("Options.txt", StoredStream("PosX\t0\r\n")),
         "player's own data", true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        // With a harmless package, which is not installed either.
        const Package evil{"evil.krb", QString::fromLatin1(r.destination), r.members};
        ASSERT_NO_FATAL_FAILURE(
            Serve(r.memberLevel ? std::vector<Package>{evil, m_campaign} : std::vector<Package>{m_campaign, evil}));
        auto w = RunWizard();
        EXPECT_EQ(w->Wizard().CurrentStep, StepError);
        EXPECT_TRUE(w->lblInfo->text().contains(QStringLiteral("refused"))) << w->lblInfo->text().toStdString();
        EXPECT_TRUE(w->lblInfo->text().contains(QString::fromLatin1(r.reason)));
        EXPECT_TRUE(ReadAll(m_app + kLogFile).contains(r.reason));
        EXPECT_EQ(ReadAll(m_app + QStringLiteral("Personal/Characters.txt")), kCharacters);
        EXPECT_EQ(ReadAll(m_app + QStringLiteral("Data/Options.txt")), kOptions);
        EXPECT_EQ(ReadAll(m_app + QStringLiteral("Campaign.01.Test/Zones.txt")), "old zones\r\n");
        EXPECT_FALSE(QFileInfo::exists(m_app + QStringLiteral("Campaign.01.Test/map.jpg")));
        EXPECT_FALSE(QFileInfo::exists(m_app + kLastUpdateFile));
        EXPECT_EQ(modUpdateBackup::BackupFolders(m_app), QStringList()) << "no empty safety copy stays";
        EXPECT_EQ(FilesBelow(m_app + QStringLiteral("Personal")), QStringList{QStringLiteral("Characters.txt")});
        QTest::mouseClick(w->cmdQuit, Qt::LeftButton);
    }
}

// Files may grow only to `bytes` bytes while it lives; writes beyond fail.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_old{};
    void (*m_handler)(int) = nullptr;
};

// An install that cannot keep what it replaces installs nothing.
TEST_F(PersonalData, NoSafetyCopyMeansNothingInstalled)
{
    const QByteArray oldZones = QByteArray("1\tTown\t10\t20\r\n").repeated(1000);
    const QString outside = m_root.path() + QStringLiteral("/outside/");
    QDir().mkpath(outside);
    ASSERT_NO_FATAL_FAILURE(Serve({m_campaign}));
    const struct {
        const char* name;
        std::function<void()> plant;
        bool limitSize;
    } rows[] = {
        {"Backup is a link to a folder outside",
         [&] { ASSERT_TRUE(QFile::link(outside, m_app + QStringLiteral("Backup"))); }, false},
        {"Backup is a file", [&] { ASSERT_TRUE(WriteAll(m_app + QStringLiteral("Backup"), "mine")); }, false},
        {"no room for the copy", [] {}, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        ASSERT_TRUE(WriteAll(m_app + QStringLiteral("Campaign.01.Test/Zones.txt"), oldZones));
        r.plant();
        std::unique_ptr<frmMain> w;
        {
            std::optional<FileSizeLimit> limit;
            if (r.limitSize)
                limit.emplace(4096);
            w = RunWizard();
        }
        EXPECT_EQ(w->Wizard().CurrentStep, StepError);
        EXPECT_TRUE(w->Wizard().LastFailure.contains(QStringLiteral("safety copy")))
            << w->Wizard().LastFailure.toStdString();
        EXPECT_EQ(ReadAll(m_app + QStringLiteral("Campaign.01.Test/Zones.txt")), oldZones);
        EXPECT_FALSE(QFileInfo::exists(m_app + QStringLiteral("Campaign.01.Test/map.jpg")));
        EXPECT_FALSE(QFileInfo::exists(m_app + kLastUpdateFile));
        EXPECT_EQ(FilesBelow(outside), QStringList());
        QTest::mouseClick(w->cmdQuit, Qt::LeftButton);
        modSafeFiles::RemoveTree(m_app + QStringLiteral("Backup"));
    }
}

TEST_F(PersonalData, UndoLastUpdateRestoresTheFolderByteForByte)
{
    ASSERT_TRUE(WriteAll(m_app + kLastUpdateFile, "30-04-2009\r\n"));
    ASSERT_TRUE(WriteAll(m_app + QStringLiteral("Data/History.txt"), "Version 1\r\n"));
    const QMap<QString, QByteArray> before = Snapshot(m_app);
    ASSERT_NO_FATAL_FAILURE(
        Serve({m_campaign, {"data.krb", "Data", Entry("History.txt", StoredStream("Version 2\r\n"))}}));
    {
        auto w = RunWizard();
        ASSERT_EQ(w->Wizard().CurrentStep, StepFinished) << w->Wizard().LastFailure.toStdString();
        w->Wizard().StartProgram = [](const QString&, const QString&) { return true; };
        QTest::mouseClick(w->cmdNext, Qt::LeftButton);
    }
    EXPECT_EQ(ReadAll(m_app + QStringLiteral("Campaign.01.Test/map.jpg")), "new map");
    ASSERT_EQ(modUpdateBackup::BackupFolders(m_app).size(), 1);

    frmUndo undo(m_app);
    undo.show();
    EXPECT_TRUE(undo.lblInfo->text().contains(QStringLiteral("same packages will be offered")));
    QStringList started;
    undo.StartProgram = [&](const QString& program, const QString&) {
        started << program;
        return true;
    };
    QTest::mouseClick(undo.cmdUndo, Qt::LeftButton);
    ASSERT_EQ(undo.Outcome().kind, modUndo::UndoOutcome::Done) << undo.Outcome().why.toStdString();
    EXPECT_TRUE(undo.lblInfo->text().contains(QStringLiteral("2 files put back, 1 files removed")))
        << undo.lblInfo->text().toStdString();
    EXPECT_EQ(Snapshot(m_app), before);
    QTest::mouseClick(undo.cmdUndo, Qt::LeftButton); // Finish
    EXPECT_EQ(started, QStringList{m_app + WayloomExecutable()});
    EXPECT_FALSE(undo.isVisible());
}

} // namespace

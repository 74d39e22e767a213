// The Update window end to end: a real HTTP server on 127.0.0.1 over a
// folder made by the publishing tool, the real window driven by clicks.
#include "TestSupport.h"

#include "records/ProgramLock.h"
#include "update/frmMain.h"
#include "update/modHuffman.h"
#include "update/modInternet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include <gtest/gtest.h>

using namespace modUpdate;
using namespace testing_support;

namespace {

class UpdateWindow : public ServedFolder {
protected:
    // Writes the sources and publishes two packages: one into a campaign
    // folder (two files), one into the program folder (one file).
    void PublishTwoPackages(const char* date1 = "01-05-2009", const char* date2 = "02-05-2009")
    {
        const QString src = m_sources.path() + u'/';
        ASSERT_TRUE(WriteAll(src + QStringLiteral("camp/Zones.txt"), m_zones));
        ASSERT_TRUE(WriteAll(src + QStringLiteral("camp/map.jpg"), m_map));
        ASSERT_TRUE(WriteAll(src + QStringLiteral("History.txt"), m_history));
        const QByteArray manifest = QByteArray("campaign.krb\t") + date1 + "\tCampaign.01.Test\\\tcamp\r\n" +
                                    "data.krb\t" + date2 + "\tData\tHistory.txt\r\n";
        Publish(manifest);
    }
    void Publish(const QByteArray& manifest)
    {
        const QString path = m_sources.path() + QStringLiteral("/manifest.txt");
        ASSERT_TRUE(WriteAll(path, manifest));
        QString output;
        ASSERT_TRUE(RunPublish(path, m_files, &output)) << output.toStdString();
    }
    // A new, empty program folder `name` for one row of a table.
    void NewProgramFolder(const QString& name)
    {
        m_app = m_root.path() + u'/' + name + QStringLiteral("/program/");
        ASSERT_TRUE(WriteServers());
    }
    // One large package on a server that sends a block every 20 ms; the
    // window is left on the results page.
    void OpenOnASlowServer(std::unique_ptr<frmMain>& w)
    {
        ASSERT_TRUE(WriteAll(m_sources.path() + QStringLiteral("/big.bin"), codectest::Random(3, 400000)));
        Publish("big.krb\t01-05-2009\tData\tbig.bin\r\n");
        StartServer({QStringLiteral("--delay"), QStringLiteral("0.02")});
        w = OpenWindow();
        Click(w->cmdNext);
        ASSERT_EQ(w->Wizard().CurrentStep, StepResults) << w->Wizard().LastFailure.toStdString();
    }
    QString LastUpdateFile() const { return m_app + kLastUpdateFile; }
    QStringList FilesOutsideTemp() const
    {
        QStringList files = FilesBelow(m_root.path());
        files.removeIf([](const QString& f) {
            return f.startsWith(QStringLiteral("program/Temp/")) || f == QStringLiteral("program/Update.log");
        });
        return files;
    }

    QTemporaryDir m_sources;
    const QByteArray m_zones = QByteArray("1\tTown\t10\t20\r\n").repeated(200);
    const QByteArray m_map = codectest::Random(7, 20000);
    const QByteArray m_history = "Version 2\r\n";
};

TEST_F(UpdateWindow, PagesSetTheControlsOfTheTable)
{
    StartServer();
    auto w = OpenWindow();
    EXPECT_EQ(w->Wizard().CurrentStep, StepStart);
    EXPECT_TRUE(w->windowTitle().startsWith(QStringLiteral("Wayloom internet update [")));
    ASSERT_EQ(w->cmbserverSelection->count(), 1);
    EXPECT_EQ(w->cmbserverSelection->currentText(), QStringLiteral("Test server"));
    // Every page that waits for the player shows its row of the page table
    // (showing the searching or downloading page starts its work).
    const StepTableType table = FillStepTable();
    for (int page : {StepError, StepStart, StepResults, StepFinished, StepNoUpdates}) {
        SCOPED_TRACE(page);
        const WizardStep& r = table[std::size_t(page)];
        w->Wizard().ShowStep(page, QString());
        EXPECT_EQ(w->cmdNext->text(), r.NextCaption);
        EXPECT_EQ(w->cmdNext->isEnabled(), r.NextEnabled);
        EXPECT_EQ(w->cmdPrevious->isEnabled(), r.PreviousEnabled);
        EXPECT_EQ(w->cmdQuit->isEnabled(), r.QuitEnabled);
        EXPECT_EQ(w->cmdCancel->isVisible(), r.CancelVisible);
        EXPECT_EQ(w->cmdViewHistory->isVisible(), r.HistoryVisible);
        EXPECT_EQ(w->picProgressBar->isVisible(), r.ProgressVisible);
        EXPECT_EQ(w->cmbserverSelection->isVisible(), r.ServerChoiceVisible);
        EXPECT_EQ(w->lblServerSelection->isVisible(), r.ServerChoiceVisible);
        EXPECT_EQ(w->lblStep->text(), r.Title);
    }

    // Restart on the error page, Previous on the results and on the finished
    // page; each clears a pending cancel.
    const struct {
        int from;
        QPushButton* button;
        int to;
    } moves[] = {{StepError, w->cmdNext, StepStart},
                 {StepResults, w->cmdPrevious, StepStart},
                 {StepFinished, w->cmdPrevious, StepResults}};
    for (const auto& m : moves) {
        SCOPED_TRACE(m.from);
        w->Wizard().ShowStep(m.from, QString());
        w->Wizard().CancelRequested = true;
        Click(m.button);
        EXPECT_EQ(w->Wizard().CurrentStep, m.to);
        EXPECT_FALSE(w->Wizard().CancelRequested);
    }

    QStringList opened;
    w->OpenFile = [&](const QString& path) {
        opened.append(path);
        return true;
    };
    w->Wizard().ShowStep(StepFinished, QString());
    Click(w->cmdViewHistory);
    EXPECT_EQ(opened, QStringList{m_app + QStringLiteral("Data/History.txt")});
}

TEST_F(UpdateWindow, TwoPackagesAreDownloadedAndInstalled)
{
    ASSERT_TRUE(WriteAll(LastUpdateFile(), "30-04-2009\r\n"));
    PublishTwoPackages();
    StartServer();
    auto w = OpenWindow();
    QStringList progressTexts;
    QObject::connect(w->txtProgress, &QLineEdit::textChanged, w.get(), [&] {
        // Nothing is drawn while the file list comes in.
        if (!w->picProgressBar->Text().isEmpty())
            progressTexts.append(w->picProgressBar->Text());
    });

    Click(w->cmdNext);
    ASSERT_EQ(w->Wizard().CurrentStep, StepResults) << w->Wizard().LastFailure.toStdString();
    const qint64 total = QFileInfo(m_files + QStringLiteral("campaign.krb")).size() +
                         QFileInfo(m_files + QStringLiteral("data.krb")).size();
    EXPECT_EQ(w->Wizard().TotalDownloadSize, total);
    EXPECT_TRUE(w->lblInfo->text().endsWith(QStringLiteral(" KB in 2 files"))) << w->lblInfo->text().toStdString();

    Click(w->cmdNext);
    ASSERT_EQ(w->Wizard().CurrentStep, StepFinished) << w->Wizard().LastFailure.toStdString();
    EXPECT_EQ(ReadAll(m_app + QStringLiteral("Campaign.01.Test/Zones.txt")), m_zones);
    EXPECT_EQ(ReadAll(m_app + QStringLiteral("Campaign.01.Test/map.jpg")), m_map);
    EXPECT_EQ(ReadAll(m_app + QStringLiteral("Data/History.txt")), m_history);
    EXPECT_EQ(ReadAll(LastUpdateFile()), FormatDate(QDate::currentDate()).toLatin1() + "\r\n");
    ASSERT_FALSE(progressTexts.isEmpty());
    EXPECT_EQ(w->txtProgress->text(), QString::number(total)) << "the count runs on across both files";
    EXPECT_EQ(progressTexts.back(), ProgressText(total, total));
}

TEST_F(UpdateWindow, MissingPackageKeepsTheOnesInstalledBefore)
{
    PublishTwoPackages();
    ASSERT_TRUE(QFile::remove(m_files + QStringLiteral("data.krb")));
    StartServer();
    auto w = RunWizard();
    EXPECT_EQ(w->Wizard().CurrentStep, StepError);
    EXPECT_TRUE(w->Wizard().LastFailure.contains(QStringLiteral("404"))) << w->Wizard().LastFailure.toStdString();
    EXPECT_EQ(ReadAll(m_app + QStringLiteral("Campaign.01.Test/Zones.txt")), m_zones);
    EXPECT_FALSE(QFile::exists(m_app + QStringLiteral("Data/History.txt")));
    EXPECT_FALSE(QFile::exists(LastUpdateFile()));
}

TEST_F(UpdateWindow, NothingIsInstalledWhileWayloomRunsFromTheFolder)
{
    PublishTwoPackages();
    StartServer();
    records::ProgramLock wayloom(m_app, QStringLiteral("Wayloom"));
    ASSERT_EQ(wayloom.TryLock(), records::ProgramLock::State::Acquired);
    const QByteArray lock = ReadAll(wayloom.Path());
    auto w = RunWizard();
    EXPECT_EQ(w->Wizard().CurrentStep, StepError);
    EXPECT_TRUE(w->lblInfo->text().contains(QStringLiteral("Wayloom is running from this folder")))
        << w->lblInfo->text().toStdString();
    EXPECT_FALSE(QFile::exists(m_app + QStringLiteral("Campaign.01.Test")));
    EXPECT_FALSE(QFile::exists(m_app + QStringLiteral("Data/History.txt")));
    EXPECT_FALSE(QFile::exists(LastUpdateFile()));
    EXPECT_EQ(ReadAll(wayloom.Path()), lock) << "Wayloom's lock is left alone";

    // Wayloom closes while the updater waits for it: the packages go in, and
    // the folder is free again afterwards.
    Click(w->cmdNext);
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, w.get(), [&] {
        if (w->Wizard().CurrentStep == StepDownloading)
            wayloom.Release();
    });
    closer.start(200);
    RunToEnd(*w);
    EXPECT_EQ(w->Wizard().CurrentStep, StepFinished) << w->Wizard().LastFailure.toStdString();
    EXPECT_EQ(ReadAll(m_app + QStringLiteral("Data/History.txt")), m_history);
    EXPECT_FALSE(QFile::exists(wayloom.Path()));
}

TEST_F(UpdateWindow, AnUnreachableServerIsNamedInPlainWordsOnThePage)
{
    // A port that was free a moment ago: nothing listens there.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 closedPort = probe.serverPort();
    probe.close();
    StartServer(); // plain HTTP only: a secure connection to it fails
    const struct {
        const char* name;
        QString base;
        const char* words;
    } rows[] = {
        {"a name that cannot be resolved", QStringLiteral("files.wayloom.invalid"), "host not found"},
        {"a local port nobody listens on", QStringLiteral("127.0.0.1:%1").arg(closedPort), "connection refused"},
        {"a secure connection to a plain server", QStringLiteral("https://") + m_server.Base(),
         "secure connection failed"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        NewProgramFolder(QString::fromLatin1(r.name).replace(u' ', u'_'));
        ASSERT_TRUE(WriteAll(m_app + QStringLiteral("Data/Servers.txt"),
                             QStringLiteral("Test server\t%1\tfiles\r\n").arg(r.base).toLatin1()));
        auto w = OpenWindow();
        Click(w->cmdNext);
        ASSERT_EQ(w->Wizard().CurrentStep, StepError);
        const QString page = w->lblInfo->text();
        // The page's own text stays, the reason beside it.
        EXPECT_TRUE(page.contains(QStringLiteral("Please check your internet connection"))) << page.toStdString();
        EXPECT_TRUE(page.contains(QString::fromLatin1(r.words))) << page.toStdString();
    }
}

TEST_F(UpdateWindow, AbortDuringASlowTransfer)
{
    std::unique_ptr<frmMain> w;
    ASSERT_NO_FATAL_FAILURE(OpenOnASlowServer(w));

    // Abort as soon as the first blocks have arrived.
    bool clicked = false;
    QObject::connect(w->txtProgress, &QLineEdit::textChanged, w.get(), [&] {
        if (!clicked && w->txtProgress->text().toLongLong() > 20000) {
            clicked = true;
            EXPECT_EQ(w->Wizard().CurrentStep, StepDownloading);
            QTest::mouseClick(w->cmdCancel, Qt::LeftButton);
        }
    });
    QElapsedTimer timer;
    timer.start();
    Click(w->cmdNext);
    EXPECT_TRUE(clicked);
    EXPECT_LT(timer.elapsed(), 10000) << "the transfer stopped early";
    EXPECT_EQ(w->Wizard().CurrentStep, StepError);
    EXPECT_FALSE(w->Wizard().CancelRequested);
    EXPECT_FALSE(QFile::exists(m_app + QStringLiteral("Data/big.bin")));
}

TEST_F(UpdateWindow, ClosingTheWindowDuringTheDownloadEndsCleanly)
{
    std::unique_ptr<frmMain> w;
    ASSERT_NO_FATAL_FAILURE(OpenOnASlowServer(w));
    bool closed = false;
    QObject::connect(w->txtProgress, &QLineEdit::textChanged, w.get(), [&] {
        if (!closed) {
            closed = true;
            w->close();
        }
    });
    w->chkLaunchWayloomAfterUpdate->setChecked(true);
    Click(w->cmdNext);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(QFileInfo::exists(m_app + QStringLiteral("Temp")));
    EXPECT_FALSE(QFile::exists(m_app + QStringLiteral("Data/big.bin")));
}

TEST_F(UpdateWindow, QuitWhileTheFileListIsFetchedEndsCleanly)
{
    PublishTwoPackages();
    StartServer({QStringLiteral("--stall")});
    auto w = OpenWindow();
    QTimer::singleShot(300, w.get(), [&] {
        EXPECT_EQ(w->Wizard().CurrentStep, StepSearching);
        Click(w->cmdQuit);
    });
    QElapsedTimer timer;
    timer.start();
    Click(w->cmdNext);
    EXPECT_LT(timer.elapsed(), 10000) << "the quit did not wait for the stall";
    EXPECT_FALSE(w->isVisible());
    EXPECT_FALSE(QFileInfo::exists(m_app + QStringLiteral("Temp")));
}

TEST_F(UpdateWindow, StalledTransferIsAFailure)
{
    PublishTwoPackages();
    StartServer({QStringLiteral("--stall")});
    auto w = OpenWindow();
    w->Wizard().DownloadFloor.Window = std::chrono::milliseconds(700);
    Click(w->cmdNext);
    EXPECT_EQ(w->Wizard().CurrentStep, StepError);
    EXPECT_TRUE(w->Wizard().LastFailure.contains(QStringLiteral("no data"))) << w->Wizard().LastFailure.toStdString();
}

// One byte every 300 ms never stops arriving, but stays under the floor (64
// bytes a second here): the list download ends as a stall within a few
// windows instead of after the whole list.
TEST_F(UpdateWindow, TrickleBelowTheFloorIsAStall)
{
    PublishTwoPackages();
    StartServer({QStringLiteral("--delay"), QStringLiteral("0.3"), QStringLiteral("--block"), QStringLiteral("1")});
    auto w = OpenWindow();
    w->Wizard().DownloadFloor = {std::chrono::milliseconds(1000), 64};
    QElapsedTimer timer;
    timer.start();
    Click(w->cmdNext);
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_EQ(w->Wizard().CurrentStep, StepError);
    EXPECT_TRUE(w->Wizard().LastFailure.contains(QStringLiteral("stalled"))) << w->Wizard().LastFailure.toStdString();
    EXPECT_FALSE(QFileInfo::exists(m_app + QStringLiteral("Temp/files.krb")));
}

// The list package yields its files.txt and nothing else, and only up to
// 16 MiB of it.
TEST_F(UpdateWindow, OnlyABoundedFileListIsTakenFromTheListPackage)
{
    const QByteArray line = "data.krb;100;01-05-2009;Data\r\n";
    const struct {
        const char* name;
        qint64 listBytes;
        int step;
    } rows[] = {
        {"SixteenMebibytes", qint64{16} << 20, StepResults},
        {"OneByteMore", (qint64{16} << 20) + 1, StepError},
    };
    StartServer();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        NewProgramFolder(QString::fromLatin1(row.name));
        // The line, then line ends up to the size.
        QByteArray list = line + QByteArray("\r\n").repeated(int((row.listBytes - line.size()) / 2));
        list.append(QByteArray(int(row.listBytes - list.size()), ' '));
        ASSERT_EQ(list.size(), row.listBytes);
        ASSERT_TRUE(
            WriteAll(m_files + QStringLiteral("files.krb"), Entry("other.txt", StoredStream("not for Temp")) +
                                                                Entry("files.txt", modHuffman::EncodeStream(list))));
        auto w = OpenWindow();
        Click(w->cmdNext);
        EXPECT_EQ(w->Wizard().CurrentStep, row.step) << w->Wizard().LastFailure.toStdString();
        const QString temp = m_app + QStringLiteral("Temp/");
        EXPECT_FALSE(QFileInfo::exists(temp + QStringLiteral("other.txt")));
        EXPECT_EQ(QFileInfo::exists(temp + QStringLiteral("files.txt")), row.step == StepResults);
        if (row.step == StepError) {
            EXPECT_TRUE(w->Wizard().LastFailure.contains(QStringLiteral("more than the 16.0 MiB")))
                << w->Wizard().LastFailure.toStdString();
        }
    }
}

TEST_F(UpdateWindow, CorruptPackageWritesNoFileOfIt)
{
    // Two members; the second one's checksum does not match its data.
    QByteArray bad = codectest::kAbcStream;
    bad[4] = 0; // "abc" gives checksum 60
    const QByteArray package = Entry("one.txt", StoredStream("first member")) + Entry("two.txt", bad);
    ASSERT_NO_FATAL_FAILURE(Serve({{"bad.krb", "Data", package}}));
    StartServer();
    auto w = RunWizard();
    EXPECT_EQ(w->Wizard().CurrentStep, StepError);
    EXPECT_FALSE(QFile::exists(m_app + QStringLiteral("Data/one.txt")));
    EXPECT_FALSE(QFile::exists(m_app + QStringLiteral("Data/two.txt")));
    EXPECT_FALSE(QFile::exists(LastUpdateFile()));
}

// Which lines and names leave the folder is the list's and the package's
// rule; here one of each kind reaches the wizard's error page.
TEST_F(UpdateWindow, NothingIsWrittenOutsideTheProgramFolder)
{
    struct Row {
        const char* name;
        const char* line;        // %1 = package size
        const char* packageName; // file on the server
        QByteArray memberName;
    } rows[] = {
        {"package name climbs", "../evil.krb;%1;01-05-2009;Data", "evil.krb", "evil.txt"},
        {"member name climbs", "ok.krb;%1;01-05-2009;Data", "ok.krb", "../../evil.txt"},
    };
    StartServer();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        QDir(m_files).removeRecursively();
        const QByteArray package = Entry(r.memberName, StoredStream("evil"));
        ASSERT_TRUE(WriteAll(m_files + QString::fromLatin1(r.packageName), package));
        ASSERT_TRUE(WriteFileList(m_files, {QString::fromLatin1(r.line).arg(package.size())}));
        const QStringList before = FilesOutsideTemp();
        auto w = RunWizard();
        EXPECT_EQ(w->Wizard().CurrentStep, StepError);
        EXPECT_EQ(FilesOutsideTemp(), before);
    }
}

TEST_F(UpdateWindow, DigestMismatchIsAFailure)
{
    PublishTwoPackages();
    // Same size, other content: only the digest can tell.
    QByteArray package = ReadAll(m_files + QStringLiteral("data.krb"));
    package[package.size() - 1] = static_cast<char>(package.back() ^ 0x20);
    ASSERT_TRUE(WriteAll(m_files + QStringLiteral("data.krb"), package));
    StartServer();
    auto w = RunWizard();
    EXPECT_EQ(w->Wizard().CurrentStep, StepError);
    EXPECT_TRUE(w->Wizard().LastFailure.contains(QStringLiteral("SHA-256"))) << w->Wizard().LastFailure.toStdString();
    EXPECT_FALSE(QFile::exists(m_app + QStringLiteral("Data/History.txt")));
}

TEST_F(UpdateWindow, FinishStartsWayloomWhenTheBoxIsChecked)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "uses a shell script as the main program";
#else
    // A stand-in for the main program that records its working folder.
    const QString program = m_app + WayloomExecutable();
    ASSERT_TRUE(WriteAll(program, "#!/bin/sh\npwd > started.txt\n"));
    QFile(program).setPermissions(QFile::permissions(program) | QFileDevice::ExeOwner);
    PublishTwoPackages("28-03-2007", "01-01-2007");
    StartServer();
    auto w = OpenWindow();
    Click(w->cmdNext);
    // Dated no later than the default last update: nothing new.
    ASSERT_EQ(w->Wizard().CurrentStep, StepNoUpdates) << w->Wizard().LastFailure.toStdString();
    EXPECT_FALSE(QFile::exists(LastUpdateFile()));
    w->chkLaunchWayloomAfterUpdate->setChecked(true);
    Click(w->cmdNext);
    EXPECT_FALSE(w->isVisible()) << "Finish ends the program";
    EXPECT_FALSE(QFileInfo::exists(m_app + QStringLiteral("Temp")));
    const QString marker = m_app + QStringLiteral("started.txt");
    for (int i = 0; i < 100 && !ReadAll(marker).endsWith('\n'); ++i)
        QTest::qWait(50);
    EXPECT_EQ(QDir(QString::fromLocal8Bit(ReadAll(marker).trimmed())).canonicalPath(), QDir(m_app).canonicalPath());
#endif
}

// Hostile servers: bodies beyond the listed size (or beyond the cap of the
// file list) and redirects to another host fail like any other failure,
// with nothing of them left behind; a redirect on the same host is followed.
TEST_F(UpdateWindow, HostileServers)
{
    struct Row {
        const char* name;
        QStringList serverArgs;
        int page;
        const char* reason;
    } rows[] = {
        {"package body beyond its listed size", {"--endless", "data.krb"}, StepError, "more than the"},
        {"file list without end", {"--endless", "files.krb"}, StepError, "more than the 67108864"},
        {"redirect to another host",
         {"--redirect", "files.krb=http://localhost:{port}/files/moved.krb"},
         StepError,
         "another host"},
        {"redirect on the same host",
         {"--redirect", "files.krb=http://127.0.0.1:{port}/files/moved.krb"},
         StepFinished,
         nullptr},
    };
    PublishTwoPackages();
    ASSERT_TRUE(QFile::copy(m_files + QStringLiteral("files.krb"), m_files + QStringLiteral("moved.krb")));
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ASSERT_NO_FATAL_FAILURE(StartServer(r.serverArgs));
        ASSERT_NO_FATAL_FAILURE(NewProgramFolder(QStringLiteral("run%1").arg(++n)));
        auto w = OpenWindow();
        QElapsedTimer timer;
        timer.start();
        RunToEnd(*w);
        EXPECT_LT(timer.elapsed(), 20000);
        EXPECT_EQ(w->Wizard().CurrentStep, r.page) << w->Wizard().LastFailure.toStdString();
        EXPECT_FALSE(QFile::exists(m_app + QStringLiteral("Data/History.txt")) && r.page == StepError);
        if (r.reason) {
            EXPECT_TRUE(w->Wizard().LastFailure.contains(QString::fromLatin1(r.reason)))
                << w->Wizard().LastFailure.toStdString();
            EXPECT_TRUE(ReadAll(m_app + kLogFile).contains(r.reason)) << "the reason is logged";
            EXPECT_FALSE(QFile::exists(m_app + QStringLiteral("Temp/") + r.serverArgs[1].section(u'=', 0, 0)))
                << "the partial download is removed";
        }
    }
}

#ifdef Q_OS_UNIX
// Links below the program folder never lead an install or a delete outside
// it: a link at a data file is replaced, a folder that leads outside is
// refused, a link in place of Temp is dropped for a fresh folder. The one
// personal file the updater writes, LastUpdate.txt, is written through a link
// to a regular file, or into the folder Personal links to (the player keeps
// them elsewhere), and the links stay.
TEST_F(UpdateWindow, LinksNeverLeadOutsideTheProgramFolder)
{
    struct Row {
        const char* name;
        const char* link; // below the program folder, to outside/victim.txt or outside/
        bool toFolder;
        int page;
    } rows[] = {
        {"link at a data file", "Data/History.txt", false, StepFinished},
        {"link at a campaign folder", "Campaign.01.Test", true, StepError},
        {"link at LastUpdate.txt", "Personal/LastUpdate.txt", false, StepFinished},
        {"link at Personal", "Personal", true, StepFinished},
        {"link at Temp", "Temp", true, StepFinished},
    };
    PublishTwoPackages();
    StartServer();
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const bool writtenThrough = QLatin1String(r.link) == QLatin1String("Personal/LastUpdate.txt");
        const bool personalElsewhere = QLatin1String(r.link) == QLatin1String("Personal");
        const QString run = QStringLiteral("run%1").arg(++n);
        const QString outside = m_root.path() + u'/' + run + QStringLiteral("/outside/");
        ASSERT_NO_FATAL_FAILURE(NewProgramFolder(run));
        ASSERT_TRUE(WriteAll(outside + QStringLiteral("victim.txt"), "victim"));
        QDir().mkpath(QFileInfo(m_app + QString::fromLatin1(r.link)).path());
        ASSERT_TRUE(QFile::link(r.toFolder ? outside : outside + QStringLiteral("victim.txt"),
                                m_app + QString::fromLatin1(r.link)));

        auto w = RunWizard();
        EXPECT_EQ(w->Wizard().CurrentStep, r.page) << w->Wizard().LastFailure.toStdString();
        if (r.page == StepFinished) {
            EXPECT_EQ(ReadAll(m_app + QStringLiteral("Data/History.txt")), m_history);
            EXPECT_FALSE(QFileInfo(m_app + QStringLiteral("Data/History.txt")).isSymLink());
            EXPECT_TRUE(ReadAll(LastUpdateFile()).endsWith("\r\n"));
            EXPECT_EQ(QFileInfo(LastUpdateFile()).isSymLink(), writtenThrough);
        }
        w->Wizard().StartProgram = [](const QString&, const QString&) { return true; };
        if (w->cmdNext->isEnabled() && r.page == StepFinished)
            Click(w->cmdNext);
        else
            Click(w->cmdQuit);
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(FilesBelow(outside),
                  personalElsewhere ? QStringList({QStringLiteral("LastUpdate.txt"), QStringLiteral("victim.txt")})
                                    : QStringList{QStringLiteral("victim.txt")});
        if (writtenThrough)
            EXPECT_TRUE(ReadAll(outside + QStringLiteral("victim.txt")).endsWith("\r\n"));
        else
            EXPECT_EQ(ReadAll(outside + QStringLiteral("victim.txt")), QByteArray("victim"));
    }
}
#endif

// 64k members install with the window responding throughout; closing the
// window while they are unpacked ends the program within a second and
// installs none of them.
TEST_F(UpdateWindow, ManyMembersInstallWhileTheWindowResponds)
{
    QByteArray package;
    for (int i = 0; i < 65536; ++i)
        package += Entry(QByteArray("m") + QByteArray::number(i) + ".txt", StoredStream("x"));
    ASSERT_NO_FATAL_FAILURE(Serve({{"many.krb", "Many", package}}));
    StartServer();
    for (const bool closeDuringInstall : {false, true}) {
        SCOPED_TRACE(closeDuringInstall ? "closed while unpacking" : "left to finish");
        ASSERT_NO_FATAL_FAILURE(NewProgramFolder(QString::fromLatin1(closeDuringInstall ? "closed" : "finished")));
        auto w = OpenWindow();
        Click(w->cmdNext);
        ASSERT_EQ(w->Wizard().CurrentStep, StepResults) << w->Wizard().LastFailure.toStdString();
        // Ticks of a 20 ms timer once the package is in: the longest gap is
        // how long the window could not react.
        QElapsedTimer sinceTick, sinceClose;
        qint64 longestGap = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            if (w->txtProgress->text().toLongLong() < package.size() || !w->isVisible())
                return;
            if (sinceTick.isValid())
                longestGap = std::max(longestGap, sinceTick.elapsed());
            sinceTick.start();
            if (closeDuringInstall && !sinceClose.isValid()) {
                sinceClose.start();
                w->close();
            }
        });
        ticker.start(20);
        Click(w->cmdNext);
        ticker.stop();
        if (closeDuringInstall) {
            ASSERT_TRUE(sinceClose.isValid()) << "the unpacking was over before the first tick";
            EXPECT_LT(sinceClose.elapsed(), 1000) << "the install ends within a second of the close";
            EXPECT_FALSE(w->isVisible());
            EXPECT_TRUE(FilesBelow(m_app + QStringLiteral("Many")).isEmpty());
            EXPECT_FALSE(QFileInfo::exists(m_app + QStringLiteral("Temp")));
        } else {
            EXPECT_EQ(w->Wizard().CurrentStep, StepFinished) << w->Wizard().LastFailure.toStdString();
            EXPECT_EQ(QDir(m_app + QStringLiteral("Many")).entryList(QDir::Files | QDir::Hidden).size(), 65536);
            EXPECT_LT(longestGap, 1000);
        }
    }
}

} // namespace

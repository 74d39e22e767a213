// One Wayloom per program folder: real processes of the built program with
// different temporary folders, and the program driven in this process with
// locks of other processes and machines written by hand.
#include "app/OneCopy.h"
#include "../ProgramCopy.h"
#include "../core/TestFiles.h"
#include "app/WayloomProgram.h"
#include "panel/frmMenu.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <map>

namespace {

const QString kLockName = QStringLiteral("Wayloom.lock");

// Every file below a folder with its bytes (links to campaign folders and the
// executable left out).
std::map<QString, QByteArray> Snapshot(const QString& root)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileInfo().isSymLink() || it.fileName() == QLatin1String("Wayloom"))
            continue;
        QFile f(path);
        files[path.mid(root.size())] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    return files;
}

qint64 LockPid(const std::map<QString, QByteArray>& files)
{
    const auto it = files.find(kLockName);
    const std::optional<records::LockOwner> owner =
        it == files.end() ? std::nullopt : records::LockOwner::Parse(it->second);
    return owner ? owner->pid : 0;
}

// The program set up with recording hooks, not started yet.
struct Program {
    explicit Program(const ProgramCopy& folder) : program(std::make_unique<WayloomProgram>(folder.path()))
    {
        program->showError = [this](const QString& text, bool) { told << text; };
        program->confirm = [this](const QString& question) {
            asked << question;
            return answer;
        };
        program->endProgram = [] {};
        program->startDetached = [](const QString&) { return false; };
        program->openWithShell = [](const QString&) { return true; };
    }
    WayloomProgram::StartResult Start() { return program->Main(); }

    std::unique_ptr<WayloomProgram> program;
    QStringList told, asked;
    bool answer = false;
};

} // namespace

TEST(OneCopy, ASecondProcessWithAnotherTempFolderIsRefusedAndTheFirstKeepsItsRecords)
{
    ProgramCopy folder;
    const QString exe = folder.path() + QStringLiteral("Wayloom");
    // The program folder is the executable's own: a hard link where the
    // file system allows it, else a copy.
    ASSERT_TRUE(::link(WAYLOOM_EXE, QFile::encodeName(exe).constData()) == 0 ||
                QFile::copy(QStringLiteral(WAYLOOM_EXE), exe));
    ASSERT_TRUE(folder.write(QStringLiteral("Personal/Characters.txt"), "1\tFirst\t1\r\n"));
    QTemporaryDir tmpA, tmpB;

    const auto start = [&](QProcess& p, const QTemporaryDir& tmp) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), tmp.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(exe, {});
        return p.waitForStarted(10000);
    };
    QProcess first;
    ASSERT_TRUE(start(first, tmpA));
    // The first copy answers on its socket once its windows are up.
    QElapsedTimer waited;
    waited.start();
    bool answered = false;
    while (!answered && waited.elapsed() < 60000 && first.state() == QProcess::Running)
        answered = OneCopy::AskToFront(OneCopy::ServerName(folder.path()), 1000);
    ASSERT_TRUE(answered) << "the first copy never answered";
    const std::map<QString, QByteArray> before = Snapshot(folder.path());
    ASSERT_EQ(LockPid(before), first.processId());

    QProcess second;
    ASSERT_TRUE(start(second, tmpB));
    // Reaching the first copy, the second ends without a message (a message
    // box would keep it waiting here).
    EXPECT_TRUE(second.waitForFinished(30000)) << "the second copy did not end";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(Snapshot(folder.path()), before) << "the second copy wrote nothing";

    second.kill();
    second.waitForFinished();
    first.kill();
    first.waitForFinished();
}

TEST(OneCopy, ALaterStartBringsTheRunningCopyToTheFront)
{
    ProgramCopy folder;
    Program first(folder);
    ASSERT_EQ(first.Start(), WayloomProgram::StartResult::Started);
    first.program->menu()->setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(first.program->menu()->isMinimized());

    Program second(folder);
    EXPECT_EQ(second.Start(), WayloomProgram::StartResult::AlreadyRunning);
    EXPECT_TRUE(second.told.isEmpty());
    EXPECT_EQ(second.program->menu(), nullptr) << "nothing loaded";
    EXPECT_FALSE(first.program->menu()->isMinimized());
    EXPECT_TRUE(first.program->menu()->isVisible());
}

TEST(OneCopy, ACopyThatDoesNotAnswerIsToldToThePlayer)
{
    ProgramCopy folder;
    Sleeper holder;
    const QString host = records::ProgramLock::HostName();
    struct Row {
        const char* name;
        QByteArray lock;
        QString told;
    };
    const Row rows[] = {
        {"Wayloom", LockText(holder.pid(), host, "Wayloom", "sleep"), QString::fromLatin1(OneCopy::kAlreadyRunning)},
        {"Update", LockText(holder.pid(), host, "Update", "sleep"), QString::fromLatin1(OneCopy::kUpdateRunning)},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(folder.write(kLockName, row.lock));
        const std::map<QString, QByteArray> before = Snapshot(folder.path());
        Program later(folder);
        EXPECT_EQ(later.Start(), WayloomProgram::StartResult::AlreadyRunning) << row.name;
        EXPECT_EQ(later.told, QStringList{row.told}) << row.name;
        EXPECT_EQ(later.program->menu(), nullptr) << row.name;
        later.program.reset();
        EXPECT_EQ(Snapshot(folder.path()), before) << row.name << ": nothing written, the lock kept";
    }
}

TEST(OneCopy, AnotherMachinesCopyIsTakenOverOnlyWhenThePlayerAgrees)
{
    ProgramCopy folder;
    const QByteArray far = LockText(4242, QStringLiteral("faraway"), "Wayloom", "Wayloom");
    ASSERT_TRUE(folder.write(kLockName, far));
    const std::map<QString, QByteArray> before = Snapshot(folder.path());
    {
        Program refused(folder);
        EXPECT_EQ(refused.Start(), WayloomProgram::StartResult::AlreadyRunning);
        ASSERT_EQ(refused.asked.size(), 1);
        EXPECT_TRUE(refused.asked[0].contains(QStringLiteral("\"faraway\""))) << refused.asked[0].toStdString();
        EXPECT_TRUE(refused.told.isEmpty());
        EXPECT_EQ(refused.program->menu(), nullptr);
    }
    EXPECT_EQ(Snapshot(folder.path()), before);

    Program taken(folder);
    taken.answer = true;
    EXPECT_EQ(taken.Start(), WayloomProgram::StartResult::Started);
    EXPECT_EQ(taken.asked.size(), 1);
    EXPECT_EQ(LockPid(Snapshot(folder.path())), QCoreApplication::applicationPid());
}

// With the file-size signal at its default the system would end the program
// at the first write past the limit; the program turns it into an error.
TEST(OneCopy, AWritePastTheFileSizeLimitIsAnErrorNotTheEnd)
{
    QTemporaryDir data;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit lim{};
        getrlimit(RLIMIT_FSIZE, &lim);
        lim.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &lim);
    });
    p.start(QStringLiteral(WAYLOOM_EXE), {QStringLiteral("--install-desktop-entry")});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "ended by a signal";
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(QString::fromLocal8Bit(p.readAllStandardError()).startsWith(QStringLiteral("Wayloom: ")));
}

// The program folder's lock: who may take it, what is taken over, what is
// never touched. Lock files of other processes and machines are written here
// byte by byte, as another copy would leave them.
#include "records/ProgramLock.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <sys/stat.h>

using records::JudgeLock;
using records::LockFacts;
using records::LockOwner;
using records::LockVerdict;
using records::ProgramLock;
using State = records::ProgramLock::State;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

qint64 OurPid()
{
    return QCoreApplication::applicationPid();
}

// The number of a process that has just ended.
qint64 DeadPid()
{
    QProcess p;
    p.start(QStringLiteral("true"), {});
    if (!p.waitForStarted())
        return 0;
    const qint64 pid = p.processId();
    p.waitForFinished();
    return pid;
}

// A process that runs until the object goes.
struct Sleeper {
    Sleeper()
    {
        m_process.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        m_process.waitForStarted();
    }
    ~Sleeper()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    qint64 pid() const { return m_process.processId(); }
    QProcess m_process;
};

QByteArray LockText(qint64 pid, const QString& host, const char* program, const QString& process)
{
    return "pid=" + QByteArray::number(pid) + "\nhost=" + host.toUtf8() + "\nprogram=" + program +
           "\nprocess=" + process.toUtf8() + "\n";
}

LockOwner Owner(qint64 pid, const char* host, const char* process)
{
    LockOwner o;
    o.pid = pid;
    o.host = QString::fromLatin1(host);
    o.program = QStringLiteral("Wayloom");
    o.process = QString::fromLatin1(process);
    return o;
}

} // namespace

TEST(ProgramLock, JudgesEveryKindOfLockFound)
{
    const QString here = QStringLiteral("box");
    const qint64 me = 100;
    struct Row {
        const char* name;
        LockFacts facts;
        LockVerdict expected;
    };
    const std::optional<QString> none;
    const Row rows[] = {
        {"live Wayloom here", {Owner(200, "box", "Wayloom"), 0, false, QStringLiteral("Wayloom")}, LockVerdict::Held},
        {"host name in other case",
         {Owner(200, "BOX", "Wayloom"), 0, false, QStringLiteral("Wayloom")},
         LockVerdict::Held},
        {"dead process here", {Owner(200, "box", "Wayloom"), 0, false, none}, LockVerdict::Stale},
        {"number reused by another program",
         {Owner(200, "box", "Wayloom"), 0, false, QStringLiteral("bash")},
         LockVerdict::Stale},
        {"live process whose name is unknown", {Owner(200, "box", "Wayloom"), 0, false, QString()}, LockVerdict::Held},
        {"lock names no process name", {Owner(200, "box", ""), 0, false, QStringLiteral("bash")}, LockVerdict::Held},
        {"our number, held by us",
         {Owner(me, "box", "Wayloom"), 0, true, QStringLiteral("Wayloom")},
         LockVerdict::Held},
        {"our number, left by an earlier process",
         {Owner(me, "box", "Wayloom"), 0, false, QStringLiteral("Wayloom")},
         LockVerdict::Stale},
        {"another machine, long ago",
         {Owner(200, "far", "Wayloom"), 86400000, false, none},
         LockVerdict::HeldOnOtherMachine},
        {"another machine, our number", {Owner(me, "far", "Wayloom"), 0, false, none}, LockVerdict::HeldOnOtherMachine},
        {"unreadable, just written", {std::nullopt, 2000, false, none}, LockVerdict::Held},
        {"unreadable, left over", {std::nullopt, records::kUnreadableLockGraceMs, false, none}, LockVerdict::Stale},
    };
    for (const Row& row : rows)
        EXPECT_EQ(JudgeLock(row.facts, here, me), row.expected) << row.name;
}

TEST(ProgramLock, LockFileFormat)
{
    const QByteArray text = "pid=4321\nhost=box-2\nprogram=Update\nprocess=Update\n";
    const std::optional<LockOwner> o = LockOwner::Parse(text);
    ASSERT_TRUE(o);
    EXPECT_EQ(o->pid, 4321);
    EXPECT_EQ(o->host, QStringLiteral("box-2"));
    EXPECT_EQ(o->program, QStringLiteral("Update"));
    EXPECT_EQ(o->Serialize(), text);
    EXPECT_FALSE(LockOwner::Parse("host=box\n")) << "no process number";
    EXPECT_FALSE(LockOwner::Parse("pid=0\nhost=box\n"));
    EXPECT_FALSE(LockOwner::Parse("pid=12\n")) << "no machine";
    EXPECT_FALSE(LockOwner::Parse(""));
}

TEST(ProgramLock, OneHolderPerFolderUntilReleased)
{
    QTemporaryDir dir;
    const QString lockFile = dir.path() + QStringLiteral("/Wayloom.lock");
    auto first = std::make_unique<ProgramLock>(dir.path(), QStringLiteral("Wayloom"));
    ASSERT_EQ(first->Path(), lockFile);
    ASSERT_EQ(first->TryLock(), State::Acquired) << first->Error().toStdString();
    const std::optional<LockOwner> owner = LockOwner::Parse(ReadAll(lockFile));
    ASSERT_TRUE(owner);
    EXPECT_EQ(owner->pid, OurPid());
    EXPECT_EQ(owner->host, ProgramLock::HostName());
    EXPECT_EQ(owner->program, QStringLiteral("Wayloom"));

    // The same folder named another way is the same folder.
    QFile::link(dir.path(), dir.path() + QStringLiteral("-link"));
    ProgramLock second(dir.path() + QStringLiteral("-link/"), QStringLiteral("Update"));
    EXPECT_EQ(second.Path(), first->Path());
    EXPECT_EQ(second.TryLock(), State::Held);
    EXPECT_EQ(second.Holder().program, QStringLiteral("Wayloom"));
    QFile::remove(dir.path() + QStringLiteral("-link"));

    first.reset();
    EXPECT_FALSE(QFile::exists(lockFile));
    EXPECT_EQ(second.TryLock(), State::Acquired);
}

TEST(ProgramLock, LocksOfGoneProcessesAreTakenOver)
{
    Sleeper sleeper;
    struct Row {
        const char* name;
        QByteArray text;
        State expected;
    };
    const QString host = ProgramLock::HostName();
    const Row rows[] = {
        {"a process that ended", LockText(DeadPid(), host, "Wayloom", QStringLiteral("Wayloom")), State::Acquired},
        {"our own number, left by an earlier process", LockText(OurPid(), host, "Wayloom", QStringLiteral("Wayloom")),
         State::Acquired},
        {"a number now used by another program", LockText(sleeper.pid(), host, "Wayloom", QStringLiteral("Wayloom")),
         State::Acquired},
        {"a live holder", LockText(sleeper.pid(), host, "Wayloom", QStringLiteral("sleep")), State::Held},
    };
    for (const Row& row : rows) {
        QTemporaryDir dir;
        const QString lockFile = dir.path() + QStringLiteral("/Wayloom.lock");
        ASSERT_TRUE(WriteAll(lockFile, row.text));
        ProgramLock lock(dir.path(), QStringLiteral("Wayloom"));
        EXPECT_EQ(lock.TryLock(), row.expected) << row.name;
        if (row.expected == State::Acquired)
            EXPECT_EQ(LockOwner::Parse(ReadAll(lockFile))->pid, OurPid()) << row.name;
        else
            EXPECT_EQ(ReadAll(lockFile), row.text) << row.name;
    }
}

TEST(ProgramLock, AnotherMachinesLockIsTakenOnlyWhenAskedAndUnchanged)
{
    QTemporaryDir dir;
    const QString lockFile = dir.path() + QStringLiteral("/Wayloom.lock");
    const QByteArray far = LockText(DeadPid(), QStringLiteral("faraway"), "Wayloom", QStringLiteral("Wayloom"));
    ASSERT_TRUE(WriteAll(lockFile, far));
    {
        ProgramLock lock(dir.path(), QStringLiteral("Wayloom"));
        EXPECT_EQ(lock.TryLock(), State::HeldOnOtherMachine);
        EXPECT_EQ(lock.Holder().host, QStringLiteral("faraway"));
        EXPECT_FALSE(lock.Locked());
    }
    EXPECT_EQ(ReadAll(lockFile), far) << "a dead number on another machine says nothing about it";

    // Meanwhile a third machine took the folder: the player's answer was
    // about the lock shown, not this one.
    ProgramLock lock(dir.path(), QStringLiteral("Wayloom"));
    ASSERT_EQ(lock.TryLock(), State::HeldOnOtherMachine);
    const QByteArray third = LockText(77, QStringLiteral("third"), "Wayloom", QStringLiteral("Wayloom"));
    ASSERT_TRUE(WriteAll(lockFile, third));
    EXPECT_EQ(lock.TakeOver(), State::HeldOnOtherMachine);
    EXPECT_EQ(lock.Holder().host, QStringLiteral("third"));
    EXPECT_EQ(ReadAll(lockFile), third);
    // Confirmed about that one: taken.
    EXPECT_EQ(lock.TakeOver(), State::Acquired);
    EXPECT_EQ(LockOwner::Parse(ReadAll(lockFile))->host, ProgramLock::HostName());
}

TEST(ProgramLock, AFolderThatCannotBeWrittenKeepsItsLockInTheTemporaryFolder)
{
    QTemporaryDir dir;
    const auto readOnly = [](const QString&) { return false; };
    ProgramLock first(dir.path(), QStringLiteral("Wayloom"), readOnly);
    EXPECT_TRUE(first.Path().startsWith(QDir::tempPath() + QLatin1Char('/'))) << first.Path().toStdString();
    ASSERT_EQ(first.TryLock(), State::Acquired) << first.Error().toStdString();
    EXPECT_TRUE(QDir(dir.path()).isEmpty()) << "nothing is written into the folder";
    ProgramLock second(dir.path() + QLatin1Char('/'), QStringLiteral("Wayloom"), readOnly);
    EXPECT_EQ(second.TryLock(), State::Held);
    QTemporaryDir other;
    EXPECT_NE(ProgramLock::PathFor(other.path(), false), first.Path()) << "keyed by the folder";
}

TEST(ProgramLock, WhatIsNoLockFileOfOursIsNeverTouched)
{
    QTemporaryDir dir;
    const QString lockFile = dir.path() + QStringLiteral("/Wayloom.lock");
    const QString target = dir.path() + QStringLiteral("/keep.txt");
    ASSERT_TRUE(WriteAll(target, "player's file\r\n"));
    struct Row {
        const char* name;
        std::function<bool()> make;
    };
    const Row rows[] = {
        {"a link to a file", [&] { return QFile::link(target, lockFile); }},
        {"a dangling link", [&] { return QFile::link(dir.path() + QStringLiteral("/none"), lockFile); }},
        {"a FIFO", [&] { return ::mkfifo(QFile::encodeName(lockFile).constData(), 0644) == 0; }},
        {"a folder", [&] { return QDir().mkdir(lockFile); }},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(row.make()) << row.name;
        ProgramLock lock(dir.path(), QStringLiteral("Wayloom"));
        EXPECT_EQ(lock.TryLock(), State::Failed) << row.name;
        EXPECT_TRUE(lock.Error().contains(QStringLiteral("Wayloom.lock"))) << row.name;
        EXPECT_TRUE(QFileInfo(lockFile).isSymLink() || QFileInfo::exists(lockFile)) << row.name;
        EXPECT_EQ(ReadAll(target), "player's file\r\n") << row.name;
        QFile::remove(lockFile);
        QDir().rmdir(lockFile);
    }
}

TEST(ProgramLock, AnUnreadableLockIsWaitedForThenTakenOver)
{
    QTemporaryDir dir;
    const QString lockFile = dir.path() + QStringLiteral("/Wayloom.lock");
    ASSERT_TRUE(WriteAll(lockFile, "")); // a copy between creating and writing it
    ProgramLock lock(dir.path(), QStringLiteral("Wayloom"));
    EXPECT_EQ(lock.TryLock(), State::Held);
    EXPECT_EQ(ReadAll(lockFile), QByteArray());
    {
        QFile f(lockFile);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(lock.TryLock(), State::Acquired);
}

TEST(ProgramLock, ReleaseKeepsALockThatIsNoLongerOurs)
{
    QTemporaryDir dir;
    const QString lockFile = dir.path() + QStringLiteral("/Wayloom.lock");
    const QByteArray other = LockText(77, QStringLiteral("faraway"), "Wayloom", QStringLiteral("Wayloom"));
    {
        ProgramLock lock(dir.path(), QStringLiteral("Wayloom"));
        ASSERT_EQ(lock.TryLock(), State::Acquired);
        ASSERT_TRUE(WriteAll(lockFile, other)); // taken over from another machine meanwhile
    }
    EXPECT_EQ(ReadAll(lockFile), other);
}

TEST(ProgramLock, NoRoomForTheLockLeavesNoHalfLock)
{
    QTemporaryDir dir;
    ProgramLock lock(dir.path(), QStringLiteral("Wayloom"));
    {
        const FileSizeLimit full(8);
        ASSERT_TRUE(full.ok());
        EXPECT_EQ(lock.TryLock(), State::Failed);
    }
    EXPECT_FALSE(lock.Error().isEmpty());
    EXPECT_FALSE(QFile::exists(lock.Path())) << "a half lock would stand in the way of every later start";
    EXPECT_EQ(lock.TryLock(), State::Acquired);
}

// The program folder's lock: who may take it, what is taken over, what is
// never touched. Lock files of other processes and machines are written here
// byte by byte, as another copy would leave them.
#include "records/ProgramLock.h"
#include "../core/TestFiles.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <memory>

#include <sys/stat.h>

using records::LockOwner;
using records::ProgramLock;
using State = records::ProgramLock::State;

namespace {

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

const QString kLock = QStringLiteral("Wayloom.lock");

} // namespace

TEST(ProgramLock, LockFileFormat)
{
    const QByteArray text = "pid=4321\nhost=box-2\nprogram=Update\nprocess=Update\n";
    const std::optional<LockOwner> o = LockOwner::Parse(text);
    ASSERT_TRUE(o);
    EXPECT_EQ(std::tuple(o->pid, o->host, o->program),
              std::tuple(4321, QStringLiteral("box-2"), QStringLiteral("Update")));
    EXPECT_EQ(o->Serialize(), text);
    for (const char* bad : {"host=box\n", "pid=0\nhost=box\n", "pid=12\n", ""})
        EXPECT_FALSE(LockOwner::Parse(bad)) << bad;
}

TEST(ProgramLock, OneHolderPerFolderUntilReleased)
{
    ProgramFolder dir;
    auto first = std::make_unique<ProgramLock>(dir.path(), QStringLiteral("Wayloom"));
    ASSERT_EQ(first->Path(), dir.path(kLock));
    ASSERT_EQ(first->TryLock(), State::Acquired) << first->Error().toStdString();
    const std::optional<LockOwner> owner = LockOwner::Parse(dir.read(kLock));
    ASSERT_TRUE(owner);
    EXPECT_EQ(std::tuple(owner->pid, owner->host, owner->program),
              std::tuple(QCoreApplication::applicationPid(), ProgramLock::HostName(), QStringLiteral("Wayloom")));

    // The same folder named another way is the same folder.
    ASSERT_TRUE(QFile::link(dir.path(), dir.path("self")));
    ProgramLock second(dir.path("self/"), QStringLiteral("Update"));
    EXPECT_EQ(second.Path(), first->Path());
    EXPECT_EQ(second.TryLock(), State::Held);
    EXPECT_EQ(second.Holder().program, QStringLiteral("Wayloom"));
    QFile::remove(dir.path("self"));

    first.reset();
    EXPECT_FALSE(dir.exists(kLock));
    EXPECT_EQ(second.TryLock(), State::Acquired);
}

TEST(ProgramLock, LocksOfGoneProcessesAreTakenOver)
{
    Sleeper sleeper;
    const QString host = ProgramLock::HostName();
    const struct {
        const char* name;
        QByteArray text;
        State expected;
    } rows[] = {
        {"a process that ended", LockText(DeadPid(), host, "Wayloom", "Wayloom"), State::Acquired},
        {"our own number, left by an earlier process",
         LockText(QCoreApplication::applicationPid(), host, "Wayloom", "Wayloom"), State::Acquired},
        {"a number now used by another program", LockText(sleeper.pid(), host, "Wayloom", "Wayloom"), State::Acquired},
        {"a live holder", LockText(sleeper.pid(), host, "Wayloom", "sleep"), State::Held},
    };
    for (const auto& row : rows) {
        ProgramFolder dir;
        dir.write(kLock, row.text);
        ProgramLock lock(dir.path(), QStringLiteral("Wayloom"));
        EXPECT_EQ(lock.TryLock(), row.expected) << row.name;
        if (row.expected == State::Acquired)
            EXPECT_EQ(LockOwner::Parse(dir.read(kLock))->pid, QCoreApplication::applicationPid()) << row.name;
        else
            EXPECT_EQ(dir.read(kLock), row.text) << row.name;
    }
}

TEST(ProgramLock, AnotherMachinesLockIsTakenOnlyWhenAskedAndUnchanged)
{
    ProgramFolder dir;
    const QByteArray far = LockText(DeadPid(), QStringLiteral("faraway"), "Wayloom", "Wayloom");
    dir.write(kLock, far);
    {
        ProgramLock lock(dir.path(), QStringLiteral("Wayloom"));
        EXPECT_EQ(lock.TryLock(), State::HeldOnOtherMachine);
        EXPECT_EQ(lock.Holder().host, QStringLiteral("faraway"));
        EXPECT_FALSE(lock.Locked());
    }
    EXPECT_EQ(dir.read(kLock), far) << "a dead number on another machine says nothing about it";

    // Meanwhile a third machine took the folder: the player's answer was
    // about the lock shown, not this one.
    ProgramLock lock(dir.path(), QStringLiteral("Wayloom"));
    ASSERT_EQ(lock.TryLock(), State::HeldOnOtherMachine);
    const QByteArray third = LockText(77, QStringLiteral("third"), "Wayloom", "Wayloom");
    dir.write(kLock, third);
    EXPECT_EQ(lock.TakeOver(), State::HeldOnOtherMachine);
    EXPECT_EQ(lock.Holder().host, QStringLiteral("third"));
    EXPECT_EQ(dir.read(kLock), third);
    // Confirmed about that one: taken.
    EXPECT_EQ(lock.TakeOver(), State::Acquired);
    EXPECT_EQ(LockOwner::Parse(dir.read(kLock))->host, ProgramLock::HostName());
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
    ProgramFolder dir;
    const QString lockFile = dir.path(kLock);
    dir.write("keep.txt", "player's file\r\n");
    const struct {
        const char* name;
        std::function<bool()> make;
    } rows[] = {
        {"a link to a file", [&] { return QFile::link(dir.path("keep.txt"), lockFile); }},
        {"a dangling link", [&] { return QFile::link(dir.path("none"), lockFile); }},
        {"a FIFO", [&] { return ::mkfifo(QFile::encodeName(lockFile).constData(), 0644) == 0; }},
        {"a folder", [&] { return QDir().mkdir(lockFile); }},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(row.make()) << row.name;
        ProgramLock lock(dir.path(), QStringLiteral("Wayloom"));
        EXPECT_EQ(lock.TryLock(), State::Failed) << row.name;
        EXPECT_TRUE(lock.Error().contains(kLock)) << row.name;
        EXPECT_TRUE(QFileInfo(lockFile).isSymLink() || QFileInfo::exists(lockFile)) << row.name;
        EXPECT_EQ(dir.read("keep.txt"), "player's file\r\n") << row.name;
        QFile::remove(lockFile);
        QDir().rmdir(lockFile);
    }
}

TEST(ProgramLock, AnUnreadableLockIsWaitedForThenTakenOver)
{
    ProgramFolder dir;
    dir.write(kLock, ""); // a copy between creating and writing it
    ProgramLock lock(dir.path(), QStringLiteral("Wayloom"));
    EXPECT_EQ(lock.TryLock(), State::Held);
    EXPECT_EQ(dir.read(kLock), QByteArray());
    {
        QFile f(dir.path(kLock));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(lock.TryLock(), State::Acquired);
}

TEST(ProgramLock, ReleaseKeepsALockThatIsNoLongerOurs)
{
    ProgramFolder dir;
    const QByteArray other = LockText(77, QStringLiteral("faraway"), "Wayloom", "Wayloom");
    {
        ProgramLock lock(dir.path(), QStringLiteral("Wayloom"));
        ASSERT_EQ(lock.TryLock(), State::Acquired);
        dir.write(kLock, other); // taken over from another machine meanwhile
    }
    EXPECT_EQ(dir.read(kLock), other);
}

TEST(ProgramLock, NoRoomForTheLockLeavesNoHalfLock)
{
    ProgramFolder dir;
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

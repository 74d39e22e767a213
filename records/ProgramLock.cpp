#include "records/ProgramLock.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSet>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <limits>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace records {

namespace {

constexpr char kLockFileName[] = "Wayloom.lock";
// A lock file is a few short lines; anything longer is no lock of ours.
constexpr qsizetype kMaxLockFileSize = 4096;

// The lock paths this process holds, so that a second lock object of the
// same process on the same folder is refused like another copy.
std::mutex& HeldMutex()
{
    static std::mutex m;
    return m;
}

QSet<QString>& HeldPaths()
{
    static QSet<QString> paths;
    return paths;
}

bool HeldHere(const QString& path)
{
    const std::lock_guard<std::mutex> guard(HeldMutex());
    return HeldPaths().contains(path);
}

void SetHeldHere(const QString& path, bool held)
{
    const std::lock_guard<std::mutex> guard(HeldMutex());
    if (held)
        HeldPaths().insert(path);
    else
        HeldPaths().remove(path);
}

QString SystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// What lies at the lock's path, read without following a link and without
// blocking on a FIFO.
struct Found {
    enum Kind { Missing, Regular, Other } kind = Missing;
    QByteArray bytes;
    qint64 ageMs = 0;
};

Found Look(const QString& path)
{
    Found f;
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::lstat(name.constData(), &info) != 0)
        return f;
    if (!S_ISREG(info.st_mode)) {
        f.kind = Found::Other;
        return f;
    }
    const int handle = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) {
        f.kind = errno == ENOENT ? Found::Missing : Found::Other;
        return f;
    }
    f.kind = Found::Regular;
    if (::fstat(handle, &info) == 0) {
        const qint64 modified = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
        f.ageMs = QDateTime::currentMSecsSinceEpoch() - modified;
    }
    char buffer[kMaxLockFileSize + 1];
    qsizetype have = 0;
    while (have < qsizetype(sizeof buffer)) {
        const ssize_t got = ::read(handle, buffer + have, sizeof buffer - static_cast<size_t>(have));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        have += got;
    }
    ::close(handle);
    if (have <= kMaxLockFileSize)
        f.bytes = QByteArray(buffer, have);
    return f;
}

// Creates `path` only when nothing is there (no link is followed) and writes
// `bytes` whole; errno tells why not.
bool CreateExclusive(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = QFile::encodeName(path);
    const int handle = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (handle < 0)
        return false;
    qsizetype done = 0;
    int error = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(handle, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            error = put < 0 ? errno : ENOSPC;
            break;
        }
        done += put;
    }
    if (!error && ::fsync(handle) != 0 && errno != EINVAL)
        error = errno;
    if (::close(handle) != 0 && !error)
        error = errno;
    if (error) {
        ::unlink(name.constData()); // a lock half written would stand in the way of every later start
        errno = error;
        return false;
    }
    return true;
}

bool Unlink(const QString& path)
{
    return ::unlink(QFile::encodeName(path).constData()) == 0;
}

// The name of the process with this number on this machine; nothing when
// none runs, empty when one runs whose name cannot be read.
std::optional<QString> RunningProcess(qint64 pid)
{
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return std::nullopt;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)
        return std::nullopt;
    return ProgramLock::ProcessName(pid);
}

} // namespace

QByteArray LockOwner::Serialize() const
{
    return "pid=" + QByteArray::number(pid) + "\nhost=" + host.toUtf8() + "\nprogram=" + program.toUtf8() +
           "\nprocess=" + process.toUtf8() + '\n';
}

std::optional<LockOwner> LockOwner::Parse(const QByteArray& bytes)
{
    LockOwner o;
    for (const QByteArray& line : bytes.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq);
        const QString value = QString::fromUtf8(line.mid(eq + 1)).trimmed();
        if (key == "pid")
            o.pid = value.toLongLong();
        else if (key == "host")
            o.host = value;
        else if (key == "program")
            o.program = value;
        else if (key == "process")
            o.process = value;
    }
    if (o.pid <= 0 || o.host.isEmpty())
        return std::nullopt;
    return o;
}

LockVerdict JudgeLock(const LockFacts& facts, const QString& ourHost, qint64 ourPid)
{
    if (!facts.owner)
        return facts.ageMs < kUnreadableLockGraceMs ? LockVerdict::Held : LockVerdict::Stale;
    const LockOwner& owner = *facts.owner;
    if (owner.host.compare(ourHost, Qt::CaseInsensitive) != 0)
        return LockVerdict::HeldOnOtherMachine;
    // Our own number: either we hold it, or an earlier process that had the
    // same number left it behind.
    if (owner.pid == ourPid)
        return facts.heldInThisProcess ? LockVerdict::Held : LockVerdict::Stale;
    if (!facts.runningProcess)
        return LockVerdict::Stale;
    // A number taken by another program since counts as gone; a process
    // whose name cannot be compared counts as the holder.
    if (facts.runningProcess->isEmpty() || owner.process.isEmpty() || *facts.runningProcess == owner.process)
        return LockVerdict::Held;
    return LockVerdict::Stale;
}

ProgramLock::ProgramLock(const QString& appFolder, const QString& program,
                         const std::function<bool(const QString& folder)>& folderWritable)
    : m_program(program)
{
    const bool writable = folderWritable ? folderWritable(appFolder) : FolderWritable(appFolder);
    m_path = PathFor(appFolder, writable);
}

ProgramLock::~ProgramLock()
{
    Release();
}

QString ProgramLock::PathFor(const QString& appFolder, bool folderWritable)
{
    QString folder = QFileInfo(appFolder).canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(QDir(appFolder).absolutePath());
    if (folderWritable)
        return folder + QLatin1Char('/') + QLatin1String(kLockFileName);
    const QByteArray key = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QDir::tempPath() + QStringLiteral("/wayloom-") + QString::fromLatin1(key) + QStringLiteral(".lock");
}

bool ProgramLock::FolderWritable(const QString& folder)
{
    return ::access(QFile::encodeName(folder).constData(), W_OK) == 0;
}

QString ProgramLock::HostName()
{
    const QString name = QSysInfo::machineHostName();
    return name.isEmpty() ? QStringLiteral("localhost") : name;
}

QString ProgramLock::ProcessName(qint64 pid)
{
    QByteArray bytes;
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (comm.open(QIODevice::ReadOnly))
        bytes = comm.read(256);
    return QString::fromUtf8(bytes).trimmed();
}

ProgramLock::State ProgramLock::Create()
{
    LockOwner me;
    me.pid = QCoreApplication::applicationPid();
    me.host = HostName();
    me.program = m_program;
    me.process = ProcessName(me.pid);
    m_content = me.Serialize();
    if (!CreateExclusive(m_path, m_content))
        return State::Failed; // errno tells
    m_locked = true;
    SetHeldHere(m_path, true);
    return State::Acquired;
}

ProgramLock::State ProgramLock::TryLock()
{
    if (m_locked)
        return State::Acquired;
    m_error.clear();
    m_holder = LockOwner();
    m_foundOther.clear();
    // A few rounds: a stale lock removed here may be taken by another copy
    // starting at the same moment, which then wins.
    for (int round = 0; round < 4; ++round) {
        if (Create() == State::Acquired)
            return State::Acquired;
        if (errno != EEXIST) {
            m_error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(m_path), SystemError(errno));
            return State::Failed;
        }
        const Found found = Look(m_path);
        if (found.kind == Found::Missing)
            continue; // given back meanwhile
        if (found.kind == Found::Other) {
            m_error = QStringLiteral("%1 is not a lock file").arg(QDir::toNativeSeparators(m_path));
            return State::Failed;
        }
        LockFacts facts;
        facts.owner = LockOwner::Parse(found.bytes);
        facts.ageMs = found.ageMs;
        facts.heldInThisProcess = HeldHere(m_path);
        if (facts.owner && facts.owner->host.compare(HostName(), Qt::CaseInsensitive) == 0)
            facts.runningProcess = RunningProcess(facts.owner->pid);
        if (facts.owner)
            m_holder = *facts.owner;
        switch (JudgeLock(facts, HostName(), QCoreApplication::applicationPid())) {
        case LockVerdict::Held:
            return State::Held;
        case LockVerdict::HeldOnOtherMachine:
            m_foundOther = found.bytes;
            return State::HeldOnOtherMachine;
        case LockVerdict::Stale:
            if (!RemoveIfUnchanged(found.bytes))
                return State::Held; // another copy is taking it over right now
            m_holder = LockOwner();
            break;
        }
    }
    return State::Held;
}

ProgramLock::State ProgramLock::TakeOver()
{
    if (m_locked)
        return State::Acquired;
    if (m_foundOther.isEmpty() || !RemoveIfUnchanged(m_foundOther))
        return TryLock();
    m_foundOther.clear();
    return TryLock();
}

bool ProgramLock::RemoveIfUnchanged(const QByteArray& expected)
{
    // Two copies that find the same left-over lock must not both remove it
    // (the second would remove the lock the first has just made): the
    // removal happens under a short-lived guard file of its own.
    const QString guard = m_path + QStringLiteral(".takeover");
    LockOwner me;
    me.pid = QCoreApplication::applicationPid();
    me.host = HostName();
    if (!CreateExclusive(guard, me.Serialize())) {
        const int error = errno;
        const Found g = Look(guard);
        // A guard left by a copy that died during a take-over.
        if (error != EEXIST || g.kind != Found::Regular || g.ageMs < kUnreadableLockGraceMs || !Unlink(guard) ||
            !CreateExclusive(guard, me.Serialize()))
            return false;
    }
    const Found now = Look(m_path);
    const bool same = now.kind == Found::Regular && now.bytes == expected;
    if (same)
        Unlink(m_path);
    Unlink(guard);
    return same || now.kind == Found::Missing;
}

void ProgramLock::Release()
{
    if (!m_locked)
        return;
    m_locked = false;
    SetHeldHere(m_path, false);
    const Found now = Look(m_path);
    if (now.kind == Found::Regular && now.bytes == m_content)
        Unlink(m_path);
}

} // namespace records

// The one lock of a program folder, taken by Wayloom while it runs and by
// the updater while it installs, so that two programs never rewrite the same
// files from their own memory. The lock is a small file inside the program
// folder itself, so copies started with another temporary folder, or on
// another machine that shares the folder, see it too; only a folder that
// cannot be written keeps its lock in the temporary folder instead.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace records {

// Who holds a lock, as its file tells.
struct LockOwner {
    qint64 pid = 0;
    QString host;    // the machine's name
    QString program; // "Wayloom" or "Update"
    QString process; // the system's name of the holding process, to tell a reused process number

    // "pid=N", "host=...", "program=...", "process=..." lines ended by LF.
    QByteArray Serialize() const;
    // Nothing unless the text names a process number above 0 and a machine.
    static std::optional<LockOwner> Parse(const QByteArray& bytes);
};

enum class LockVerdict {
    Held,               // a live holder on this machine (or a lock still being written)
    HeldOnOtherMachine, // only the player can tell whether that holder still runs
    Stale,              // its holder is gone: the lock may be taken over
};

// What is known about a lock file found in place.
struct LockFacts {
    std::optional<LockOwner> owner; // nothing when the file could not be read as a lock
    qint64 ageMs = 0;               // since the file was last written
    bool heldInThisProcess = false; // this process holds the lock of that path
    // The system's name of the process that has the owner's number on this
    // machine: nothing when no such process runs, empty when it runs but its
    // name cannot be learnt.
    std::optional<QString> runningProcess;
};

// A lock that could not be read is taken for one being written during its
// first seconds, and for a left-over after them.
inline constexpr qint64 kUnreadableLockGraceMs = 10000;

// The decision about a lock found in place, for this machine and process.
LockVerdict JudgeLock(const LockFacts& facts, const QString& ourHost, qint64 ourPid);

class ProgramLock {
public:
    enum class State {
        Acquired,
        Held,               // Holder() tells by whom (empty for a lock being written)
        HeldOnOtherMachine, // Holder() tells the machine; TakeOver() once the player agrees
        Failed,             // Error() tells why (a link or folder in the lock's place, no room...)
    };

    // `program`: the name written into the lock. `folderWritable` tells
    // whether the lock can live in the folder; by default, whether the
    // system allows writing there.
    ProgramLock(const QString& appFolder, const QString& program,
                const std::function<bool(const QString& folder)>& folderWritable = {});
    ~ProgramLock();
    ProgramLock(const ProgramLock&) = delete;
    ProgramLock& operator=(const ProgramLock&) = delete;

    // Takes the lock when it is free or left by a process that is gone.
    State TryLock();
    // Takes over the lock of another machine found by the last TryLock, when
    // it is still the same lock (another copy that took it meanwhile wins).
    State TakeOver();
    // Gives the lock back; a lock file that is no longer ours stays.
    void Release();

    bool Locked() const { return m_locked; }
    const LockOwner& Holder() const { return m_holder; }
    const QString& Path() const { return m_path; }
    const QString& Error() const { return m_error; }

    // Where the lock of a program folder lives: "Wayloom.lock" in the folder,
    // or, for a folder that cannot be written, a file in the temporary
    // folder named after the folder's real path.
    static QString PathFor(const QString& appFolder, bool folderWritable);
    static bool FolderWritable(const QString& folder);
    // This machine's name and this process's system name, as locks record them.
    static QString HostName();
    static QString ProcessName(qint64 pid);

private:
    State Create();
    bool RemoveIfUnchanged(const QByteArray& expected);

    QString m_path;
    QString m_program;
    QByteArray m_content;    // what our lock file holds
    QByteArray m_foundOther; // the other machine's lock found by TryLock
    LockOwner m_holder;
    QString m_error;
    bool m_locked = false;
};

} // namespace records

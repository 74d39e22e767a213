// The safety copies of the personal files: "Personal/Backup/<date>/", made
// whole or not at all, and the clean-up that keeps the newest of them.
#include "elite/modCharacters.h"

#include "records/RecordFile.h"
#include "records/SafeRemove.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <mutex>
#include <tuple>
#include <utility>
#include <vector>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace modCharacters {

namespace {

const QString kBackupFolder = QStringLiteral("Backup");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd_HHmmss");
// A copy's name: its date, and a number when two copies share a second.
const QRegularExpression kCopyName(QStringLiteral(R"(^(\d{4}-\d\d-\d\d_\d{6})(?:_(\d{1,4}))?$)"));
// A copy still being made, or being removed: never a copy to restore from.
const QString kCopyingPrefix = QStringLiteral(".copying-");
const QString kRemovingPrefix = QStringLiteral(".removing-");

std::mutex g_backupMutex;
QSet<QString> g_backedUp; // program folders copied in this run
QString g_backupProblem;
bool g_backupNoticeTaken = false;

bool Fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return false;
}

// The folder's entries (renames, new files) reach the disk.
bool SyncFolder(const QString& folder)
{
#if defined(Q_OS_UNIX)
    const int handle = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return false;
    const bool ok = ::fsync(handle) == 0;
    ::close(handle);
    return ok;
#else
    Q_UNUSED(folder);
    return true;
#endif
}

bool Exists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// What an interrupted run left of its own work: the copies it was making or
// removing. Only real folders of those names go; a link of such a name stays.
void RemoveLeftovers(const QDir& backups)
{
    const QStringList names = backups.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        QString rest = name;
        if (!rest.startsWith(kCopyingPrefix) && !rest.startsWith(kRemovingPrefix))
            continue;
        rest.remove(0, rest.indexOf(u'-') + 1);
        const QString path = backups.filePath(name);
        if (kCopyName.match(rest).hasMatch() && records::IsRealFolder(path))
            records::RemoveTree(path);
    }
}

struct Copy {
    QDateTime date;
    int number = 1;
    QString name;
};

// The complete copies of Backup/ other than `keep`, oldest first by the date
// in their names. Only real folders named as the copies count: links,
// files and every other name are the player's and stay.
std::vector<Copy> OlderCopies(const QDir& backups, const QString& keep)
{
    std::vector<Copy> copies;
    for (const QString& name : backups.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const auto match = kCopyName.match(name);
        if (!match.hasMatch() || name == keep || !records::IsRealFolder(backups.filePath(name)))
            continue;
        const QDateTime date = QDateTime::fromString(match.captured(1), kDateFormat);
        if (!date.isValid())
            continue;
        copies.push_back({date, match.hasCaptured(2) ? match.captured(2).toInt() : 1, name});
    }
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
        return std::tie(a.date, a.number, a.name) < std::tie(b.date, b.number, b.name);
    });
    return copies;
}

// Keeps the newest kKeptBackups copies, the one just made among them. A copy
// is renamed out of the copies' names before it is emptied, so that one whose
// removal stops half-way never passes for a complete copy.
void PruneCopies(QDir& backups, const QString& justMade)
{
    std::vector<Copy> older = OlderCopies(backups, justMade);
    std::size_t count = older.size() + 1;
    for (const Copy& copy : older) {
        if (count <= static_cast<std::size_t>(kKeptBackups))
            break;
        const QString removing = kRemovingPrefix + copy.name;
        if (Exists(backups.filePath(removing)) || !backups.rename(copy.name, removing))
            continue;
        --count;
        records::RemoveTree(backups.filePath(removing));
    }
}

} // namespace

bool BackupPersonalFolder(const QString& appFolder, const QDateTime& now, QString* error)
{
    const QDir personal(appFolder + QStringLiteral("Personal"));
    // Links to regular files are copied as the files they lead to.
    const QStringList files = personal.entryList(QDir::Files, QDir::Name);
    if (files.isEmpty())
        return true; // nothing to keep yet
    // Backup may be a link to a folder elsewhere: the copies are made there.
    if (!personal.mkpath(kBackupFolder))
        return Fail(error, QStringLiteral("cannot create the folder %1").arg(personal.filePath(kBackupFolder)));
    QDir backups(personal.filePath(kBackupFolder));
    RemoveLeftovers(backups);

    const QString name = now.toString(kDateFormat);
    QString target = name;
    for (int n = 2; Exists(backups.filePath(target)) || Exists(backups.filePath(kCopyingPrefix + target)); ++n)
        target = name + u'_' + QString::number(n);
    const QString copying = kCopyingPrefix + target;
    if (!backups.mkdir(copying))
        return Fail(error, QStringLiteral("cannot create the folder %1").arg(backups.filePath(copying)));

    QStringList failed;
    QString firstReason;
    for (const QString& file : files) {
        // Regular files only: a FIFO, a device or a link to one counts as
        // missing, and must not block the copy.
        if (!records::IsRegularFile(personal.filePath(file)))
            continue;
        QByteArray bytes;
        QString why;
        if (!records::ReadRegularFile(personal.filePath(file), records::kMaxRecordFileSize, bytes))
            why = QStringLiteral("%1 cannot be read").arg(personal.filePath(file));
        else
            records::WriteFileAtomically(backups.filePath(copying + u'/' + file), bytes, &why);
        if (!why.isEmpty()) {
            failed << file;
            if (firstReason.isEmpty())
                firstReason = why;
        }
    }
    if (failed.isEmpty() && !SyncFolder(backups.filePath(copying)))
        firstReason = QStringLiteral("%1 could not be synced to the disk").arg(backups.filePath(copying));
    // Complete or absent: the copy takes its dated name only once whole.
    if (!failed.isEmpty() || !firstReason.isEmpty() || !backups.rename(copying, target)) {
        records::RemoveTree(backups.filePath(copying));
        if (firstReason.isEmpty())
            firstReason = QStringLiteral("%1 could not be renamed").arg(backups.filePath(copying));
        const QString lacking = failed.isEmpty() ? QString() : QStringLiteral(", lacking %1").arg(failed.join(u", "));
        return Fail(error, QStringLiteral("the safety copy %1 was not made%2: %3")
                               .arg(backups.filePath(target), lacking, firstReason));
    }
    SyncFolder(backups.path());
    // Only now that one more complete copy exists may an old one go.
    PruneCopies(backups, target);
    return true;
}

QString BackupProblem()
{
    const std::lock_guard lock(g_backupMutex);
    return g_backupProblem;
}

QString TakeBackupNotice()
{
    const std::lock_guard lock(g_backupMutex);
    if (g_backupProblem.isEmpty() || g_backupNoticeTaken)
        return {};
    g_backupNoticeTaken = true;
    return QStringLiteral("The safety copy of your personal files could not be made (%1). The earlier copies are "
                          "kept. Please check the free space on the disk and the Personal folder.")
        .arg(g_backupProblem);
}

bool EnsurePersonalFolder(const QString& appFolder, QString* error)
{
    if (!QDir(appFolder).mkpath(QStringLiteral("Personal"))) {
        if (error)
            *error = QStringLiteral("cannot create the folder %1Personal").arg(appFolder);
        return false;
    }
    // Before the first personal file of this run is rewritten, the folder as
    // it was is copied; a copy that fails is reported and the save goes on.
    const std::lock_guard lock(g_backupMutex);
    if (!g_backedUp.contains(appFolder)) {
        g_backedUp.insert(appFolder);
        QString why;
        if (!BackupPersonalFolder(appFolder, QDateTime::currentDateTime(), &why)) {
            g_backupProblem = why;
            qWarning("Wayloom: %s", qUtf8Printable(why));
        }
    }
    return true;
}

} // namespace modCharacters

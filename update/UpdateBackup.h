// The safety copy of an install: before the packages of a run are unpacked,
// every file they would replace is copied into a dated folder
// Backup/update-YYYY-MM-DD_HHMMSS/ of the program folder, and the files they
// would add are listed there, with the last-update date as it was, so that
// the run can be undone. The newest three such folders are kept.
//
// A folder holds "Update.txt" (one line a file, tab separated):
//   LastUpdate <tab> kept | none     Personal/LastUpdate.txt before the run
//   Replaced <tab> relative path     its old content is in files/<path>
//   Added <tab> relative path        the file did not exist before the run
#pragma once

#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <optional>

namespace modUpdateBackup {

inline const QString kManifestFile = QStringLiteral("Update.txt");
inline const QString kFilesFolder = QStringLiteral("files");
inline const QString kLastUpdateCopy = QStringLiteral("LastUpdate.txt");
inline constexpr int kKeptBackups = 3;

// "update-YYYY-MM-DD_HHMMSS" for a time.
QString BackupName(const QDateTime& when);
// True for a name of that pattern.
bool IsBackupName(const QString& name);

// The names of the real folders (not links) of that pattern in Backup/,
// oldest first.
QStringList BackupFolders(const QString& appFolder);

// Removes the oldest backup folders until `keep` remain, never `current`
// and never anything but a real folder of the pattern (its content removed
// without following any link).
void Prune(const QString& appFolder, const QString& current, int keep = kKeptBackups);

// The member names of a package file, the first spelling of each name (as
// unpacking writes them), read from the entries' headers only. Null with the
// reason when the package is malformed.
std::optional<QStringList> PackageMemberNames(const QString& packagePath, QString* why);

// One run's safety copy.
class UpdateBackup {
public:
    // Makes the dated folder (Backup/ must be a real folder of the program
    // folder, or absent) and keeps Personal/LastUpdate.txt as it is.
    bool Begin(const QString& appFolder, const QDateTime& when, QString* why);
    // Keeps the files that unpacking `members` into the folder `relative`
    // would replace and lists those it would add; files already seen in this
    // run are left as first kept. The list is written before this returns,
    // so that what follows can be undone even when the run stops halfway.
    bool Keep(const QString& relative, const QStringList& members, QString* why);

    // Removes the dated folder when nothing was kept or listed in it.
    void DropIfEmpty();

    const QString& Name() const { return m_name; }
    int Replaced() const { return m_replaced; }
    int Added() const { return m_added; }

private:
    QString m_app;
    QString m_name;
    QString m_folder;
    QStringList m_lines;
    QSet<QString> m_seen;
    std::atomic<int> m_replaced{0};
    std::atomic<int> m_added{0};
};

} // namespace modUpdateBackup

#include "update/UpdateBackup.h"

#include "records/RecordFile.h"
#include "update/UpdateGuard.h"
#include "update/modSafeFiles.h"
#include "update/modUpdate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace modUpdateBackup {

namespace {

bool SetWhy(QString* why, const QString& text)
{
    if (why)
        *why = text;
    return false;
}

// The folder `relative` below the program folder as a path from the
// program folder's real path, every existing part resolved (so that a link
// inside the program folder is recorded as the folder it leads to). Null
// when it leads outside.
std::optional<QString> RealRelative(const QString& appFolder, const QString& relative)
{
    const std::optional<QStringList> parts = modUpdateGuard::NormalizedParts(relative);
    const QString root = modSafeFiles::RealPath(appFolder);
    if (!parts || root.isEmpty())
        return std::nullopt;
    qsizetype existing = parts->size();
    while (existing > 0 && !modSafeFiles::EntryExists(appFolder + parts->first(existing).join(u'/')))
        --existing;
    if (existing == 0)
        return parts->join(u'/');
    const QString real = modSafeFiles::RealPath(appFolder + parts->first(existing).join(u'/'));
    if (real == root)
        return parts->sliced(existing).join(u'/');
    if (!modSafeFiles::IsInside(real, root))
        return std::nullopt;
    QStringList result{QDir(root).relativeFilePath(real)};
    result += parts->sliced(existing);
    return result.join(u'/');
}

// Copies the file or link `from` to the new path `to` (links are copied as
// links); refuses anything else.
bool CopyEntry(const QString& from, const QString& to, QString* why)
{
    if (!modUpdate::MakePath(QFileInfo(to).path()))
        return SetWhy(why, QStringLiteral("cannot create the folder of %1").arg(to));
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(modSafeFiles::ToFs(from), ec);
    if (fs::is_symlink(status)) {
        fs::copy_symlink(modSafeFiles::ToFs(from), modSafeFiles::ToFs(to), ec);
        return !ec ||
               SetWhy(why, QStringLiteral("%1 cannot be kept: %2").arg(from, QString::fromStdString(ec.message())));
    }
    if (!fs::is_regular_file(status))
        return SetWhy(why, QStringLiteral("%1 is not a regular file and cannot be kept").arg(from));
    QFile file(from);
    if (!file.open(QIODevice::ReadOnly))
        return SetWhy(why, QStringLiteral("%1 cannot be read: %2").arg(from, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() != file.size())
        return SetWhy(why, QStringLiteral("%1 cannot be read: %2").arg(from, file.errorString()));
    return records::WriteFileAtomically(to, bytes, why);
}

} // namespace

QString BackupName(const QDateTime& when)
{
    return QStringLiteral("update-") + when.toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
}

bool IsBackupName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^update-\\d{4}-\\d{2}-\\d{2}_\\d{6}$"));
    return pattern.match(name).hasMatch();
}

QStringList BackupFolders(const QString& appFolder)
{
    const QString backup = appFolder + modUpdateGuard::kBackupFolder;
    QStringList names;
    if (!modSafeFiles::IsRealFolder(backup))
        return names;
    for (const QString& name :
         QDir(backup).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        if (IsBackupName(name) && modSafeFiles::IsRealFolder(backup + u'/' + name))
            names.append(name);
    std::sort(names.begin(), names.end()); // the date pattern sorts by time
    return names;
}

void Prune(const QString& appFolder, const QString& current, int keep)
{
    QStringList names = BackupFolders(appFolder);
    names.removeAll(current);
    const qsizetype others = std::max(0, keep - (current.isEmpty() ? 0 : 1));
    for (qsizetype i = 0; i + others < names.size(); ++i)
        modSafeFiles::RemoveTree(appFolder + modUpdateGuard::kBackupFolder + u'/' + names[i]);
}

std::optional<QStringList> PackageMemberNames(const QString& packagePath, QString* why)
{
    QFile file(packagePath);
    if (!file.open(QIODevice::ReadOnly)) {
        SetWhy(why, QStringLiteral("%1 cannot be read: %2").arg(packagePath, file.errorString()));
        return std::nullopt;
    }
    const qint64 size = file.size();
    QStringList names;
    QSet<QString> seen;
    for (qint64 pos = 0; pos < size;) {
        const QByteArray head = file.read(6);
        if (head.size() != 6) {
            SetWhy(why, QStringLiteral("%1: an entry is cut off").arg(packagePath));
            return std::nullopt;
        }
        const auto byte = [&](int i) { return static_cast<quint32>(static_cast<unsigned char>(head[i])); };
        const qint64 stored = static_cast<qint32>(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
        const qint64 nameLength = static_cast<qint16>(byte(4) | byte(5) << 8);
        if (stored < 0 || nameLength <= 0 || pos + 6 + nameLength + stored > size) {
            SetWhy(why, QStringLiteral("%1: an entry's sizes run past the file").arg(packagePath));
            return std::nullopt;
        }
        const QString name = records::DecodeWindows1252(file.read(nameLength));
        if (!seen.contains(name.toLower())) {
            seen.insert(name.toLower());
            names.append(name);
        }
        pos += 6 + nameLength + stored;
        if (!file.seek(pos)) {
            SetWhy(why, QStringLiteral("%1: %2").arg(packagePath, file.errorString()));
            return std::nullopt;
        }
    }
    return names;
}

// ---- UpdateBackup ----------------------------------------------------------

bool UpdateBackup::Begin(const QString& appFolder, const QDateTime& when, QString* why)
{
    m_app = appFolder;
    const QString backup = appFolder + modUpdateGuard::kBackupFolder;
    if (modSafeFiles::IsLink(backup) || (modSafeFiles::EntryExists(backup) && !modSafeFiles::IsRealFolder(backup)))
        return SetWhy(why, QStringLiteral("%1 is not a plain folder; no safety copy can be made").arg(backup));
    // A name not used yet (two runs in one second take the next second's).
    QDateTime stamp = when;
    m_name = BackupName(stamp);
    while (modSafeFiles::EntryExists(backup + u'/' + m_name)) {
        stamp = stamp.addSecs(1);
        m_name = BackupName(stamp);
    }
    m_folder = backup + u'/' + m_name + u'/';
    if (!modUpdate::MakePath(m_folder) || !modSafeFiles::IsRealFolder(backup + u'/' + m_name))
        return SetWhy(why, QStringLiteral("cannot create %1").arg(m_folder));
    const QString lastUpdate = appFolder + modUpdate::kLastUpdateFile;
    bool kept = false;
    if (modSafeFiles::EntryExists(lastUpdate)) {
        if (!CopyEntry(lastUpdate, m_folder + kLastUpdateCopy, why))
            return false;
        kept = true;
    }
    m_lines = QStringList{QStringLiteral("LastUpdate\t") + (kept ? QStringLiteral("kept") : QStringLiteral("none"))};
    return records::WriteRecordFile(m_folder + kManifestFile, m_lines, why);
}

bool UpdateBackup::Keep(const QString& relative, const QStringList& members, QString* why)
{
    const std::optional<QString> folder = RealRelative(m_app, relative);
    if (!folder)
        return SetWhy(why, QStringLiteral("the destination \"%1\" leads outside the program folder").arg(relative));
    for (const QString& member : members) {
        const QString path = folder->isEmpty() ? member : *folder + u'/' + member;
        if (m_seen.contains(path))
            continue;
        m_seen.insert(path);
        const QString target = m_app + path;
        if (modSafeFiles::IsRealFolder(target))
            continue; // unpacking refuses to replace a folder
        if (modSafeFiles::EntryExists(target)) {
            if (!CopyEntry(target, m_folder + kFilesFolder + u'/' + path, why))
                return false;
            m_lines.append(QStringLiteral("Replaced\t") + path);
            ++m_replaced;
        } else {
            m_lines.append(QStringLiteral("Added\t") + path);
            ++m_added;
        }
    }
    return records::WriteRecordFile(m_folder + kManifestFile, m_lines, why);
}

void UpdateBackup::DropIfEmpty()
{
    if (!m_folder.isEmpty() && m_replaced == 0 && m_added == 0)
        modSafeFiles::RemoveTree(m_folder.chopped(1));
}

} // namespace modUpdateBackup

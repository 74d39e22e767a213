#include "update/modUndo.h"

#include "records/RecordFile.h"
#include "update/UpdateBackup.h"
#include "update/UpdateGuard.h"
#include "update/modSafeFiles.h"
#include "update/modUpdate.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace modUndo {

namespace {

int g_stopAfterSteps = -1;

struct Step {
    enum Kind { PutBack, Remove } kind;
    QString path; // relative to the program folder
};

// True when every part of the folder `relative` that exists is a real
// folder, not a link: nothing is put back or removed through a link.
bool NoLinkOnTheWay(const QString& appFolder, const QString& relative)
{
    QString current = appFolder.chopped(1);
    for (const QString& part : relative.split(u'/', Qt::SkipEmptyParts)) {
        current += u'/' + part;
        if (!modSafeFiles::EntryExists(current))
            return true;
        if (!modSafeFiles::IsRealFolder(current))
            return false;
    }
    return true;
}

// A path the safety copy's list may name: plain parts below the program
// folder, none of them personal.
bool IsUndoablePath(const QString& relative)
{
    const std::optional<QStringList> parts = modUpdateGuard::NormalizedParts(relative);
    if (!parts || parts->isEmpty() || parts->join(u'/') != relative || modUpdateGuard::IsPersonalPath(relative))
        return false;
    for (const QString& part : *parts)
        if (!modUpdate::IsPlainFileName(part))
            return false;
    return true;
}

// Moves the kept copy `from` to `to` in one rename (a link at `to` is
// replaced, never followed); across file systems, writes it atomically.
bool PutBack(const QString& from, const QString& to, QString* why)
{
    if (modSafeFiles::IsRealFolder(to)) {
        *why = QStringLiteral("%1 is a folder now and cannot be put back").arg(to);
        return false;
    }
    if (!modUpdate::MakePath(QFileInfo(to).path())) {
        *why = QStringLiteral("cannot create the folder of %1").arg(to);
        return false;
    }
    std::error_code ec;
    fs::rename(modSafeFiles::ToFs(from), modSafeFiles::ToFs(to), ec);
    if (!ec)
        return true;
    QFile file(from);
    if (!modSafeFiles::IsLink(from) && file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        file.close();
        if (bytes.size() == QFileInfo(from).size() && records::WriteFileAtomically(to, bytes, why))
            return modSafeFiles::RemoveEntry(from);
        return false;
    }
    *why = QStringLiteral("%1 cannot be put back: %2").arg(to, QString::fromStdString(ec.message()));
    return false;
}

UndoOutcome Failure(const QString& name, const QString& why)
{
    UndoOutcome out;
    out.kind = UndoOutcome::Failed;
    out.backup = name;
    out.why = why;
    return out;
}

} // namespace

void SetStopAfterStepsForTests(int steps)
{
    g_stopAfterSteps = steps;
}

QString LatestBackup(const QString& appFolder)
{
    const QStringList names = modUpdateBackup::BackupFolders(appFolder);
    return names.isEmpty() ? QString() : names.back();
}

bool PendingUndo(const QString& appFolder)
{
    return modSafeFiles::EntryExists(appFolder + kJournalFile);
}

UndoOutcome UndoLastUpdate(const QString& appFolder)
{
    const QString backupRoot = appFolder + modUpdateGuard::kBackupFolder + u'/';
    const QString journal = appFolder + kJournalFile;
    if (!modSafeFiles::IsRealFolder(backupRoot.chopped(1)) && modSafeFiles::EntryExists(backupRoot.chopped(1)))
        return Failure(QString(), QStringLiteral("%1 is not a plain folder").arg(backupRoot));

    // The journal names the safety copy in use; it is written before
    // anything is touched.
    QString name;
    QString why;
    if (PendingUndo(appFolder)) {
        records::RecordText text;
        if (records::ReadRecordFile(journal, text) && !text.lines.empty())
            name = text.lines.front().trimmed().toString();
        if (!modUpdateBackup::IsBackupName(name)) {
            modSafeFiles::RemoveEntry(journal);
            return Failure(name, QStringLiteral("%1 names no safety copy").arg(journal));
        }
    } else {
        name = LatestBackup(appFolder);
        if (name.isEmpty()) {
            UndoOutcome out;
            out.lastUpdate = modUpdate::ReadLastUpdate(appFolder);
            return out;
        }
        if (!records::WriteRecordFile(journal, {name}, &why))
            return Failure(name, why);
    }
    const QString folder = backupRoot + name + u'/';
    const QString usedUp = backupRoot + QStringLiteral("undone-") + name;

    if (modSafeFiles::IsRealFolder(folder.chopped(1))) {
        records::RecordText manifest;
        if (!records::ReadRecordFile(folder + modUpdateBackup::kManifestFile, manifest)) {
            modSafeFiles::RemoveEntry(journal);
            return Failure(name, QStringLiteral("%1 holds no list of its files").arg(folder));
        }
        // Every line is checked before the first file is touched.
        std::vector<Step> steps;
        bool lastUpdateKept = false;
        for (QStringView line : manifest.lines) {
            const QList<QStringView> fields = line.split(u'\t');
            if (fields.size() == 2 && fields[0] == u"LastUpdate") {
                lastUpdateKept = fields[1] == u"kept";
                continue;
            }
            const QString path = fields.size() == 2 ? fields[1].toString() : QString();
            if (fields.size() != 2 || (fields[0] != u"Replaced" && fields[0] != u"Added") || !IsUndoablePath(path)) {
                modSafeFiles::RemoveEntry(journal);
                return Failure(name, QStringLiteral("the safety copy's list holds the line \"%1\"").arg(line));
            }
            steps.push_back({fields[0] == u"Replaced" ? Step::PutBack : Step::Remove, path});
        }

        UndoOutcome out;
        out.backup = name;
        int done = 0;
        const auto stopHere = [&] { return g_stopAfterSteps >= 0 && done >= g_stopAfterSteps; };
        for (const Step& step : steps) {
            if (stopHere()) {
                out.kind = UndoOutcome::Interrupted;
                return out;
            }
            ++done;
            const QString target = appFolder + step.path;
            if (!NoLinkOnTheWay(appFolder, QFileInfo(step.path).path()))
                return Failure(name, QStringLiteral("a link lies on the way to %1").arg(target));
            if (step.kind == Step::PutBack) {
                const QString kept = folder + modUpdateBackup::kFilesFolder + u'/' + step.path;
                if (!modSafeFiles::EntryExists(kept))
                    continue; // put back before an interruption
                if (!PutBack(kept, target, &why))
                    return Failure(name, why);
                ++out.putBack;
            } else if (modSafeFiles::EntryExists(target) && !modSafeFiles::IsRealFolder(target)) {
                if (!modSafeFiles::RemoveEntry(target))
                    return Failure(name, QStringLiteral("%1 cannot be removed").arg(target));
                ++out.removed;
            }
        }
        if (stopHere()) {
            out.kind = UndoOutcome::Interrupted;
            return out;
        }
        // The date last: as it was before the update (no file when there was
        // none), so the same packages are offered again.
        const QString lastUpdate = appFolder + modUpdate::kLastUpdateFile;
        const QString keptDate = folder + modUpdateBackup::kLastUpdateCopy;
        if (lastUpdateKept && modSafeFiles::EntryExists(keptDate)) {
            if (!PutBack(keptDate, lastUpdate, &why))
                return Failure(name, why);
        } else if (!lastUpdateKept && !modSafeFiles::IsRealFolder(lastUpdate)) {
            modSafeFiles::RemoveEntry(lastUpdate);
        }
        // The used-up copy leaves the list of copies before the journal goes.
        std::error_code ec;
        fs::rename(modSafeFiles::ToFs(folder.chopped(1)), modSafeFiles::ToFs(usedUp), ec);
        if (ec)
            return Failure(
                name, QStringLiteral("%1 cannot be retired: %2").arg(folder, QString::fromStdString(ec.message())));
        modSafeFiles::RemoveEntry(journal);
        modSafeFiles::RemoveTree(usedUp);
        out.kind = UndoOutcome::Done;
        out.lastUpdate = modUpdate::ReadLastUpdate(appFolder);
        return out;
    }
    // Used up already: only the journal and the retired copy were left.
    modSafeFiles::RemoveEntry(journal);
    if (modSafeFiles::IsRealFolder(usedUp))
        modSafeFiles::RemoveTree(usedUp);
    UndoOutcome out;
    out.kind = UndoOutcome::Done;
    out.backup = name;
    out.lastUpdate = modUpdate::ReadLastUpdate(appFolder);
    return out;
}

} // namespace modUndo

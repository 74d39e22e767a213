#include "update/modPublish.h"

#include "records/RecordFile.h"
#include "update/clsKRBfile.h"
#include "update/modUpdate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <vector>

namespace modPublish {

namespace {

struct PackageLine {
    int line = 0;
    QString name;
    QString date;
    QString destination;
    QStringList sources; // absolute file paths, in packing order
};

bool ReadWhole(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

} // namespace

bool Publish(const QString& manifestPath, const QString& outDir, QString* error, QStringList* log)
{
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    records::RecordText manifest;
    if (!records::ReadRecordFile(manifestPath, manifest))
        return fail(QStringLiteral("%1: cannot read the manifest").arg(manifestPath));
    const QDir base = QFileInfo(manifestPath).absoluteDir();

    // Read and check every line before anything is written.
    std::vector<PackageLine> packages;
    QSet<QString> names;
    int lineNumber = 0;
    for (QStringView text : manifest.lines) {
        ++lineNumber;
        if (text.trimmed().isEmpty() || text.startsWith(u';'))
            continue;
        const auto bad = [&](const QString& reason) {
            return fail(QStringLiteral("%1:%2: %3").arg(manifestPath).arg(lineNumber).arg(reason));
        };
        const QList<QStringView> fields = records::SplitFields(text);
        if (fields.size() < 4)
            return bad(QStringLiteral("expected name, date, destination and sources separated by tabs"));
        PackageLine p;
        p.line = lineNumber;
        p.name = fields[0].trimmed().toString();
        p.date = fields[1].trimmed().toString();
        p.destination = fields[2].trimmed().toString();
        if (!modUpdate::IsPlainFileName(p.name) || p.name.contains(u';') ||
            p.name.compare(modUpdate::kFileListPackage, Qt::CaseInsensitive) == 0)
            return bad(QStringLiteral("\"%1\" is not a usable package name").arg(p.name));
        if (names.contains(p.name.toLower()))
            return bad(QStringLiteral("package \"%1\" is listed twice").arg(p.name));
        names.insert(p.name.toLower());
        if (p.date.size() != 10 || !modUpdate::ParseDate(p.date))
            return bad(QStringLiteral("\"%1\" is not a date dd-mm-yyyy").arg(p.date));
        if (!modUpdate::IsSafeDestination(p.destination) || p.destination.contains(u';'))
            return bad(
                QStringLiteral("destination \"%1\" is not a folder below the program folder").arg(p.destination));
        for (qsizetype i = 3; i < fields.size(); ++i) {
            const QString source = fields[i].trimmed().toString();
            if (source.isEmpty())
                continue;
            const QFileInfo info(base.absoluteFilePath(source));
            if (info.isDir()) {
                const QFileInfoList files = QDir(info.absoluteFilePath()).entryInfoList(QDir::Files, QDir::Name);
                for (const QFileInfo& f : files)
                    p.sources.append(f.absoluteFilePath());
            } else if (info.isFile()) {
                p.sources.append(info.absoluteFilePath());
            } else {
                return bad(QStringLiteral("source \"%1\" does not exist").arg(source));
            }
        }
        if (p.sources.isEmpty())
            return bad(QStringLiteral("package \"%1\" has no files to pack").arg(p.name));
        packages.push_back(std::move(p));
    }
    if (packages.empty())
        return fail(QStringLiteral("%1: no packages listed").arg(manifestPath));

    if (!QDir().mkpath(outDir))
        return fail(QStringLiteral("%1: cannot create the folder").arg(outDir));
    const QDir out(outDir);

    QStringList listLines;
    for (const PackageLine& p : packages) {
        clsKRBfile package;
        for (const QString& source : p.sources) {
            QByteArray bytes;
            const QString member = QFileInfo(source).fileName();
            if (!ReadWhole(source, bytes))
                return fail(QStringLiteral("%1: cannot read").arg(source));
            if (!package.AddFileFromString(member, bytes))
                return fail(QStringLiteral("%1 (line %2): cannot add \"%3\": %4")
                                .arg(p.name)
                                .arg(p.line)
                                .arg(member, package.LastError()));
        }
        const QString path = out.filePath(p.name);
        if (!package.SaveKRBfileOnDisk(path))
            return fail(QStringLiteral("%1: %2").arg(path, package.LastError()));
        const qint64 size = QFileInfo(path).size();
        const QByteArray digest = modUpdate::FileSha256(path);
        listLines.append(
            QStringList{p.name, QString::number(size), p.date, p.destination, QString::fromLatin1(digest.toHex())}.join(
                u';'));
        if (log)
            log->append(QStringLiteral("%1: %2 files, %3 bytes, %4 -> %5")
                            .arg(p.name)
                            .arg(p.sources.size())
                            .arg(size)
                            .arg(p.date, p.destination.isEmpty() ? QStringLiteral("(program folder)") : p.destination));
    }

    QByteArray fileList;
    for (const QString& line : listLines)
        fileList += records::EncodeWindows1252(line) + "\r\n";
    clsKRBfile list;
    list.AddFileFromString(modUpdate::kFileListName, fileList);
    const QString listPath = out.filePath(modUpdate::kFileListPackage);
    if (!list.SaveKRBfileOnDisk(listPath))
        return fail(QStringLiteral("%1: %2").arg(listPath, list.LastError()));
    if (log)
        log->append(QStringLiteral("%1: %2 packages").arg(modUpdate::kFileListPackage).arg(listLines.size()));
    return true;
}

} // namespace modPublish

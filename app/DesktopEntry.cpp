#include "app/DesktopEntry.h"

#include "records/RecordFile.h"
#include "records/SafeRemove.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace DesktopEntry {

namespace {

// Icon sizes of the hicolor theme, as resources and as installed files.
constexpr int kIconSizes[] = {48, 128, 256};

QString EntryPath(const QString& dataHome)
{
    return dataHome + QStringLiteral("/applications/") + QLatin1String(kId) + QStringLiteral(".desktop");
}

// Escapes of a string value: a backslash is written twice.
QString StringValue(const QString& text)
{
    return QString(text).replace(u'\\', QStringLiteral("\\\\"));
}

bool HasControlCharacter(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    return false;
}

} // namespace

QString ExecValue(const QString& program)
{
    if (program.isEmpty() || HasControlCharacter(program))
        return {};
    // One argument in double quotes: inside them ", `, $ and \ take a
    // backslash, and % is doubled (it starts field codes everywhere).
    QString quoted = QStringLiteral("\"");
    for (QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        else if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    quoted += u'"';
    // The whole value is a string value as well.
    return StringValue(quoted);
}

QByteArray EntryFor(const QByteArray& entryTemplate, const QString& program)
{
    const QString exec = ExecValue(program);
    if (exec.isEmpty())
        return {};
    QByteArrayList lines;
    for (const QByteArray& line : entryTemplate.split('\n')) {
        if (line.startsWith("TryExec="))
            continue;
        if (line.startsWith("Exec=")) {
            lines << "Exec=" + exec.toUtf8() << "TryExec=" + StringValue(program).toUtf8();
            continue;
        }
        lines << line;
    }
    return lines.join('\n');
}

QStringList InstalledFiles(const QString& dataHome)
{
    QStringList files{EntryPath(dataHome)};
    const QString icons = dataHome + QStringLiteral("/icons/hicolor/");
    for (int size : kIconSizes)
        files << icons + QStringLiteral("%1x%1/apps/").arg(size) + QLatin1String(kId) + QStringLiteral(".png");
    files << icons + QStringLiteral("scalable/apps/") + QLatin1String(kId) + QStringLiteral(".svg");
    return files;
}

bool Install(const QString& program, const QString& dataHome, QString* error)
{
    QStringList sources{QStringLiteral(":/wayloom/desktop/") + QLatin1String(kId) + QStringLiteral(".desktop")};
    for (int size : kIconSizes)
        sources << QStringLiteral(":/wayloom/icons/%1.png").arg(size);
    sources << QStringLiteral(":/wayloom/desktop/") + QLatin1String(kId) + QStringLiteral(".svg");
    const QStringList targets = InstalledFiles(dataHome);

    for (int i = 0; i < sources.size(); ++i) {
        QFile source(sources[i]);
        if (!source.open(QIODevice::ReadOnly)) {
            *error = sources[i] + QStringLiteral(": missing from the program");
            return false;
        }
        QByteArray bytes = source.readAll();
        if (i == 0) {
            bytes = EntryFor(bytes, program);
            if (bytes.isEmpty()) {
                *error = program + QStringLiteral(": a desktop entry cannot name this path");
                return false;
            }
        }
        if (!QDir().mkpath(QFileInfo(targets[i]).path())) {
            *error = QFileInfo(targets[i]).path() + QStringLiteral(": cannot create the folder");
            return false;
        }
        QString why;
        if (!records::WriteFileAtomically(targets[i], bytes, &why)) {
            *error = targets[i] + QStringLiteral(": ") + why;
            return false;
        }
    }
    return true;
}

bool Remove(const QString& dataHome, QString* error)
{
    // A link in place of an installed file is removed itself, never the file
    // it leads to.
    for (const QString& path : InstalledFiles(dataHome))
        if (!records::RemoveEntry(path, error))
            return false;
    return true;
}

} // namespace DesktopEntry

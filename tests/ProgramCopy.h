// The demo world's program folder in a temporary folder, so that the window
// tests may write options and personal files: campaign folders are only
// read and linked, Data is copied without the settings a run of the program
// left, and Personal stays behind.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

class ProgramCopy {
public:
    ProgramCopy()
    {
        const QDir source(QStringLiteral(WAYLOOM_TEST_PROGRAM_DIR));
        for (const QString& entry : source.entryList({QStringLiteral("Campaign.*")}, QDir::Dirs))
            QFile::link(source.filePath(entry), path() + entry);
        QDir().mkpath(path() + QStringLiteral("Data"));
        for (const QString& file : QDir(source.filePath(QStringLiteral("Data"))).entryList(QDir::Files))
            if (file != QLatin1String("Options.txt"))
                QFile::copy(source.filePath(QStringLiteral("Data/") + file), path() + QStringLiteral("Data/") + file);
    }
    QString path() const { return m_dir.path() + QLatin1Char('/'); }
    QByteArray read(const QString& relative) const
    {
        QFile f(path() + relative);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Writes a file of the copy (its folder made as needed); false when it
    // could not be written whole.
    bool write(const QString& relative, const QByteArray& bytes) const
    {
        QFile f(path() + relative);
        return QDir().mkpath(QFileInfo(f).absolutePath()) && f.open(QIODevice::WriteOnly) &&
               f.write(bytes) == bytes.size();
    }

private:
    QTemporaryDir m_dir;
};

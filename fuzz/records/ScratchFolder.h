// What the fuzz targets share: a program folder of their own, in memory where
// the system has a memory file system (so that the many writes and syncs cost
// nothing), removed when the target ends; and the check of an invariant.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

class ScratchFolder {
public:
    ScratchFolder()
        : m_dir(std::make_unique<QTemporaryDir>(
              (QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath()) +
              QStringLiteral("/wayloom-fuzz-XXXXXX")))
    {
        if (!m_dir->isValid()) {
            std::fprintf(stderr, "cannot make a scratch folder\n");
            std::abort();
        }
    }

    // The folder, ending in "/".
    QString path() const { return m_dir->path() + u'/'; }

    // Replaces the file `relative` with `bytes`; an empty `bytes` removes it.
    void write(const QString& relative, const QByteArray& bytes) const
    {
        const QString full = path() + relative;
        if (bytes.isEmpty()) {
            QFile::remove(full);
            return;
        }
        QDir().mkpath(QFileInfo(full).path());
        QFile f(full);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(full));
            std::abort();
        }
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

// Stops the run (a finding) when an invariant does not hold.
inline void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

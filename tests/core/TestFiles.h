// A throw-away program folder for loader tests: files are written byte by
// byte, exactly as given.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class ProgramFolder {
public:
    ProgramFolder() { EXPECT_TRUE(m_dir.isValid()); }

    // The folder path ending in "/".
    QString path() const { return m_dir.path() + u'/'; }
    QString path(const QString& relative) const { return path() + relative; }

    void write(const QString& relative, const QByteArray& bytes) const
    {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).path());
        QFile f(full);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << full.toStdString();
        ASSERT_EQ(f.write(bytes), bytes.size());
    }

    QByteArray read(const QString& relative) const
    {
        QFile f(path(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    bool exists(const QString& relative) const { return QFileInfo::exists(path(relative)); }
    void mkdir(const QString& relative) const { QDir().mkpath(path(relative)); }

private:
    QTemporaryDir m_dir;
};

// gtest prints QStrings readably.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// Throw-away program folders for loader tests: files are written byte by
// byte, exactly as given.
#pragma once

#include "core/LoadContext.h"
#include "core/modCampaigns.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <ostream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

// A program folder read through a LoadContext that collects diagnostics.
class DataFolder : public ProgramFolder {
public:
    DataFolder()
    {
        ctx.appFolder = path();
        ctx.diagnostics = &diagnostics;
    }

    // Campaign n named `name`, its folder created ("Campaign.0n.name/").
    void addCampaign(int n, const QString& name)
    {
        if (campaigns.size() <= static_cast<size_t>(n))
            campaigns.resize(static_cast<size_t>(n) + 1);
        campaigns[static_cast<size_t>(n)].Name = name;
        mkdir(folder(n));
    }

    QString folder(int n) const { return modCampaigns::CampaignFolder(n, campaigns); }

    // Line numbers of the diagnostics, in the order they were recorded.
    std::vector<int> warnedLines() const
    {
        std::vector<int> lines;
        for (const auto& d : diagnostics.items())
            lines.push_back(d.line);
        return lines;
    }

    records::Diagnostics diagnostics;
    LoadContext ctx;
    CampaignTable campaigns;
};

// Files written while one lives are cut at `bytes`: a write beyond fails
// with EFBIG (SIGXFSZ ignored), as on a full disk. The old limit comes back
// when the test ends, however it ends.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = m_old;
        lim.rlim_cur = bytes;
        m_ok = setrlimit(RLIMIT_FSIZE, &lim) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};

// Runs `body` in a child process of its own (a separate run of the program:
// nothing it sets stays in this one) and returns its exit code; -1 when it
// did not end normally.
template <typename Body>
int RunInChild(Body&& body)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// A process that runs until the object goes, to stand for a live holder of a
// lock.
struct Sleeper {
    Sleeper() { m_process.start(QStringLiteral("sleep"), {QStringLiteral("60")}), m_process.waitForStarted(); }
    ~Sleeper() { m_process.kill(), m_process.waitForFinished(); }
    qint64 pid() const { return m_process.processId(); }
    QProcess m_process;
};

// A program folder's lock file as another copy leaves it, byte by byte.
inline QByteArray LockText(qint64 pid, const QString& host, const char* program, const char* process)
{
    return "pid=" + QByteArray::number(pid) + "\nhost=" + host.toUtf8() + "\nprogram=" + program +
           "\nprocess=" + process + "\n";
}

// gtest prints QStrings readably.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

// Helpers of the updater tests: a real HTTP server on 127.0.0.1, server
// folders made by the publishing tool, files written byte by byte.
#pragma once

#include "tests/update/TestHelpers.h"
#ifdef WAYLOOM_KRBTOOL
#include "update/frmMain.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#endif

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>
#include <ostream>
#include <vector>

// Readable values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace testing_support {

using codectest::Entry;
using codectest::ReadAll;
using codectest::WriteAll;

// A static HTTP server (python3) over a folder; stopped when destroyed.
class HttpServer {
public:
    ~HttpServer() { Stop(); }

    // Serves `root`; `extraArgs` such as {"--delay", "0.05"}. False when the
    // server did not report its port within a few seconds.
    bool Start(const QString& root, const QStringList& extraArgs = {})
    {
        m_process.start(QStringLiteral("python3"),
                        QStringList{QStringLiteral(WAYLOOM_TEST_SERVER_SCRIPT), "--root", root, "--lifetime", "120"} +
                            extraArgs);
        if (!m_process.waitForStarted(10000))
            return false;
        QByteArray line;
        for (int i = 0; i < 100 && !line.contains('\n'); ++i) {
            m_process.waitForReadyRead(100);
            line += m_process.readAllStandardOutput();
        }
        m_port = line.trimmed().toInt();
        return m_port > 0;
    }
    void Stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    QString Base() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

private:
    QProcess m_process;
    int m_port = 0;
};

#ifdef WAYLOOM_KRBTOOL
// Runs the publishing tool on a manifest; false with its output in `output`.
inline bool RunPublish(const QString& manifestPath, const QString& outDir, QString* output)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(QStringLiteral(WAYLOOM_KRBTOOL), {QStringLiteral("publish"), manifestPath, outDir});
    const bool finished = tool.waitForFinished(30000);
    *output = QString::fromLocal8Bit(tool.readAll());
    return finished && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}
#endif

// The stored form of the codec: the identification and the bytes unchanged.
inline QByteArray StoredStream(const QByteArray& content)
{
    return QByteArray("HE0\r") + content;
}

// Writes `root`/files.krb holding a files.txt of the given lines (CR LF).
inline bool WriteFileList(const QString& root, const QStringList& lines)
{
    const QByteArray text = lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
    return WriteAll(root + QStringLiteral("/files.krb"), Entry("files.txt", StoredStream(text)));
}

// Every file below `folder`, as relative paths, sorted.
inline QStringList FilesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    files.sort();
    return files;
}

// Every file below the program folder `app` but the safety copies and the
// updater's log, with its bytes.
inline QMap<QString, QByteArray> Snapshot(const QString& app)
{
    QMap<QString, QByteArray> files;
    for (const QString& f : FilesBelow(app))
        if (!f.startsWith(QStringLiteral("Backup/")) && f != QStringLiteral("Update.log"))
            files.insert(f, ReadAll(app + f));
    return files;
}

#ifdef WAYLOOM_KRBTOOL
// A program folder (m_app) whose updater asks a test server on 127.0.0.1
// serving m_files; both below one temporary folder.
class ServedFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_app = m_root.path() + QStringLiteral("/program/");
        m_files = m_root.path() + QStringLiteral("/site/files/");
        ASSERT_TRUE(QDir().mkpath(m_app + QStringLiteral("Data")) && QDir().mkpath(m_files));
    }
    // (Re)starts the server with `extraArgs` such as {"--stall"}.
    void StartServer(const QStringList& extraArgs = {})
    {
        m_server.Stop();
        ASSERT_TRUE(m_server.Start(m_root.path() + QStringLiteral("/site"), extraArgs));
        ASSERT_TRUE(WriteServers());
    }
    bool WriteServers()
    {
        return WriteAll(m_app + QStringLiteral("Data/Servers.txt"),
                        QStringLiteral("Test server\t%1\tfiles\r\n").arg(m_server.Base()).toLatin1());
    }
    struct Package {
        QString name;
        QString destination;
        QByteArray members;
    };
    // Serves the packages and a list that names them, dated 01-05-2009.
    void Serve(const std::vector<Package>& packages)
    {
        QStringList lines;
        for (const Package& p : packages) {
            ASSERT_TRUE(WriteAll(m_files + p.name, p.members));
            lines << QStringLiteral("%1;%2;01-05-2009;%3").arg(p.name).arg(p.members.size()).arg(p.destination);
        }
        ASSERT_TRUE(WriteFileList(m_files, lines));
    }
    std::unique_ptr<frmMain> OpenWindow()
    {
        auto w = std::make_unique<frmMain>(m_app);
        w->show();
        return w;
    }
    // Next on the first page, and on the results when the list was read.
    static void RunToEnd(frmMain& w)
    {
        Click(w.cmdNext);
        if (w.Wizard().CurrentStep == modUpdate::StepResults)
            Click(w.cmdNext);
    }
    std::unique_ptr<frmMain> RunWizard()
    {
        auto w = OpenWindow();
        RunToEnd(*w);
        return w;
    }
    static void Click(QPushButton* button)
    {
        ASSERT_TRUE(button->isVisible() && button->isEnabled()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QTemporaryDir m_root;
    QString m_app;   // the program folder
    QString m_files; // the server's folder
    HttpServer m_server;
};
#endif

} // namespace testing_support

// Helpers of the updater tests: a real HTTP server on 127.0.0.1, server
// folders made by the publishing tool, files written byte by byte.
#pragma once

#include "tests/update_codec/TestHelpers.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <ostream>

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

} // namespace testing_support

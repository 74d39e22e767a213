#include "TestSupport.h"

#include "update/clsKRBfile.h"
#include "update/modPublish.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace testing_support {

HttpServer::~HttpServer() { Stop(); }

bool HttpServer::Start(const QString& root, const QStringList& extraArgs)
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    m_process.start(QStringLiteral("python3"),
                    QStringList{QStringLiteral(WAYLOOM_TEST_SERVER_SCRIPT), QStringLiteral("--root"), root,
                                QStringLiteral("--lifetime"), QStringLiteral("120")} +
                        extraArgs);
    if (!m_process.waitForStarted(10000))
        return false;
    QByteArray line;
    for (int i = 0; i < 100 && !line.contains('\n'); ++i) {
        m_process.waitForReadyRead(100);
        line += m_process.readAllStandardOutput();
    }
    bool ok = false;
    m_port = line.trimmed().toInt(&ok);
    return ok && m_port > 0;
}

void HttpServer::Stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool RunPublish(const QString& manifestPath, const QString& outDir, QString* output)
{
#ifdef WAYLOOM_KRBTOOL
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(QStringLiteral(WAYLOOM_KRBTOOL), {QStringLiteral("publish"), manifestPath, outDir});
    const bool finished = tool.waitForFinished(30000);
    if (output)
        *output = QString::fromLocal8Bit(tool.readAll());
    return finished && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
#else
    QString error;
    const bool ok = modPublish::Publish(manifestPath, outDir, &error);
    if (output)
        *output = error;
    return ok;
#endif
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray StoredStream(const QByteArray& content) { return QByteArray("HE0\r") + content; }

QByteArray PackageBytes(const QList<QPair<QByteArray, QByteArray>>& members)
{
    QByteArray out;
    for (const auto& [name, stream] : members) {
        const qint32 size = static_cast<qint32>(stream.size());
        for (int i = 0; i < 4; ++i)
            out.append(static_cast<char>((size >> (8 * i)) & 0xFF));
        const qint16 length = static_cast<qint16>(name.size());
        out.append(static_cast<char>(length & 0xFF));
        out.append(static_cast<char>((length >> 8) & 0xFF));
        out += name;
        out += stream;
    }
    return out;
}

bool WriteFileList(const QString& root, const QStringList& lines)
{
    QByteArray text;
    for (const QString& l : lines)
        text += l.toLatin1() + "\r\n";
    return WriteBytes(root + QStringLiteral("/files.krb"), PackageBytes({{"files.txt", StoredStream(text)}}));
}

QStringList FilesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    const QDir base(folder);
    while (it.hasNext())
        files.append(base.relativeFilePath(it.next()));
    files.sort();
    return files;
}

} // namespace testing_support

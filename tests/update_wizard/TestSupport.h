// Helpers of the updater tests: a real HTTP server on 127.0.0.1, server
// folders made by the publishing tool, files written byte by byte.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace testing_support {

// A static HTTP server (python3) over a folder; stopped when destroyed.
class HttpServer {
public:
    HttpServer() = default;
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Serves `root`; `extraArgs` such as {"--delay", "0.05"}. False when the
    // server did not report its port within a few seconds.
    bool Start(const QString& root, const QStringList& extraArgs = {});
    void Stop();
    int Port() const { return m_port; }
    QString Base() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

private:
    QProcess m_process;
    int m_port = 0;
};

// Runs the publishing tool on a manifest; false with its output in `output`.
bool RunPublish(const QString& manifestPath, const QString& outDir, QString* output);

bool WriteBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadBytes(const QString& path);

// A package file written by hand: entries of (member name, stored stream).
QByteArray PackageBytes(const QList<QPair<QByteArray, QByteArray>>& members);
// The stored form of the codec: the identification and the bytes unchanged.
QByteArray StoredStream(const QByteArray& content);

// Writes `root`/files.krb holding a files.txt of the given lines (CR LF).
bool WriteFileList(const QString& root, const QStringList& lines);

// Every file below `folder`, as relative paths, sorted.
QStringList FilesBelow(const QString& folder);

} // namespace testing_support

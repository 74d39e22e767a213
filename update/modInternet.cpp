#include "update/modInternet.h"

#include "records/RecordFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>
#include <optional>

namespace modInternet {

namespace {

// While waiting for data the window stays responsive and the abort flag is
// looked at this often.
constexpr int kWaitSliceMs = 50;

QString Trimmed(QStringView s, QChar c)
{
    while (!s.isEmpty() && s.front() == c)
        s = s.sliced(1);
    while (!s.isEmpty() && s.back() == c)
        s.chop(1);
    return s.toString();
}

// "http://" or "https://" at the start of a base address; nullopt for any
// other scheme; "" for none.
std::optional<QString> SchemeOf(const QString& base)
{
    const qsizetype colon = base.indexOf(QStringLiteral("://"));
    if (colon < 0)
        return QString();
    const QString scheme = base.left(colon).toLower();
    if (scheme == u"http" || scheme == u"https")
        return scheme;
    return std::nullopt;
}

// Redirects stay on the server's host and never fall back from https.
bool RedirectAllowed(const QUrl& from, const QUrl& to)
{
    if (to.host().compare(from.host(), Qt::CaseInsensitive) != 0)
        return false;
    const QString scheme = to.scheme().toLower();
    if (scheme != u"http" && scheme != u"https")
        return false;
    return !(from.scheme().compare(u"https", Qt::CaseInsensitive) == 0 && scheme == u"http");
}

bool IsHttpSuccess(const QNetworkReply& reply)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        return false;
    const int code = status.toInt();
    return code >= 200 && code < 300;
}

} // namespace

std::vector<ServerEntry> BuiltInServers()
{
    return {
        {QStringLiteral("Wayloom official site"), QStringLiteral("www.wayloom.org"), QStringLiteral("files")},
        {QStringLiteral("Mirror: Shardrealm cartographers"), QStringLiteral("www.shardrealm-maps.net"),
         QStringLiteral("Wayloom")},
        {QStringLiteral("Mirror: Shardrealm fan archive"), QStringLiteral("archive.shardrealm-fans.org"),
         QStringLiteral("Wayloom")},
    };
}

std::vector<ServerEntry> LoadServers(const QString& appFolder, QStringList* diagnostics)
{
    records::RecordText file;
    if (!records::ReadRecordFile(appFolder + QStringLiteral("Data/Servers.txt"), file))
        return BuiltInServers();
    std::vector<ServerEntry> servers;
    int lineNumber = 0;
    for (QStringView line : file.lines) {
        ++lineNumber;
        if (line.trimmed().isEmpty() || line.startsWith(u';'))
            continue;
        const QList<QStringView> fields = records::SplitFields(line);
        const QString base = fields.size() >= 2 ? Trimmed(fields[1].trimmed(), u'/') : QString();
        if (fields.size() < 3 || base.isEmpty() || base.contains(u' ') || !SchemeOf(base)) {
            if (diagnostics)
                diagnostics->append(QStringLiteral("Data/Servers.txt:%1: expected text, base address and "
                                                   "folder separated by tabs")
                                        .arg(lineNumber));
            continue;
        }
        servers.push_back(
            {fields[0].trimmed().toString(), base, Trimmed(fields[2].trimmed().toString().replace(u'\\', u'/'), u'/')});
    }
    if (servers.empty())
        return BuiltInServers();
    return servers;
}

QUrl ServerAddress(const ServerEntry& server, const QString& remoteName)
{
    const std::optional<QString> scheme = SchemeOf(server.Base);
    if (!scheme)
        return QUrl();
    QString address = (scheme->isEmpty() ? QStringLiteral("http://") : QString()) + server.Base + u'/';
    if (!server.Folder.isEmpty())
        address += server.Folder + u'/';
    address += QString::fromLatin1(QUrl::toPercentEncoding(remoteName));
    return QUrl(address, QUrl::StrictMode);
}

bool DownloadFile(const ServerEntry* server, const QString& remoteName, const QString& localPath, qint64 startCount,
                  qint64 maxBytes, bool& cancelRequested, const DownloadHooks& hooks, QString* why)
{
    QString reason;
    bool ok = false;
    bool created = false;
    [&] {
        if (remoteName.isEmpty() || localPath.isEmpty()) {
            reason = QStringLiteral("no file named");
            return;
        }
        if (!server) {
            reason = QStringLiteral("no server selected");
            return;
        }
        const QUrl address = ServerAddress(*server, remoteName);
        if (!address.isValid()) {
            reason = QStringLiteral("invalid address %1").arg(address.toString());
            return;
        }

        // A leftover file must never pass for the new one, and a link left at
        // the name is removed rather than written through.
        QFile::remove(localPath);
        QFile file(localPath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            reason = QStringLiteral("cannot create %1: %2").arg(localPath, file.errorString());
            return;
        }
        created = true;

        QNetworkProxyFactory::setUseSystemConfiguration(true);
        QNetworkAccessManager manager;
        QNetworkRequest request(address);
        request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Update"));
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
        request.setMaximumRedirectsAllowed(5);
        std::unique_ptr<QNetworkReply> reply(manager.get(request));
        // The server waits while this much is unread: memory stays bounded
        // however fast it sends.
        reply->setReadBufferSize(kReadBufferSize);
        QString refusedRedirect;
        // Every step of a redirect chain stays on the server's host.
        QUrl current = address;
        QObject::connect(reply.get(), &QNetworkReply::redirected, reply.get(), [&](const QUrl& to) {
            const QUrl next = current.resolved(to);
            if (RedirectAllowed(address, next) && RedirectAllowed(current, next)) {
                current = next;
                emit reply->redirectAllowed();
            } else if (refusedRedirect.isEmpty()) {
                refusedRedirect =
                    QStringLiteral("%1 redirects to another host: %2").arg(address.toString(), next.toString());
            }
        });

        const auto tooLong = [&] {
            reason = QStringLiteral("%1 sends more than the %2 bytes expected").arg(address.toString()).arg(maxBytes);
        };
        qint64 count = startCount;
        qint64 body = 0;
        std::unique_ptr<char[]> block(new char[kBlockSize]);
        // The floor: each window must bring its share.
        QElapsedTimer window;
        window.start();
        qint64 bodyAtWindowStart = 0;
        const auto stalled = [&] {
            if (window.elapsed() < hooks.Floor.Window.count())
                return false;
            const qint64 received = body - bodyAtWindowStart;
            if (received < hooks.Floor.MinBytes) {
                const double seconds = static_cast<double>(window.elapsed()) / 1000.0;
                reason = received == 0 ? QStringLiteral("no data from %1 for %2 s").arg(address.toString()).arg(seconds)
                                       : QStringLiteral("%1 sent only %2 bytes in %3 s: the transfer has stalled")
                                             .arg(address.toString())
                                             .arg(received)
                                             .arg(seconds);
                return true;
            }
            window.restart();
            bodyAtWindowStart = body;
            return false;
        };
        QElapsedTimer sinceProgress;
        qint64 reported = -1;
        const auto report = [&](bool always) {
            if (!hooks.Progress || reported == count)
                return;
            if (!always && sinceProgress.isValid() && sinceProgress.elapsed() < 1000 / kProgressPerSecond)
                return;
            reported = count;
            sinceProgress.start();
            hooks.Progress(count);
        };
        bool statusChecked = false;
        const auto checkStatus = [&] {
            if (!IsHttpSuccess(*reply)) {
                reason = QStringLiteral("HTTP status %1 for %2")
                             .arg(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt())
                             .arg(address.toString());
                return false;
            }
            const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
            if (length.isValid() && length.toLongLong() > maxBytes) {
                tooLong();
                return false;
            }
            statusChecked = true;
            return true;
        };
        for (;;) {
            if (cancelRequested) {
                reason = QStringLiteral("download aborted");
                break;
            }
            if (!refusedRedirect.isEmpty()) {
                reason = refusedRedirect;
                break;
            }
            if (stalled())
                break;
            if (reply->bytesAvailable() > 0) {
                if (!statusChecked && !checkStatus())
                    break;
                const qint64 n = reply->read(block.get(), kBlockSize);
                if (n < 0) {
                    reason = QStringLiteral("read failed: %1").arg(reply->errorString());
                    break;
                }
                if (n > maxBytes - body) {
                    tooLong();
                    break;
                }
                body += n;
                count += n;
                if (file.write(block.get(), n) != n) {
                    reason = QStringLiteral("cannot write %1: %2").arg(localPath, file.errorString());
                    break;
                }
                report(false);
                if (hooks.ProcessEvents)
                    hooks.ProcessEvents();
                continue;
            }
            if (reply->isFinished()) {
                if (reply->error() != QNetworkReply::NoError) {
                    reason = QStringLiteral("%1 (%2: %3)")
                                 .arg(PlainNetworkReason(reply->error()), address.toString(), reply->errorString());
                } else if (!statusChecked && !checkStatus()) {
                    // reason set
                } else if (!file.flush()) {
                    reason = QStringLiteral("cannot write %1: %2").arg(localPath, file.errorString());
                } else {
                    report(true);
                    ok = true;
                }
                break;
            }
            report(true);
            // Wait for data, the end of the transfer or the next look at the
            // abort flag; window events run meanwhile.
            QEventLoop wait;
            QTimer slice;
            slice.setSingleShot(true);
            QObject::connect(&slice, &QTimer::timeout, &wait, &QEventLoop::quit);
            QObject::connect(reply.get(), &QNetworkReply::readyRead, &wait, &QEventLoop::quit);
            QObject::connect(reply.get(), &QNetworkReply::finished, &wait, &QEventLoop::quit);
            QObject::connect(reply.get(), &QNetworkReply::redirected, &wait, &QEventLoop::quit);
            slice.start(kWaitSliceMs);
            if (!reply->isFinished() && reply->bytesAvailable() == 0 && refusedRedirect.isEmpty())
                wait.exec();
        }
        if (!reply->isFinished())
            reply->abort();
        file.close();
    }();
    // A failed transfer leaves nothing behind.
    if (!ok && created)
        QFile::remove(localPath);
    cancelRequested = false;
    if (!ok && why)
        *why = reason;
    return ok;
}

QString PlainNetworkReason(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("host not found: the server's name could not be looked up");
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("connection refused: nothing answers at the server's address");
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::ProxyTimeoutError:
        return QStringLiteral("timed out: the server did not answer in time");
    case QNetworkReply::SslHandshakeFailedError:
        return QStringLiteral("secure connection failed: the server's identity could not be checked");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("the server closed the connection");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
        return QStringLiteral("no network: this computer could not reach the network");
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::UnknownProxyError:
        return QStringLiteral("the proxy server could not be used");
    default:
        return QStringLiteral("the transfer failed");
    }
}

} // namespace modInternet

#include "app/OneCopy.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocalSocket>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

#include <unistd.h>

namespace {

constexpr char kTitle[] = "Wayloom";
constexpr char kUpdateProgram[] = "Update";
// What a later start sends, and the running copy's answer.
constexpr char kFrontRequest[] = "front\n";
constexpr char kFrontAnswer[] = "ok\n";
// How long a later start waits for the running copy to answer: longer than a
// start-up takes, so a copy still loading its world is reached too.
constexpr int kAnswerWaitMs = 8000;

// On Linux the socket lives in the abstract namespace: no file in any
// temporary folder, so every temporary folder setting reaches it, and
// nothing is left behind by a copy that dies.
template <class Socket>
void UseAbstractName(Socket& socket)
{
#ifdef Q_OS_LINUX
    socket.setSocketOptions(Socket::AbstractNamespaceOption);
#else
    Q_UNUSED(socket);
#endif
}

} // namespace

OneCopy::OneCopy(const QString& appFolder) : m_appFolder(appFolder)
{
    tell = [](const QString& text) { QMessageBox::information(nullptr, QString::fromLatin1(kTitle), text); };
    confirm = [](const QString& question) {
        return QMessageBox::question(nullptr, QString::fromLatin1(kTitle), question, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
}

QString OneCopy::ServerName(const QString& appFolder)
{
    QString folder = QFileInfo(appFolder).canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(QDir(appFolder).absolutePath());
    const QByteArray key = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("wayloom-%1-%2").arg(::getuid()).arg(QString::fromLatin1(key));
}

OneCopy::Outcome OneCopy::Claim()
{
    using State = records::ProgramLock::State;
    m_lock = std::make_unique<records::ProgramLock>(m_appFolder, QString::fromLatin1(kTitle), folderWritable);
    State state = m_lock->TryLock();
    // Update starts Wayloom as it ends: give it the moment it needs to close.
    QElapsedTimer waited;
    waited.start();
    while (state == State::Held && m_lock->Holder().program == QLatin1String(kUpdateProgram) &&
           waited.elapsed() < updateWaitMs) {
        QThread::msleep(100);
        QCoreApplication::processEvents();
        state = m_lock->TryLock();
    }

    if (state == State::HeldOnOtherMachine) {
        if (!confirm || !confirm(OtherMachineQuestion()))
            return Outcome::Refused;
        state = m_lock->TakeOver();
    }
    switch (state) {
    case State::Acquired:
        Listen();
        return Outcome::First;
    case State::Failed:
        tell(QStringLiteral("Wayloom cannot lock its program folder (%1), so another copy could be running from "
                            "it. Remove that entry when no copy runs, then start Wayloom again.")
                 .arg(m_lock->Error()));
        return Outcome::Refused;
    case State::Held:
    case State::HeldOnOtherMachine:
        break;
    }
    if (m_lock->Holder().program == QLatin1String(kUpdateProgram)) {
        tell(QString::fromLatin1(kUpdateRunning));
        return Outcome::Refused;
    }
    // A copy on this machine (or one still writing its lock) may answer.
    const QString& host = m_lock->Holder().host;
    if ((host.isEmpty() || host.compare(records::ProgramLock::HostName(), Qt::CaseInsensitive) == 0) &&
        AskToFront(ServerName(m_appFolder), kAnswerWaitMs))
        return Outcome::BroughtToFront;
    tell(QString::fromLatin1(kAlreadyRunning));
    return Outcome::Refused;
}

QString OneCopy::OtherMachineQuestion() const
{
    const records::LockOwner& holder = m_lock->Holder();
    return QStringLiteral("Wayloom is already running from this folder on the computer \"%1\" (process %2).\n\n"
                          "Two copies would overwrite each other's records. Take the folder over only if "
                          "Wayloom no longer runs there. Take it over?")
        .arg(holder.host)
        .arg(holder.pid);
}

void OneCopy::Listen()
{
    const QString name = ServerName(m_appFolder);
    UseAbstractName(m_server);
#ifndef Q_OS_LINUX
    QLocalServer::removeServer(name); // a socket file of a copy that died: this copy holds the lock
#endif
    if (!m_server.listen(name)) {
        // The folder is still ours; later starts are then told instead.
        qWarning("Wayloom: cannot listen for later starts: %s", qPrintable(m_server.errorString()));
        return;
    }
    QObject::connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine())
                    return;
                if (socket->readLine(64) == kFrontRequest) {
                    if (bringToFront)
                        bringToFront();
                    socket->write(kFrontAnswer);
                    socket->flush();
                }
                socket->disconnectFromServer();
            });
        }
    });
}

bool OneCopy::AskToFront(const QString& name, int timeoutMs)
{
    QLocalSocket socket;
    UseAbstractName(socket);
    QEventLoop loop;
    bool finished = false;
    bool answered = false;
    QByteArray answer;
    const auto finish = [&] {
        finished = true;
        loop.quit();
    };
    QObject::connect(&socket, &QLocalSocket::connected, &loop, [&] { socket.write(kFrontRequest); });
    // The answer is one line; whatever came before the connection closed counts.
    const auto take = [&] {
        if (socket.bytesAvailable() > 0)
            answer += socket.readAll();
        if (answer.contains('\n')) {
            answered = answer == kFrontAnswer;
            finish();
        }
    };
    QObject::connect(&socket, &QLocalSocket::readyRead, &loop, take);
    QObject::connect(&socket, &QLocalSocket::errorOccurred, &loop, [&] {
        take();
        finish();
    });
    QObject::connect(&socket, &QLocalSocket::disconnected, &loop, [&] {
        take();
        finish();
    });
    QTimer::singleShot(timeoutMs, &loop, finish);
    socket.connectToServer(name);
    if (!finished)
        loop.exec();
    socket.abort();
    return answered;
}

#include "update/InstallLock.h"

#include <QElapsedTimer>
#include <QThread>

namespace modUpdate {

std::shared_ptr<records::ProgramLock> HoldForInstall(const QString& appFolder, QString& why,
                                                     const std::function<bool()>& keepWaiting, int waitMs)
{
    using State = records::ProgramLock::State;
    auto lock = std::make_shared<records::ProgramLock>(appFolder, QStringLiteral("Update"));
    QElapsedTimer waited;
    waited.start();
    State state = lock->TryLock();
    while (state == State::Held && waited.elapsed() < waitMs && (!keepWaiting || keepWaiting())) {
        QThread::msleep(100);
        state = lock->TryLock();
    }
    switch (state) {
    case State::Acquired:
        return lock;
    case State::HeldOnOtherMachine:
        why = QStringLiteral("Wayloom is running from this folder on the computer \"%1\": nothing was installed. "
                             "Close it there, then press Restart.")
                  .arg(lock->Holder().host);
        break;
    case State::Held:
        why = lock->Holder().program == QLatin1String("Update")
                  ? QStringLiteral("Another Update is installing into this folder: nothing was installed.")
                  : QStringLiteral("Wayloom is running from this folder: nothing was installed. Close Wayloom, "
                                   "then press Restart.");
        break;
    case State::Failed:
        why = QStringLiteral("The program folder cannot be locked (%1): nothing was installed.").arg(lock->Error());
        break;
    }
    return nullptr;
}

} // namespace modUpdate

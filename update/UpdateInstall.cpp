// The wizard's page 4: each package is downloaded, looked at and installed
// in list order. Before a package is unpacked, the files it would write are
// checked against the player's own data (a package aiming there is refused
// with the reason on the page) and the files it would replace are kept in the
// run's dated safety copy, so that the run can be undone.
#include "update/UpdateBackup.h"
#include "update/UpdateGuard.h"
#include "update/modUpdate.h"

#include <QDateTime>

#include <memory>

namespace modUpdate {

std::optional<UpdateWizard::Transition> UpdateWizard::DownloadUpdates()
{
    LastFailure.clear();
    qint64 count = 0;
    auto backup = std::make_shared<modUpdateBackup::UpdateBackup>();
    auto refused = std::make_shared<std::atomic<bool>>(false);
    bool begun = false;
    // A run that stops before it kept anything leaves no safety copy, which
    // would otherwise stand in for the last real update.
    struct DropEmpty {
        const std::shared_ptr<modUpdateBackup::UpdateBackup>& backup;
        const bool& begun;
        ~DropEmpty()
        {
            if (begun)
                backup->DropIfEmpty();
        }
    } dropEmpty{backup, begun};
    // The program folder is held from the first download to the last install,
    // so that no Wayloom starts on a half-installed folder.
    const std::shared_ptr<void> held = HoldProgramFolder(LastFailure);
    if (!held)
        return Transition{StepError, LastFailure};
    for (const NewFileEntry& entry : NewFiles) {
        if (!IsPlainFileName(entry.PackageName) || !IsSafeDestination(entry.DestinationFolder))
            return Fail(QStringLiteral("unsafe package %1").arg(entry.PackageName));
        const QString local = TempFolder + entry.PackageName;
        // The body may not pass the size the list gives.
        const bool downloaded = Download(entry.PackageName, count, entry.Size);
        count += entry.Size;
        if (!downloaded || CancelRequested)
            return Fail(QString());
        QString why;
        if (!begun && !backup->Begin(AppFolder, QDateTime::currentDateTime(), &why))
            return Fail(QStringLiteral("no safety copy can be made: %1").arg(why));
        begun = true;
        // Off the window's thread: a package may hold many members.
        const bool kept = RunOffThread(
            [local, entry, backup, refused, app = AppFolder](const std::atomic<bool>& cancel, QString& reason) {
                const std::optional<QStringList> names = modUpdateBackup::PackageMemberNames(local, &reason);
                if (!names || cancel)
                    return false;
                if (!modUpdateGuard::PersonalGuard(app).CheckTargets(entry.DestinationFolder, *names, &reason)) {
                    reason = QStringLiteral("%1: %2").arg(entry.PackageName, reason);
                    *refused = true;
                    return false;
                }
                if (!backup->Keep(entry.DestinationFolder, *names, &reason)) {
                    reason = QStringLiteral("no safety copy for %1: %2").arg(entry.PackageName, reason);
                    return false;
                }
                return true;
            });
        if (!kept || CancelRequested) {
            std::optional<Transition> failed = Fail(QString());
            if (*refused)
                failed->extra = modUpdateGuard::RefusalText(LastFailure);
            return failed;
        }
        if (!InstallPackage(local, AppFolder + entry.DestinationFolder, entry.Sha256) || CancelRequested)
            return Fail(LastFailure.isEmpty() ? QStringLiteral("%1 not installed").arg(entry.PackageName)
                                              : LastFailure);
    }
    if (begun)
        modUpdateBackup::Prune(AppFolder, backup->Name());
    return Transition{CurrentStep + 1, QString()};
}

} // namespace modUpdate

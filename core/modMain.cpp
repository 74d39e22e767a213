#include "core/modMain.h"

#include "records/RecordFile.h"

#include <QDir>
#include <QFile>
#include <QThread>

#include <filesystem>
#include <system_error>

namespace modMain {

QString AppFolderFrom(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

void MovePersonalFiles(const QString& appFolder)
{
    if (records::FolderExists(appFolder + QStringLiteral("Personal")))
        return;
    QDir(appFolder).mkdir(QStringLiteral("Personal"));
    for (int n = 1; n <= 99; ++n) {
        const QString name = QStringLiteral("Char") + records::PadNumber(n, 2) + QStringLiteral("CapElite.txt");
        const QString from = appFolder + QStringLiteral("Data/") + name;
        if (records::FileLength(from) >= 1)
            QFile::rename(from, appFolder + QStringLiteral("Personal/") + name); // errors ignored
    }
    QFile::rename(appFolder + QStringLiteral("Data/Characters.txt"),
                  appFolder + QStringLiteral("Personal/Characters.txt"));
}

void ApplyPendingUpdater(const QString& appFolder, std::chrono::milliseconds wait)
{
    const QString pending = appFolder + QString::fromUtf16(kPendingUpdaterFile);
    const QString updater = appFolder + QString::fromUtf16(kUpdaterFile);
    if (records::FileLength(pending) < 1)
        return;
    // The waits give a just-closed updater time to release its file.
    QThread::msleep(static_cast<unsigned long>(wait.count()));
    QThread::msleep(static_cast<unsigned long>(wait.count()));
    // One atomic replace instead of delete-then-rename: when it fails, the
    // old updater is still there and "update.dat" waits for the next start.
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(pending.toStdU16String()),
                            std::filesystem::path(updater.toStdU16String()), ec);
    if (ec)
        return;
    // A downloaded file carries no execute permission.
    QFile::setPermissions(updater, QFile::permissions(updater) | QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                                       QFileDevice::ExeOther);
}

} // namespace modMain

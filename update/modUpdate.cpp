#include "update/modUpdate.h"

#include "records/LastUpdate.h"
#include "records/RecordFile.h"
#include "update/UpdateGuard.h"
#include "update/clsKRBfile.h"
#include "update/modSafeFiles.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtNumeric>

#include <chrono>
#include <cmath>
#include <future>
#include <limits>

namespace modUpdate {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

constexpr qint64 kFileListMaxBytes = qint64{16} << 20; // the largest files.txt taken
// How long a cancelled worker is waited for before it is left to finish alone.
constexpr qint64 kCancelWaitMs = 200;

bool AllDigits(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

bool HasControlCharacter(QStringView s)
{
    for (QChar c : s)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    return false;
}

// Rounds to one decimal place, halves to the even neighbour.
double RoundOneDecimal(double v)
{
    return std::nearbyint(v * 10.0) / 10.0;
}

std::optional<QByteArray> ParseSha256(QStringView hex)
{
    const QStringView t = hex.trimmed();
    if (t.size() != 64)
        return std::nullopt;
    for (QChar c : t)
        if (!c.isDigit() && !(c >= u'a' && c <= u'f') && !(c >= u'A' && c <= u'F'))
            return std::nullopt;
    return QByteArray::fromHex(t.toLatin1());
}

} // namespace

// ---- Dates -----------------------------------------------------------------

std::optional<QDate> ParseDate(QStringView text)
{
    if (text.size() < 10)
        return std::nullopt;
    const QStringView day = text.sliced(0, 2);
    const QStringView month = text.sliced(3, 2);
    const QStringView year = text.last(4);
    if (!AllDigits(day) || !AllDigits(month) || !AllDigits(year))
        return std::nullopt;
    const QDate date(year.toInt(), month.toInt(), day.toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString FormatDate(QDate date)
{
    return records::PadNumber(date.day(), 2) + u'-' + records::PadNumber(date.month(), 2) + u'-' +
           records::PadNumber(date.year(), 4);
}

QDate ReadLastUpdate(const QString& appFolder)
{
    return records::ReadLastUpdateDate(appFolder).value_or(kDefaultLastUpdate);
}

bool WriteLastUpdate(const QString& appFolder, QDate date, QString* error)
{
    // Personal/ is the player's own folder: it may be a link to a folder kept
    // elsewhere (a synced folder, say), written through as Wayloom does.
    const QString folder = appFolder + QFileInfo(kLastUpdateFile).path();
    const QFileInfo info(folder);
    if (info.exists() ? !info.isDir() : !QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("%1 is not a folder").arg(folder);
        return false;
    }
    return records::WriteFileAtomically(appFolder + kLastUpdateFile, (records::LastUpdateLine(date) + kCrLf).toLatin1(),
                                        error);
}

// ---- The file list -----------------------------------------------------------

bool IsPlainFileName(QStringView name)
{
    if (name.isEmpty() || name == u"." || name == u".." || HasControlCharacter(name))
        return false;
    return !name.contains(u'/') && !name.contains(u'\\') && !name.contains(u':');
}

bool IsSafeDestination(QStringView folder)
{
    if (HasControlCharacter(folder))
        return false;
    if (folder.startsWith(u'/') || folder.startsWith(u'\\'))
        return false;
    return !folder.contains(u':') && !folder.contains(u"..");
}

QString NormalizeFolder(QStringView folder)
{
    QString f = folder.toString();
    f.replace(u'\\', u'/');
    return f;
}

FileListChoice SelectNewFiles(QStringView fileList, QDate lastUpdate)
{
    FileListChoice choice;
    int lineNumber = 0;
    for (QStringView line : records::SplitLines(fileList)) {
        ++lineNumber;
        const auto skip = [&](const QString& why) {
            choice.Diagnostics.append(QStringLiteral("files.txt:%1: %2").arg(lineNumber).arg(why));
        };
        if (line.trimmed().isEmpty())
            continue;
        const QList<QStringView> fields = line.split(u';');
        if (fields.size() < 4) {
            skip(QStringLiteral("fewer than four fields"));
            continue;
        }
        const std::optional<QDate> date = ParseDate(fields[2]);
        if (!date) {
            skip(QStringLiteral("unreadable date \"%1\"").arg(fields[2]));
            continue;
        }
        if (*date <= lastUpdate)
            continue;
        const std::optional<qint64> size = records::NumberField<qint64>(fields[1]);
        if (!size || *size < 0) {
            skip(QStringLiteral("unreadable size \"%1\"").arg(fields[1]));
            continue;
        }
        const auto refuse = [&](const QString& why) {
            skip(why);
            if (!choice.Unsafe)
                choice.Refusal = QStringLiteral("files.txt:%1: %2").arg(lineNumber).arg(why);
            choice.Unsafe = true;
        };
        NewFileEntry entry;
        entry.PackageName = fields[0].toString();
        entry.DestinationFolder = NormalizeFolder(fields[3]);
        entry.Size = *size;
        if (fields.size() >= 5 && !fields[4].trimmed().isEmpty()) {
            // A digest that is given but cannot be read must not turn the
            // check off.
            const std::optional<QByteArray> digest = ParseSha256(fields[4]);
            if (digest)
                entry.Sha256 = *digest;
            else
                refuse(QStringLiteral("\"%1\" is no SHA-256 of 64 hexadecimal digits").arg(fields[4]));
        }
        if (!IsPlainFileName(entry.PackageName) || !IsSafeDestination(entry.DestinationFolder))
            refuse(QStringLiteral("package \"%1\" or destination \"%2\" leaves its folder")
                       .arg(entry.PackageName, entry.DestinationFolder));
        else if (modUpdateGuard::IsPersonalPath(entry.DestinationFolder))
            refuse(QStringLiteral("the destination \"%1\" is the player's own data").arg(entry.DestinationFolder));
        qint64 total = 0;
        if (qAddOverflow(choice.TotalDownloadSize, entry.Size, &total)) {
            refuse(QStringLiteral("the sizes add up past any real download"));
            total = std::numeric_limits<qint64>::max();
        }
        choice.TotalDownloadSize = total;
        choice.NewFiles.push_back(std::move(entry));
    }
    return choice;
}

QString OneDecimal(double value, const QLocale& locale)
{
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    const double r = RoundOneDecimal(value);
    return l.toString(r, 'f', r == std::trunc(r) ? 0 : 1);
}

QString SummaryText(qint64 totalDownloadSize, int fileCount, const QLocale& locale)
{
    if (totalDownloadSize == 0)
        return QString();
    const double total = static_cast<double>(totalDownloadSize);
    const QString size = totalDownloadSize <= 1048576 ? OneDecimal(total / 1024.0, locale) + QStringLiteral(" KB")
                                                      : OneDecimal(total / 1048576.0, locale) + QStringLiteral(" MB");
    return kCrLf + QStringLiteral("New files found. Continue the download process to upgrade your Wayloom.") + kCrLf +
           size + QStringLiteral(" in ") + QString::number(fileCount) + QStringLiteral(" files");
}

// ---- Folders and progress -------------------------------------------------

bool MakePath(const QString& path)
{
    QString p = path;
    if (p.endsWith(u'/') && p.size() > 1)
        p.chop(1);
    if (p.isEmpty())
        return false;
    if (QFileInfo(p).isDir())
        return true;
    const QStringList parts = p.split(u'/');
    // The first part is the root ("" before a leading "/") or a drive, and
    // is never created.
    QString current = parts.front();
    QDir dir;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        current += u'/' + parts[i];
        if (parts[i].isEmpty() || QFileInfo(current).isDir())
            continue;
        if (!dir.mkdir(current))
            return false;
    }
    return QFileInfo(p).isDir();
}

QString ProgressText(qint64 count, qint64 total)
{
    const QLocale c = QLocale::c();
    const double k = static_cast<double>(count) / 1024.0;
    const double K = static_cast<double>(total) / 1024.0;
    const bool done = count >= total;
    QString a, b, ending;
    if (k <= 1024.0) {
        a = OneDecimal(done ? K : k, c);
        b = OneDecimal(K, c);
        ending = done ? QStringLiteral("KB [100%]")
                      : QStringLiteral("KB [%1%]").arg(std::nearbyint(k / K * 100.0), 0, 'f', 0);
    } else {
        const double m = k / 1024.0;
        const double M = K / 1024.0;
        a = OneDecimal(done ? M : m, c);
        b = OneDecimal(M, c);
        ending = done ? QStringLiteral("MB [100%]")
                      : QStringLiteral("MB [%1%]").arg(std::nearbyint(m / M * 100.0), 0, 'f', 0);
    }
    QString text = a + QStringLiteral(" / ") + b + ending;
    text.replace(u',', u'.');
    return text;
}

int ProgressBarWidth(qint64 count, qint64 total, int width)
{
    if (total <= 0)
        return 0;
    return static_cast<int>(std::nearbyint(static_cast<double>(count) / static_cast<double>(total) * width));
}

QByteArray FileSha256(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return QByteArray();
    return hash.result();
}

bool UnpackPackage(const QString& packagePath, const QString& destination, const QByteArray& sha256,
                   const std::atomic<bool>* cancel, QString& why)
{
    if (!sha256.isEmpty() && FileSha256(packagePath) != sha256) {
        why = QStringLiteral("%1: SHA-256 does not match the list").arg(QFileInfo(packagePath).fileName());
        return false;
    }
    clsKRBfile package;
    package.SetCancelFlag(cancel);
    if (!package.AddKRBfileFromDisk(packagePath)) {
        why = QStringLiteral("%1: %2").arg(packagePath, package.LastError());
        return false;
    }
    try {
        if (!package.ExtractAllFileToDisk(destination)) {
            why = QStringLiteral("%1: %2").arg(packagePath, package.LastError());
            return false;
        }
    } catch (const modHuffman::HuffmanError& e) {
        why = QStringLiteral("%1: %2").arg(packagePath, e.message());
        return false;
    } catch (const std::bad_alloc&) {
        why = QStringLiteral("%1: not enough memory to unpack").arg(packagePath);
        return false;
    }
    return true;
}

QString WayloomExecutable()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Wayloom.exe");
#else
    return QStringLiteral("Wayloom");
#endif
}

// ---- The wizard ------------------------------------------------------------

UpdateWizard::UpdateWizard(WizardHost& host)
    : StartProgram(
          [](const QString& program, const QString& folder) { return QProcess::startDetached(program, {}, folder); }),
      m_host(host)
{
    StepTable = modUpdate::FillStepTable();
    Servers = modInternet::BuiltInServers();
}

void UpdateWizard::InitPaths(const QString& appFolder)
{
    AppFolder = QDir::fromNativeSeparators(appFolder);
    if (!AppFolder.endsWith(u'/'))
        AppFolder += u'/';
    TempFolder = AppFolder + QStringLiteral("Temp/");
    // The temporary folder is a plain folder of the program folder: a link
    // left in its place is removed (not what it points to).
    const QString temp = AppFolder + QStringLiteral("Temp");
    if (modSafeFiles::IsLink(temp))
        modSafeFiles::RemoveEntry(temp);
    if (!modSafeFiles::EntryExists(temp))
        MakePath(temp);
    m_tempReal = modSafeFiles::IsRealFolder(temp) ? modSafeFiles::RealPath(temp) : QString();
    m_createdInTemp.clear();
    if (modSafeFiles::CheckFolderInside(AppFolder, QStringLiteral("Personal")))
        MakePath(AppFolder + QStringLiteral("Personal"));
}

bool UpdateWizard::TempFolderIntact() const
{
    const QString temp = AppFolder + QStringLiteral("Temp");
    return !m_tempReal.isEmpty() && modSafeFiles::IsRealFolder(temp) && modSafeFiles::RealPath(temp) == m_tempReal &&
           modSafeFiles::IsInside(m_tempReal, modSafeFiles::RealPath(AppFolder));
}

void UpdateWizard::NoteCreatedInTemp(const QString& name)
{
    m_createdInTemp.insert(name);
}

void UpdateWizard::ReadLastUpdate()
{
    LastUpdateDate = modUpdate::ReadLastUpdate(AppFolder);
}

void UpdateWizard::FillStepTable()
{
    StepTable = modUpdate::FillStepTable();
}

void UpdateWizard::LoadServers()
{
    Servers = modInternet::LoadServers(AppFolder);
}

void UpdateWizard::ShowStep(int p, const QString& extra)
{
    // The work of a page leads to the next page here rather than by calling
    // back into ShowStep, so a run never nests deeper than one page. Window
    // events run while pages are shown and while work goes on; a Quit that
    // arrives meanwhile takes effect once the work has stopped.
    m_working = true;
    std::optional<Transition> next = Transition{p, extra};
    while (next && next->page >= 0 && next->page < kStepCount) {
        const int page = next->page;
        const WizardStep& step = StepTable[page];
        m_host.ApplyStep(page, step, step.Description + kCrLf + next->extra);
        m_host.ProcessEvents();
        CurrentStep = page;
        if (m_quitPending)
            break;
        switch (page) {
        case StepSearching:
            next = RetrieveFileList();
            break;
        case StepDownloading:
            next = DownloadUpdates();
            break;
        case StepFinished:
            next = WriteLastUpdate();
            break;
        default:
            next.reset();
            break;
        }
        if (m_quitPending)
            break;
    }
    m_working = false;
    if (m_quitPending)
        CleanUpAndQuit();
}

void UpdateWizard::Next()
{
    if (m_working)
        return;
    CancelRequested = false;
    if (CurrentStep == StepFinished || CurrentStep == StepNoUpdates) {
        if (m_host.LaunchWayloomChecked() && StartProgram)
            StartProgram(AppFolder + WayloomExecutable(), AppFolder);
        CleanUpAndQuit();
        return;
    }
    ShowStep(CurrentStep + 1, QString());
}

void UpdateWizard::Previous()
{
    if (m_working)
        return;
    CancelRequested = false;
    if (CurrentStep >= 2)
        ShowStep(CurrentStep - 2, QString());
}

void UpdateWizard::Cancel()
{
    CancelRequested = true;
}

void UpdateWizard::Quit()
{
    if (m_working) {
        // The running download stops at its next read; ShowStep then ends
        // the program.
        m_quitPending = true;
        CancelRequested = true;
        return;
    }
    CleanUpAndQuit();
}

bool UpdateWizard::Download(const QString& remoteName, qint64 startCount, qint64 maxBytes)
{
    const QString temp = AppFolder + QStringLiteral("Temp");
    if (!modSafeFiles::EntryExists(temp) && MakePath(temp)) {
        // Removed meanwhile: made anew as a plain folder.
        m_tempReal = modSafeFiles::RealPath(temp);
        m_createdInTemp.clear();
    }
    if (!TempFolderIntact()) {
        LastFailure = QStringLiteral("the folder Temp is not the plain folder made at start-up");
        return false;
    }
    const int index = m_host.SelectedServer();
    const modInternet::ServerEntry* server =
        index >= 0 && index < static_cast<int>(Servers.size()) ? &Servers[index] : nullptr;
    modInternet::DownloadHooks hooks;
    hooks.Progress = [this](qint64 count) { m_host.SetProgress(count); };
    hooks.ProcessEvents = [this] { m_host.ProcessEvents(); };
    hooks.Floor = DownloadFloor;
    QString why;
    NoteCreatedInTemp(remoteName);
    const bool ok = modInternet::DownloadFile(server, remoteName, TempFolder + remoteName, startCount, maxBytes,
                                              CancelRequested, hooks, &why);
    if (!ok)
        LastFailure = why;
    return ok;
}

bool UpdateWizard::RunOffThread(std::function<bool(const std::atomic<bool>&, QString&)> work,
                                std::shared_ptr<const QStringList> tempNames)
{
    struct State {
        std::atomic<bool> cancel{false};
        QString why;
    };
    auto state = std::make_shared<State>();
    std::future<bool> result =
        std::async(std::launch::async, [state, work = std::move(work)] { return work(state->cancel, state->why); });
    // The window stays responsive; Abort, Quit and closing the window reach
    // the work through the flag, which it looks at between members.
    QElapsedTimer sinceCancel;
    while (result.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        m_host.ProcessEvents();
        if (CancelRequested && !sinceCancel.isValid()) {
            state->cancel = true;
            sinceCancel.start();
        }
        if (sinceCancel.isValid() && sinceCancel.elapsed() > kCancelWaitMs) {
            // Removing what it had written so far may take a while; the
            // window does not wait for that.
            m_detached.push_back({std::move(result), std::move(tempNames)});
            LastFailure = QStringLiteral("cancelled");
            return false;
        }
    }
    bool ok = false;
    try {
        ok = result.get();
    } catch (const std::exception& e) {
        state->why = QString::fromLocal8Bit(e.what());
    }
    if (!ok)
        LastFailure = state->why.isEmpty() ? QStringLiteral("unpacking failed") : state->why;
    if (tempNames)
        for (const QString& name : *tempNames)
            NoteCreatedInTemp(name);
    return ok;
}

std::optional<UpdateWizard::Transition> UpdateWizard::Fail(const QString& why)
{
    if (!why.isEmpty())
        LastFailure = why;
    WriteLog(LastFailure.isEmpty() ? QStringLiteral("failed") : LastFailure);
    // The page names the reason too, not only the log.
    return Transition{StepError, LastFailure.isEmpty() ? QString() : QStringLiteral("Reason: %1").arg(LastFailure)};
}

void UpdateWizard::WriteLog(const QString& why) const
{
    if (AppFolder.isEmpty())
        return;
    QString line = QDateTime::currentDateTime().toString(Qt::ISODate) + u' ' + why;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    QByteArray bytes = line.toUtf8().left(kLogLimit - 2) + "\r\n";
    records::WriteFileAtomically(AppFolder + kLogFile, bytes);
}

std::optional<UpdateWizard::Transition> UpdateWizard::RetrieveFileList()
{
    TotalDownloadSize = 0;
    LastFailure.clear();
    const QString listPackage = TempFolder + kFileListPackage;
    if (!Download(kFileListPackage, 0, modInternet::kUnlistedSizeCap))
        return Fail(QString());
    // A list left by an earlier run must not stand in for the new one.
    QFile::remove(TempFolder + kFileListName);
    // The names written into the temporary folder, for the clean-up.
    auto written = std::make_shared<QStringList>();
    const QString temp = TempFolder;
    const bool unpacked = RunOffThread(
        [listPackage, temp, written](const std::atomic<bool>& cancel, QString& why) {
            // Only files.txt is taken, up to a size no real list comes near.
            clsKRBfile package;
            package.SetCancelFlag(&cancel);
            ExtractLimits limits;
            limits.maxMemberBytes = kFileListMaxBytes;
            package.SetLimits(limits);
            if (!package.AddKRBfileFromDisk(listPackage)) {
                why = QStringLiteral("files.krb: %1").arg(package.LastError());
                return false;
            }
            written->append(kFileListName);
            try {
                // The list is read by its lower-case name, however the member is spelled.
                if (!package.ExtractOneFileToDisk(kFileListName, temp)) {
                    why = QStringLiteral("files.krb: %1").arg(package.LastError());
                    return false;
                }
            } catch (const modHuffman::HuffmanError& e) {
                why = QStringLiteral("files.krb: %1").arg(e.message());
                return false;
            }
            return true;
        },
        written);
    if (!unpacked || CancelRequested)
        return Fail(QString());
    const QString summary = CompareFileList();
    if (m_listUnsafe) {
        std::optional<Transition> refused = Fail(m_listRefusal);
        refused->extra = modUpdateGuard::RefusalText(m_listRefusal);
        return refused;
    }
    if (!summary.isEmpty())
        return Transition{CurrentStep + 1, summary};
    return Transition{StepNoUpdates, QString()};
}

QString UpdateWizard::CompareFileList()
{
    NewFiles.clear();
    TotalDownloadSize = 0;
    m_listUnsafe = false;
    records::RecordText file;
    if (!records::ReadRecordFile(TempFolder + kFileListName, file))
        return QString();
    FileListChoice choice = SelectNewFiles(file.text, LastUpdateDate);
    for (const QString& d : choice.Diagnostics)
        qWarning("%s", qPrintable(d));
    NewFiles = std::move(choice.NewFiles);
    TotalDownloadSize = choice.TotalDownloadSize;
    m_listUnsafe = choice.Unsafe;
    m_listRefusal = choice.Refusal;
    // A link inside the program folder may lead a harmless name there.
    const modUpdateGuard::PersonalGuard guard(AppFolder);
    for (const NewFileEntry& entry : NewFiles)
        if (!m_listUnsafe && !guard.CheckDestination(entry.DestinationFolder, &m_listRefusal))
            m_listUnsafe = true;
    return SummaryText(TotalDownloadSize, static_cast<int>(NewFiles.size()));
}

bool UpdateWizard::InstallPackage(const QString& packagePath, const QString& destination, const QByteArray& sha256)
{
    // Nothing is created or written unless every existing part of the
    // destination lies inside the program folder, links resolved.
    const QString& folder = destination;
    if (!folder.startsWith(AppFolder)) {
        LastFailure = QStringLiteral("%1 is not below the program folder").arg(destination);
        return false;
    }
    if (!modSafeFiles::CheckFolderInside(AppFolder, folder.mid(AppFolder.size()), &LastFailure))
        return false;
    if (!MakePath(folder)) {
        LastFailure = QStringLiteral("cannot create %1").arg(destination);
        return false;
    }
    const QString real = modSafeFiles::RealPath(folder);
    if (!modSafeFiles::IsInside(real, modSafeFiles::RealPath(AppFolder))) {
        LastFailure = QStringLiteral("%1 leads outside the program folder").arg(destination);
        return false;
    }
    return RunOffThread([packagePath, real, sha256](const std::atomic<bool>& cancel, QString& why) {
        return UnpackPackage(packagePath, real, sha256, &cancel, why);
    });
}

std::optional<UpdateWizard::Transition> UpdateWizard::WriteLastUpdate()
{
    QString error;
    if (modSafeFiles::CheckFolderInside(AppFolder, QStringLiteral("Personal"), &error))
        MakePath(AppFolder + QStringLiteral("Personal"));
    if (!modUpdate::WriteLastUpdate(AppFolder, QDate::currentDate(), &error))
        return Fail(QStringLiteral("%1: %2").arg(kLastUpdateFile, error));
    return std::nullopt;
}

void UpdateWizard::CleanUpAndQuit()
{
    m_quitPending = false;
    const bool closeFirst = !m_detached.empty();
    if (closeFirst) {
        // Work left to clean up after a cancel ends before the temporary
        // folder goes; the window closes first.
        m_host.CloseWindow();
        for (Detached& d : m_detached) {
            d.result.wait();
            if (d.tempNames)
                for (const QString& name : *d.tempNames)
                    NoteCreatedInTemp(name);
        }
        m_detached.clear();
    }
    // Only what this run made, and only while Temp is still the folder made
    // at start-up: nothing elsewhere is ever deleted.
    if (!TempFolder.isEmpty() && TempFolderIntact()) {
        for (const QString& name : m_createdInTemp)
            if (IsPlainFileName(name) && !modSafeFiles::IsRealFolder(TempFolder + name))
                modSafeFiles::RemoveEntry(TempFolder + name);
        QDir().rmdir(AppFolder + QStringLiteral("Temp"));
    }
    m_createdInTemp.clear();
    if (!closeFirst)
        m_host.CloseWindow();
}

} // namespace modUpdate

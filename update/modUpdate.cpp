#include "update/modUpdate.h"

#include "core/RecordFile.h"
#include "update/clsKRBfile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cmath>

namespace modUpdate {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

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
double RoundOneDecimal(double v) { return std::nearbyint(v * 10.0) / 10.0; }

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
    records::RecordText file;
    if (!records::ReadRecordFile(appFolder + kLastUpdateFile, file) || file.lines.empty())
        return kDefaultLastUpdate;
    // Trimmed of spaces only, as the file is written.
    QStringView line = file.lines.front();
    while (line.startsWith(u' '))
        line = line.sliced(1);
    while (line.endsWith(u' '))
        line.chop(1);
    return ParseDate(line).value_or(kDefaultLastUpdate);
}

bool WriteLastUpdate(const QString& appFolder, QDate date, QString* error)
{
    return records::WriteRecordFile(appFolder + kLastUpdateFile, {FormatDate(date)}, error);
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
        NewFileEntry entry;
        entry.PackageName = fields[0].toString();
        entry.DestinationFolder = NormalizeFolder(fields[3]);
        entry.Size = *size;
        if (fields.size() >= 5)
            entry.Sha256 = ParseSha256(fields[4]).value_or(QByteArray());
        if (!IsPlainFileName(entry.PackageName) || !IsSafeDestination(entry.DestinationFolder)) {
            skip(QStringLiteral("package \"%1\" or destination \"%2\" leaves its folder")
                     .arg(entry.PackageName, entry.DestinationFolder));
            choice.Unsafe = true;
        }
        choice.TotalDownloadSize += entry.Size;
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
    const QString size = totalDownloadSize <= 1048576
                             ? OneDecimal(total / 1024.0, locale) + QStringLiteral(" KB")
                             : OneDecimal(total / 1048576.0, locale) + QStringLiteral(" MB");
    return kCrLf + QStringLiteral("New files found. Continue the download process to upgrade your Wayloom.") +
           kCrLf + size + QStringLiteral(" in ") + QString::number(fileCount) + QStringLiteral(" files");
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
    const double k = count / 1024.0;
    const double K = total / 1024.0;
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
    return static_cast<int>(std::nearbyint(static_cast<double>(count) / total * width));
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
    : StartProgram([](const QString& program, const QString& folder) {
          return QProcess::startDetached(program, {}, folder);
      }),
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
    MakePath(AppFolder + QStringLiteral("Temp"));
    MakePath(AppFolder + QStringLiteral("Personal"));
}

void UpdateWizard::ReadLastUpdate() { LastUpdateDate = modUpdate::ReadLastUpdate(AppFolder); }

void UpdateWizard::FillStepTable() { StepTable = modUpdate::FillStepTable(); }

void UpdateWizard::LoadServers() { Servers = modInternet::LoadServers(AppFolder); }

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
        case StepSearching: next = RetrieveFileList(); break;
        case StepDownloading: next = DownloadUpdates(); break;
        case StepFinished: next = WriteLastUpdate(); break;
        default: next.reset(); break;
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

void UpdateWizard::Cancel() { CancelRequested = true; }

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

bool UpdateWizard::Download(const QString& remoteName, const QString& localPath, qint64 startCount)
{
    const int index = m_host.SelectedServer();
    const modInternet::ServerEntry* server =
        index >= 0 && index < static_cast<int>(Servers.size()) ? &Servers[index] : nullptr;
    modInternet::DownloadHooks hooks;
    hooks.Progress = [this](qint64 count) { m_host.SetProgress(count); };
    hooks.ProcessEvents = [this] { m_host.ProcessEvents(); };
    QString why;
    const bool ok = modInternet::DownloadFile(server, remoteName, localPath, startCount, CancelRequested,
                                              hooks, &why);
    if (!ok)
        LastFailure = why;
    return ok;
}

std::optional<UpdateWizard::Transition> UpdateWizard::Fail(const QString& why)
{
    if (!why.isEmpty())
        LastFailure = why;
    return Transition{StepError, QString()};
}

std::optional<UpdateWizard::Transition> UpdateWizard::RetrieveFileList()
{
    TotalDownloadSize = 0;
    LastFailure.clear();
    MakePath(TempFolder);
    const QString listPackage = TempFolder + kFileListPackage;
    if (!Download(kFileListPackage, listPackage, 0))
        return Fail(QString());
    // A list left by an earlier run must not stand in for the new one.
    QFile::remove(TempFolder + kFileListName);
    clsKRBfile package;
    if (!package.AddKRBfileFromDisk(listPackage))
        return Fail(QStringLiteral("files.krb: %1").arg(package.LastError()));
    try {
        if (!package.ExtractAllFileToDisk(TempFolder))
            return Fail(QStringLiteral("files.krb: %1").arg(package.LastError()));
        // The list is read by its lower-case name, however the member is spelled.
        if (!package.ExtractOneFileToDisk(kFileListName, TempFolder))
            return Fail(QStringLiteral("files.krb holds no files.txt"));
    } catch (const modHuffman::HuffmanError& e) {
        return Fail(QStringLiteral("files.krb: %1").arg(e.message()));
    }
    const QString summary = CompareFileList();
    if (m_listUnsafe)
        return Fail(QStringLiteral("files.txt names a package or folder outside the program folder"));
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
    return SummaryText(TotalDownloadSize, static_cast<int>(NewFiles.size()));
}

std::optional<UpdateWizard::Transition> UpdateWizard::DownloadUpdates()
{
    LastFailure.clear();
    MakePath(TempFolder);
    qint64 count = 0;
    for (const NewFileEntry& entry : NewFiles) {
        if (!IsPlainFileName(entry.PackageName) || !IsSafeDestination(entry.DestinationFolder))
            return Fail(QStringLiteral("unsafe package %1").arg(entry.PackageName));
        const QString local = TempFolder + entry.PackageName;
        if (records::FileLength(local) >= 1)
            QFile::remove(local);
        const bool downloaded = Download(entry.PackageName, local, count);
        count += entry.Size;
        if (!downloaded || CancelRequested)
            return Fail(QString());
        if (!entry.Sha256.isEmpty() && FileSha256(local) != entry.Sha256)
            return Fail(QStringLiteral("%1: SHA-256 does not match the list").arg(entry.PackageName));
        if (!InstallPackage(local, AppFolder + entry.DestinationFolder) || CancelRequested)
            return Fail(LastFailure.isEmpty() ? QStringLiteral("%1 not installed").arg(entry.PackageName)
                                              : LastFailure);
    }
    return Transition{CurrentStep + 1, QString()};
}

bool UpdateWizard::InstallPackage(const QString& packagePath, const QString& destination)
{
    clsKRBfile package;
    if (!package.AddKRBfileFromDisk(packagePath)) {
        LastFailure = QStringLiteral("%1: %2").arg(packagePath, package.LastError());
        return false;
    }
    if (!MakePath(destination)) {
        LastFailure = QStringLiteral("cannot create %1").arg(destination);
        return false;
    }
    try {
        if (!package.ExtractAllFileToDisk(destination)) {
            LastFailure = QStringLiteral("%1: %2").arg(packagePath, package.LastError());
            return false;
        }
    } catch (const modHuffman::HuffmanError& e) {
        LastFailure = QStringLiteral("%1: %2").arg(packagePath, e.message());
        return false;
    }
    return true;
}

std::optional<UpdateWizard::Transition> UpdateWizard::WriteLastUpdate()
{
    QString error;
    MakePath(AppFolder + QStringLiteral("Personal"));
    if (!modUpdate::WriteLastUpdate(AppFolder, QDate::currentDate(), &error))
        return Fail(QStringLiteral("%1: %2").arg(kLastUpdateFile, error));
    return std::nullopt;
}

void UpdateWizard::CleanUpAndQuit()
{
    m_quitPending = false;
    if (!TempFolder.isEmpty()) {
        QDir temp(TempFolder);
        for (const QString& name : temp.entryList(QDir::Files | QDir::Hidden | QDir::System))
            temp.remove(name);
        QDir().rmdir(AppFolder + QStringLiteral("Temp"));
    }
    m_host.CloseWindow();
}

} // namespace modUpdate

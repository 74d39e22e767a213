// The update wizard: the file list and the choice of new packages, the
// last-update date, folders, installation of packages and the page logic
// that the window `frmMain` only shows.
#pragma once

#include "update/InstallLock.h"
#include "update/StepTable.h"
#include "update/modInternet.h"

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <vector>

namespace modUpdate {

// The date assumed when no update has been recorded yet.
inline const QDate kDefaultLastUpdate{2007, 3, 28};

// Relative paths below the program folder.
inline const QString kLastUpdateFile = QStringLiteral("Personal/LastUpdate.txt");
inline const QString kHistoryFile = QStringLiteral("Data/History.txt");
inline const QString kFileListPackage = QStringLiteral("files.krb");
inline const QString kFileListName = QStringLiteral("files.txt");

// ---- Dates -----------------------------------------------------------------

// "dd-mm-yyyy": day = characters 1 and 2, month = characters 4 and 5, year =
// the last four characters; nullopt when those are not digits of a real date.
std::optional<QDate> ParseDate(QStringView text);
QString FormatDate(QDate date);

// The date of Personal/LastUpdate.txt below the program folder; the default
// date when the file is missing, empty or unreadable.
QDate ReadLastUpdate(const QString& appFolder);
// Writes the date as "dd-mm-yyyy" CR LF through the one atomic write of the
// record files. False when the folder Personal leads outside the program
// folder or cannot be written.
bool WriteLastUpdate(const QString& appFolder, QDate date, QString* error = nullptr);

// ---- The file list -----------------------------------------------------------

// A package chosen for download.
struct NewFileEntry {
    QString PackageName;
    QString DestinationFolder; // relative to the program folder, "/" separated
    qint64 Size = 0;
    QByteArray Sha256; // raw digest; empty when the list gives none
};

struct FileListChoice {
    std::vector<NewFileEntry> NewFiles;
    qint64 TotalDownloadSize = 0;
    // A chosen line names a package or destination that could leave its
    // folder, gives a fifth field that is no SHA-256, or the sizes add up
    // past any real download: the whole run is refused.
    bool Unsafe = false;
    QString Refusal;         // why, for the first such line
    QStringList Diagnostics; // "line N: reason" for each skipped line
};

// Chooses the lines of files.txt dated after `lastUpdate` (the same day is not
// later). Fields are separated by ";": name, size, date, destination and an
// optional SHA-256 in hexadecimal (empty: none); further fields are ignored.
// Lines with fewer than four fields, an unreadable date or size are skipped.
FileListChoice SelectNewFiles(QStringView fileList, QDate lastUpdate);

// The summary shown on page 3; "" when the total is 0.
QString SummaryText(qint64 totalDownloadSize, int fileCount, const QLocale& locale = QLocale());

// A number rounded to one decimal place (halves to even) in its shortest
// form, without group separators.
QString OneDecimal(double value, const QLocale& locale);

// True for a name that stays in one folder: not empty, not "." or "..", no
// "/", "\", ":" or control characters.
bool IsPlainFileName(QStringView name);
// True for a destination folder below the program folder: relative (no
// leading "/" or "\", no drive letter or ":"), no ".." anywhere, no control
// characters. Empty means the program folder itself.
bool IsSafeDestination(QStringView folder);
// "\" becomes "/".
QString NormalizeFolder(QStringView folder);

// ---- Folders and progress -------------------------------------------------

// Creates the folder and every missing folder above it; true when it exists
// afterwards. One trailing "/" is ignored.
bool MakePath(const QString& path);

// The text of the progress bar, e.g. "12.5 / 300KB [4%]"; always with a point.
QString ProgressText(qint64 count, qint64 total);
// Width of the filled part of a bar `width` pixels wide (may pass the width).
int ProgressBarWidth(qint64 count, qint64 total, int width);

// SHA-256 of a file; empty when it cannot be read.
QByteArray FileSha256(const QString& path);

// Loads the package and unpacks all of it into the existing folder
// `destination`, after checking the package's digest when one is given.
// Looks at `cancel` between members. Runs on any thread; false with the
// reason in `why`.
bool UnpackPackage(const QString& packagePath, const QString& destination, const QByteArray& sha256,
                   const std::atomic<bool>* cancel, QString& why);

// The log of the last failure beside the temporary folder, and its largest size.
inline const QString kLogFile = QStringLiteral("Update.log");
inline constexpr qsizetype kLogLimit = 4096;

// ---- The wizard ------------------------------------------------------------

// What the wizard needs from its window.
class WizardHost {
public:
    virtual ~WizardHost() = default;
    // Shows page `index`: colours, states, captions, lblInfo = `info`; clears
    // the progress bar.
    virtual void ApplyStep(int index, const WizardStep& step, const QString& info) = 0;
    // Lets pending window events run.
    virtual void ProcessEvents() = 0;
    // The byte counter (txtProgress); redraws the progress bar.
    virtual void SetProgress(qint64 count) = 0;
    // Index of the selected server entry, -1 for none.
    virtual int SelectedServer() const = 0;
    virtual bool LaunchWayloomChecked() const = 0;
    // Ends the program (the window closes for good).
    virtual void CloseWindow() = 0;
};

class UpdateWizard {
public:
    explicit UpdateWizard(WizardHost& host);

    // Start-up: folders, the last-update date, the page table, the servers.
    void InitPaths(const QString& appFolder);
    void ReadLastUpdate();
    void FillStepTable();
    void LoadServers();

    // Shows page `p` with `extra` appended to its description, then runs the
    // page's work, which may lead on to further pages.
    void ShowStep(int p, const QString& extra);

    // Buttons.
    void Next();
    void Previous();
    void Cancel();
    // Quit and closing the window: ends the program; while a page works, the
    // work is cancelled first and the program ends when it has stopped.
    void Quit();

    // The work of pages 2, 4 and 5.
    struct Transition {
        int page;
        QString extra;
    };
    std::optional<Transition> RetrieveFileList();
    std::optional<Transition> DownloadUpdates();
    std::optional<Transition> WriteLastUpdate();

    // Chooses NewFiles from TempFolder/files.txt and gives the summary text.
    QString CompareFileList();
    // Loads the package and unpacks all of it into `destination` (a folder
    // below the program folder, created as needed) on a worker thread while
    // window events run; false when the folder leads outside the program
    // folder, the digest (when given) differs, the package cannot be read,
    // any member fails or the work is cancelled.
    bool InstallPackage(const QString& packagePath, const QString& destination,
                        const QByteArray& sha256 = QByteArray());
    // Removes the files this run created in the temporary folder and the
    // folder when it is empty, then closes the window.
    void CleanUpAndQuit();

    bool Working() const { return m_working; }

    // State.
    QString AppFolder;  // ends in "/"
    QString TempFolder; // AppFolder + "Temp/"
    StepTableType StepTable;
    std::vector<modInternet::ServerEntry> Servers;
    int CurrentStep = -1;
    bool CancelRequested = false;
    QDate LastUpdateDate = kDefaultLastUpdate;
    std::vector<NewFileEntry> NewFiles;
    qint64 TotalDownloadSize = 0;
    // Why the last run ended on the error page (for logs and tests).
    QString LastFailure;
    // When a download counts as a stall.
    modInternet::DownloadFloor DownloadFloor;

    // Holds the program folder from the first package to the last, so that
    // nothing is installed while Wayloom runs from it (a closing Wayloom is
    // waited for a moment); null with the reason for the player in `why`.
    std::function<std::shared_ptr<void>(QString& why)> HoldProgramFolder = [this](QString& why) {
        return std::shared_ptr<void>(HoldForInstall(AppFolder, why, [this] {
            m_host.ProcessEvents();
            return !CancelRequested;
        }));
    };
    // Starts a program detached in a working folder; replaceable for tests.
    std::function<bool(const QString& program, const QString& workingFolder)> StartProgram;

private:
    bool Download(const QString& remoteName, qint64 startCount, qint64 maxBytes);
    // Runs `work` (which holds nothing of the caller by reference) on a
    // worker thread; window events run meanwhile and a cancel request is
    // passed on. Gives the work's result. Work that is still cleaning up a
    // moment after the cancel request goes on alone (false at once); the
    // clean-up at the end waits for it and then removes the files it names
    // in `tempNames` from the temporary folder.
    bool RunOffThread(std::function<bool(const std::atomic<bool>& cancel, QString& why)> work,
                      std::shared_ptr<const QStringList> tempNames = nullptr);
    // True while the temporary folder is the plain folder made at start-up.
    bool TempFolderIntact() const;
    void NoteCreatedInTemp(const QString& name);
    std::optional<Transition> Fail(const QString& why);
    void WriteLog(const QString& why) const;

    WizardHost& m_host;
    bool m_working = false;
    bool m_quitPending = false;
    bool m_listUnsafe = false;
    QString m_listRefusal;
    QString m_tempReal;            // real path of the temporary folder
    QSet<QString> m_createdInTemp; // names of the files this run made there
    struct Detached {
        std::future<bool> result;
        std::shared_ptr<const QStringList> tempNames;
    };
    std::vector<Detached> m_detached;
};

// Name of the main program's executable in the program folder.
QString WayloomExecutable();

} // namespace modUpdate

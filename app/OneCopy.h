// One running Wayloom per program folder. The first start takes the folder's
// lock and listens on a local socket named after the folder; a later start
// finds the lock held, asks the running copy through that socket to bring
// its windows to the front and ends, or tells the player why it cannot start.
#pragma once

#include "records/ProgramLock.h"

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <functional>

class OneCopy : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        First,          // this copy holds the folder and runs
        BroughtToFront, // the running copy was asked to show its windows
        Refused,        // the player was told why this copy does not start
    };

    // The texts a later start shows.
    static constexpr char kAlreadyRunning[] = "Wayloom is already running from this folder.";
    static constexpr char kUpdateRunning[] =
        "Update is installing into this folder. Start Wayloom again when it has finished.";

    explicit OneCopy(const QString& appFolder);

    // Tells the player something and waits; asks a yes/no question. Both
    // default to message boxes; tests replace them.
    std::function<void(const QString& text)> tell;
    std::function<bool(const QString& question)> confirm;
    // Runs in the first copy when a later start asks for its windows.
    std::function<void()> bringToFront;
    // Whether the lock may live in the program folder (tests stand in for a
    // read-only folder); by default, whether the system allows writing there.
    std::function<bool(const QString& folder)> folderWritable;
    // How long a start waits for an updater that is finishing.
    int updateWaitMs = 5000;

    // Takes the folder for this copy, or reaches the copy that has it.
    Outcome Claim();
    const records::ProgramLock* Lock() const { return m_lock.get(); }

    // The local socket's name for a program folder (from its real path).
    static QString ServerName(const QString& appFolder);
    // Asks the copy listening on `name` to bring its windows to the front;
    // true when it answered within `timeoutMs` (window events run meanwhile,
    // so a listener in this same process can answer).
    static bool AskToFront(const QString& name, int timeoutMs);

private:
    void Listen();
    QString OtherMachineQuestion() const;

    QString m_appFolder;
    std::unique_ptr<records::ProgramLock> m_lock;
    QLocalServer m_server;
};

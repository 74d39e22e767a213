// Undo of the last update: the files the newest safety copy kept are put
// back, the files that update added are removed, and the last-update date
// is restored, so that the next update offers the same packages again.
//
// A journal (Backup/Undo.txt, naming the safety copy) is written before the
// first file is touched and removed only when the safety copy has been used
// up; every step can be run twice, so an undo that was interrupted is
// finished at the next start of the updater.
#pragma once

#include <QDate>
#include <QString>

namespace modUndo {

inline const QString kJournalFile = QStringLiteral("Backup/Undo.txt");

// The newest safety copy's folder name, "" when there is none.
QString LatestBackup(const QString& appFolder);
// True while an interrupted undo waits to be finished.
bool PendingUndo(const QString& appFolder);

struct UndoOutcome {
    enum Kind { Done, NothingToUndo, Interrupted, Failed };
    Kind kind = NothingToUndo;
    QString backup; // the safety copy used
    int putBack = 0;
    int removed = 0;
    QDate lastUpdate; // the date in force afterwards
    QString why;      // for Failed
};

// Finishes a pending undo, or else undoes the newest safety copy.
UndoOutcome UndoLastUpdate(const QString& appFolder);

// Test hook: the undo stops (as if the program ended) after `steps` files;
// a negative number turns it off.
void SetStopAfterStepsForTests(int steps);

} // namespace modUndo

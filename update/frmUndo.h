// The updater's undo window: tells what the last update changed, undoes it
// on request (or at once, when an earlier undo was interrupted) and starts
// Wayloom again when it is closed with Finish.
#pragma once

#include "update/modUndo.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

class frmUndo : public QWidget {
    Q_OBJECT
public:
    explicit frmUndo(const QString& appFolder, QWidget* parent = nullptr);

    // Runs the undo and shows its outcome.
    void RunUndo();

    // Starts a program detached in a working folder; replaceable for tests.
    std::function<bool(const QString& program, const QString& workingFolder)> StartProgram;

    QLabel* lblStep;
    QLabel* lblInfo;
    QCheckBox* chkLaunchWayloom;
    QPushButton* cmdUndo;
    QPushButton* cmdQuit;

    const modUndo::UndoOutcome& Outcome() const { return m_outcome; }

private:
    void Finish();

    QString m_appFolder;
    modUndo::UndoOutcome m_outcome;
    bool m_finished = false;
};

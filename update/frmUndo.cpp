#include "update/frmUndo.h"

#include "update/InstallLock.h"
#include "update/UpdateBackup.h"
#include "update/modUpdate.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kSameOffer = QStringLiteral("The same packages will be offered again at the next update.");

// "update-2026-12-07_103000" as "2026-12-07 10:30:00".
QString WhenOf(const QString& backup)
{
    QString when = backup.mid(QStringLiteral("update-").size());
    if (when.size() != 17)
        return backup;
    return when.left(10) + u' ' + when.mid(11, 2) + u':' + when.mid(13, 2) + u':' + when.mid(15, 2);
}

} // namespace

frmUndo::frmUndo(const QString& appFolder, QWidget* parent)
    : QWidget(parent), StartProgram([](const QString& program, const QString& folder) {
          return QProcess::startDetached(program, {}, folder);
      }),
      m_appFolder(QDir::fromNativeSeparators(appFolder))
{
    if (!m_appFolder.endsWith(u'/'))
        m_appFolder += u'/';
    setWindowTitle(QStringLiteral("Wayloom: undo last update"));
    lblStep = new QLabel(QStringLiteral("Undo last update"), this);
    lblStep->setObjectName(QStringLiteral("lblStep"));
    QFont titleFont = lblStep->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    lblStep->setFont(titleFont);
    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setWordWrap(true);
    lblInfo->setTextFormat(Qt::PlainText);
    lblInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    chkLaunchWayloom = new QCheckBox(QStringLiteral("Launch Wayloom afterwards"), this);
    chkLaunchWayloom->setObjectName(QStringLiteral("chkLaunchWayloom"));
    chkLaunchWayloom->setChecked(true);
    cmdUndo = new QPushButton(QStringLiteral("Undo"), this);
    cmdUndo->setObjectName(QStringLiteral("cmdUndo"));
    cmdQuit = new QPushButton(QStringLiteral("Quit"), this);
    cmdQuit->setObjectName(QStringLiteral("cmdQuit"));
    for (QPushButton* b : {cmdUndo, cmdQuit})
        b->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdUndo);
    buttons->addWidget(cmdQuit);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(12, 12, 12, 12);
    root->addWidget(lblStep);
    root->addWidget(lblInfo, 1);
    root->addWidget(chkLaunchWayloom);
    root->addLayout(buttons);
    setFixedSize(520, 300);

    connect(cmdUndo, &QPushButton::clicked, this, [this] { m_finished ? Finish() : RunUndo(); });
    connect(cmdQuit, &QPushButton::clicked, this, [this] { close(); });

    if (modUndo::PendingUndo(m_appFolder)) {
        // An undo that was interrupted is finished before anything else.
        RunUndo();
        return;
    }
    const QString latest = modUndo::LatestBackup(m_appFolder);
    if (latest.isEmpty()) {
        lblInfo->setText(QStringLiteral("There is no update to undo: no safety copy of an update was found in the "
                                        "folder Backup."));
        m_finished = true;
        cmdUndo->setText(QStringLiteral("Finish"));
        return;
    }
    lblInfo->setText(QStringLiteral("The update of %1 will be undone: every file it replaced is put back as it was, "
                                    "every file it added is removed, and the date of the last update is set back.\n\n"
                                    "Your characters, captures, chests, notes and settings are not touched.\n\n%2")
                         .arg(WhenOf(latest), kSameOffer));
}

void frmUndo::RunUndo()
{
    // Files go back only while no Wayloom runs from the folder (it would
    // rewrite them from its own memory), as for an install.
    QString why;
    const auto held = modUpdate::HoldForInstall(m_appFolder, why, [] {
        QCoreApplication::processEvents();
        return true;
    });
    if (!held) {
        lblInfo->setText(QStringLiteral("The update could not be undone: %1").arg(why));
        return;
    }
    m_outcome = modUndo::UndoLastUpdate(m_appFolder);
    m_finished = true;
    cmdUndo->setText(QStringLiteral("Finish"));
    const QString date = modUpdate::FormatDate(m_outcome.lastUpdate);
    switch (m_outcome.kind) {
    case modUndo::UndoOutcome::Done:
        lblInfo->setText(QStringLiteral("The update of %1 was undone: %2 files put back, %3 files removed. The last "
                                        "update is again the one of %4.\n\n%5")
                             .arg(WhenOf(m_outcome.backup))
                             .arg(m_outcome.putBack)
                             .arg(m_outcome.removed)
                             .arg(date, kSameOffer));
        break;
    case modUndo::UndoOutcome::NothingToUndo:
        lblInfo->setText(QStringLiteral("There is no update to undo."));
        break;
    case modUndo::UndoOutcome::Interrupted:
        lblInfo->setText(QStringLiteral("The undo stopped before it was complete. It is finished the next time the "
                                        "updater starts."));
        break;
    case modUndo::UndoOutcome::Failed:
        lblInfo->setText(QStringLiteral("The update could not be undone: %1.\n\nThe files not put back yet are kept "
                                        "in the folder Backup.")
                             .arg(m_outcome.why));
        break;
    }
}

void frmUndo::Finish()
{
    if (chkLaunchWayloom->isChecked() && StartProgram)
        StartProgram(m_appFolder + modUpdate::WayloomExecutable(), m_appFolder);
    close();
}

#include "elite/frmBackupNotice.h"

#include "elite/modCharacters.h"

#include <QMessageBox>
#include <QWidget>

void ShowBackupNotice(QWidget* parent)
{
    const QString text = modCharacters::TakeBackupNotice();
    if (!text.isEmpty())
        QMessageBox::warning(parent, parent ? parent->windowTitle() : QStringLiteral("Wayloom"), text);
}

#include "elite/frmMarkEliteAsCaptured.h"

#include "core/TextNumbers.h"
#include "elite/frmBackupNotice.h"
#include "elite/modCharacterDialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

frmMarkEliteAsCaptured::frmMarkEliteAsCaptured(World& world, int elite, int preselected, bool topMost,
                                               std::function<void()> saved, QWidget* parent)
    : QDialog(parent), m_world(world), m_elite(elite), m_saved(std::move(saved))
{
    const auto& t = m_world.language;
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowStaysOnTopHint, topMost);
    const bool known = elite >= 0 && elite <= m_world.elite.highest();
    setWindowTitle(QStringLiteral("Elite: ") +
                   (known ? m_world.elite.EliteSkills[static_cast<size_t>(elite)].Name : QString()));

    lblExplanation = new QLabel(t(Text::CaptureExplanation), this);
    lblExplanation->setWordWrap(true);
    lblCharacters = new QLabel(t(Text::Characters), this);
    lstCharacters = new QListWidget(this);
    lstCharacters->setMinimumSize(260, lstCharacters->fontMetrics().height() * 9);
    cmdSave = new QPushButton(t(Text::SaveCapture), this);
    cmdCancel = new QPushButton(t(Text::Cancel), this);
    cmdSave->setEnabled(false);
    cmdSave->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblExplanation);
    layout->addWidget(lblCharacters);
    layout->addWidget(lstCharacters, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    connect(lstCharacters, &QListWidget::itemSelectionChanged, this,
            [this] { cmdSave->setEnabled(!lstCharacters->selectedItems().isEmpty()); });
    connect(cmdSave, &QPushButton::clicked, this, &frmMarkEliteAsCaptured::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    for (const PanelEntry& e : modCharacterDialogs::UncapturedCharacters(m_world.characters, m_world.elite, elite)) {
        auto* item = new QListWidgetItem(e.text, lstCharacters);
        item->setData(Qt::UserRole, e.data);
        if (preselected > 0 && e.data == preselected)
            lstCharacters->setCurrentItem(item);
    }
}

void frmMarkEliteAsCaptured::cmdSave_Click()
{
    const auto chosen = lstCharacters->selectedItems();
    if (chosen.isEmpty())
        return;
    const QListWidgetItem* item = chosen.constFirst();
    QString error;
    if (!modCharacterDialogs::MarkCaptured(m_world.appFolder, m_world.elite, m_elite, item->data(Qt::UserRole).toInt(),
                                           &error)) {
        QMessageBox::critical(this, windowTitle(),
                              QStringLiteral("The capture could not be saved (%1). Nothing was changed.").arg(error));
        ShowBackupNotice(this);
        return;
    }
    ShowBackupNotice(this);
    if (m_saved)
        m_saved();
    accept();
}

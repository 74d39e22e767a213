#include "elite/frmCharacterList.h"

#include "core/TextNumbers.h"
#include "elite/frmBackupNotice.h"
#include "elite/frmManageCharacter.h"
#include "elite/modCharacterDialogs.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

frmCharacterList::frmCharacterList(World& world, bool topMost, QWidget* parent)
    : QDialog(parent), m_world(world), m_topMost(topMost)
{
    const auto& t = m_world.language;
    setWindowTitle(t(Text::Characters));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowStaysOnTopHint, topMost);

    lblCharacters = new QLabel(t(Text::ManageCharacters), this);
    lstCharacters = new QListWidget(this);
    lstCharacters->setMinimumSize(220, lstCharacters->fontMetrics().height() * 12);
    cmdCreate = new QPushButton(t(Text::Create), this);
    cmdModify = new QPushButton(t(Text::Modify), this);
    cmdDelete = new QPushButton(t(Text::Delete), this);
    cmdCancel = new QPushButton(t(Text::Cancel), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(lblCharacters, 0, 0, 1, 2);
    layout->addWidget(lstCharacters, 1, 0, 5, 1);
    layout->addWidget(cmdCreate, 1, 1);
    layout->addWidget(cmdModify, 2, 1);
    layout->addWidget(cmdDelete, 3, 1);
    layout->setRowStretch(4, 1);
    layout->addWidget(cmdCancel, 5, 1);

    // Only a chosen entry counts, not the focus frame the list puts on its
    // first entry.
    connect(lstCharacters, &QListWidget::itemSelectionChanged, this, [this] {
        const bool chosen = SelectedItem() != nullptr;
        cmdModify->setEnabled(chosen);
        cmdDelete->setEnabled(chosen);
    });
    connect(lstCharacters, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { EditCharacter(item->data(Qt::UserRole).toInt()); });
    connect(cmdCreate, &QPushButton::clicked, this, [this] { EditCharacter(-1); });
    connect(cmdModify, &QPushButton::clicked, this, [this] {
        if (const QListWidgetItem* item = SelectedItem())
            EditCharacter(item->data(Qt::UserRole).toInt());
    });
    connect(cmdDelete, &QPushButton::clicked, this, &frmCharacterList::cmdDelete_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    FillList();
}

QListWidgetItem* frmCharacterList::SelectedItem() const
{
    const auto chosen = lstCharacters->selectedItems();
    return chosen.isEmpty() ? nullptr : chosen.constFirst();
}

void frmCharacterList::FillList()
{
    lstCharacters->clear();
    const auto& names = m_world.characters.Characters;
    for (int c = 1; c <= m_world.characters.highest(); ++c) {
        if (names[static_cast<size_t>(c)].isEmpty())
            continue;
        auto* item = new QListWidgetItem(names[static_cast<size_t>(c)], lstCharacters);
        item->setData(Qt::UserRole, c);
    }
    lstCharacters->setCurrentRow(-1);
    cmdModify->setEnabled(false);
    cmdDelete->setEnabled(false);
}

void frmCharacterList::EditCharacter(int c)
{
    frmManageCharacter editor(m_world, c, m_topMost, this);
    editor.exec();
    FillList();
}

void frmCharacterList::cmdDelete_Click()
{
    const QListWidgetItem* item = SelectedItem();
    if (!item)
        return;
    const int c = item->data(Qt::UserRole).toInt();
    const QString question =
        m_world.language(Text::DeleteCharacterQuestion) + u' ' + item->text() + QStringLiteral(" ?");
    if (QMessageBox::question(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) !=
        QMessageBox::Yes)
        return;
    QString error;
    using modCharacterDialogs::DeleteResult;
    const DeleteResult result = modCharacterDialogs::DeleteCharacter(
        m_world.appFolder, {m_world.characters, m_world.elite, m_world.treasures}, c, &error);
    if (result != DeleteResult::NothingChanged && deleted)
        deleted(c); // gone from the list, whatever was left of its files
    switch (result) {
    case DeleteResult::Deleted:
        break;
    case DeleteResult::NothingChanged:
        QMessageBox::critical(this, windowTitle(),
                              QStringLiteral("The character could not be deleted (%1). Nothing was changed: the "
                                             "character and its files are as they were.")
                                  .arg(error));
        break;
    case DeleteResult::FilesLeft:
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("The character was deleted, but not all of its files could be removed "
                                            "(%1).")
                                 .arg(error));
        break;
    }
    ShowBackupNotice(this);
    FillList();
}

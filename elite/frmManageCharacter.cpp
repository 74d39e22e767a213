#include "elite/frmManageCharacter.h"

#include "core/TextNumbers.h"
#include "elite/frmBackupNotice.h"
#include "elite/modCharacterDialogs.h"
#include "panel/modPanelLists.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

void FillFilterList(QListWidget* list, const PanelList& entries)
{
    list->clear();
    for (const PanelEntry& e : entries.entries) {
        auto* item = new QListWidgetItem(e.text, list);
        item->setData(Qt::UserRole, e.data);
    }
    list->setCurrentRow(0);
}

int SelectedData(const QListWidget* list, int fallback)
{
    const QListWidgetItem* item = list->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : fallback;
}

} // namespace

frmManageCharacter::frmManageCharacter(World& world, int character, bool topMost, QWidget* parent)
    : QDialog(parent), m_world(world)
{
    const auto& t = m_world.language;
    setWindowTitle(t(Text::CharacterEditorTitle));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowStaysOnTopHint, topMost);

    lblName = new QLabel(t(Text::CharacterName), this);
    txtName = new QLineEdit(this);
    txtName->setMaxLength(60);
    txtName->installEventFilter(this);
    lblName->setBuddy(txtName);
    // The campaign list takes the panel's campaign caption (the note editor's
    // body caption, which the language file shares with it, reads "Details").
    lblCampaign = new QLabel(t(Text::Campaign), this);
    lstCampaign = new QListWidget(this);
    lblProfession = new QLabel(t(Text::CharacterProfession), this);
    lstProfession = new QListWidget(this);
    for (QListWidget* list : {lstCampaign, lstProfession})
        list->setMinimumHeight(list->fontMetrics().height() * 7);
    lblEliteList = new QLabel(t(Text::CapturedSkills), this);
    txtEliteFilter = new QLineEdit(this);
    txtEliteFilter->setPlaceholderText(QStringLiteral("Filter skills"));
    txtEliteFilter->setClearButtonEnabled(true);
    lstElite = new QListWidget(this);
    lstElite->setMinimumSize(380, lstElite->fontMetrics().height() * 16);
    cmdSelectAll = new QPushButton(t(Text::SelectAll), this);
    cmdDeselectAll = new QPushButton(t(Text::DeselectAll), this);
    cmdInvertSelection = new QPushButton(t(Text::InvertSelection), this);
    cmdSave = new QPushButton(t(Text::Save), this);
    cmdCancel = new QPushButton(t(Text::Cancel), this);
    cmdSave->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(lblName);
    nameRow->addWidget(txtName, 1);
    layout->addLayout(nameRow);
    auto* filters = new QGridLayout;
    filters->addWidget(lblCampaign, 0, 0);
    filters->addWidget(lblProfession, 0, 1);
    filters->addWidget(lstCampaign, 1, 0);
    filters->addWidget(lstProfession, 1, 1);
    layout->addLayout(filters);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(lblEliteList);
    listRow->addStretch(1);
    listRow->addWidget(txtEliteFilter, 1);
    layout->addLayout(listRow);
    layout->addWidget(lstElite, 1);
    auto* selection = new QHBoxLayout;
    for (QPushButton* b : {cmdSelectAll, cmdDeselectAll, cmdInvertSelection})
        selection->addWidget(b);
    layout->addLayout(selection);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    connect(lstCampaign, &QListWidget::currentRowChanged, this, [this] { FillEliteList(); });
    connect(lstProfession, &QListWidget::currentRowChanged, this, [this] { FillEliteList(); });
    connect(txtEliteFilter, &QLineEdit::textChanged, this, [this] { FillEliteList(); });
    connect(lstElite, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int n = item->data(Qt::UserRole).toInt();
        if (n >= 0 && static_cast<size_t>(n) < m_working.size())
            m_working[static_cast<size_t>(n)] = item->checkState() == Qt::Checked;
    });
    connect(cmdSelectAll, &QPushButton::clicked, this,
            [this] { ApplySelectionButton(static_cast<int>(modCharacterDialogs::Selection::SelectAll)); });
    connect(cmdDeselectAll, &QPushButton::clicked, this,
            [this] { ApplySelectionButton(static_cast<int>(modCharacterDialogs::Selection::DeselectAll)); });
    connect(cmdInvertSelection, &QPushButton::clicked, this,
            [this] { ApplySelectionButton(static_cast<int>(modCharacterDialogs::Selection::Invert)); });
    connect(cmdSave, &QPushButton::clicked, this, &frmManageCharacter::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    SetCurrentCharacter(character);
}

void frmManageCharacter::SetCurrentCharacter(int c)
{
    const auto& chars = m_world.characters;
    m_character = c >= 1 && c <= chars.highest() && !chars.Characters[static_cast<size_t>(c)].isEmpty() ? c : -1;
    m_working = modCharacterDialogs::WorkingFlags(m_world.elite, m_character);

    const QSignalBlocker holdCampaign(lstCampaign), holdProfession(lstProfession);
    PanelList professions =
        modPanelLists::FillProfessionCombo(m_world.professions, m_world.language, Text::AllEntry).list;
    if (!professions.empty())
        professions.entries.front().data = -1;
    FillFilterList(lstProfession, professions);
    FillFilterList(lstCampaign, modPanelLists::FillCampaignList(m_world.campaigns, m_world.language).list);
    txtName->setText(m_character > 0 ? chars.Characters[static_cast<size_t>(m_character)] : QString());
    FillEliteList();
}

void frmManageCharacter::FillEliteList()
{
    const auto entries =
        modCharacterDialogs::EditorEliteEntries(m_world.elite, m_world.professions, SelectedData(lstCampaign, -1),
                                                SelectedData(lstProfession, -1), txtEliteFilter->text());
    const QSignalBlocker hold(lstElite);
    lstElite->clear();
    for (const PanelEntry& e : entries) {
        auto* item = new QListWidgetItem(e.text, lstElite);
        item->setData(Qt::UserRole, e.data);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        const bool captured = static_cast<size_t>(e.data) < m_working.size() && m_working[static_cast<size_t>(e.data)];
        item->setCheckState(captured ? Qt::Checked : Qt::Unchecked);
    }
}

void frmManageCharacter::ApplySelectionButton(int selection)
{
    std::vector<PanelEntry> listed;
    listed.reserve(static_cast<std::size_t>(lstElite->count()));
    for (int i = 0; i < lstElite->count(); ++i)
        listed.push_back({QString(), lstElite->item(i)->data(Qt::UserRole).toInt()});
    modCharacterDialogs::ApplySelection(m_working, listed, static_cast<modCharacterDialogs::Selection>(selection));
    const QSignalBlocker hold(lstElite);
    for (int i = 0; i < lstElite->count(); ++i) {
        QListWidgetItem* item = lstElite->item(i);
        const auto n = static_cast<size_t>(item->data(Qt::UserRole).toInt());
        item->setCheckState(n < m_working.size() && m_working[n] ? Qt::Checked : Qt::Unchecked);
    }
}

void frmManageCharacter::ShowError(const QString& text, bool focusName)
{
    QMessageBox::critical(this, windowTitle(), text);
    if (focusName) {
        txtName->setFocus();
        txtName->selectAll();
    }
}

void frmManageCharacter::cmdSave_Click()
{
    using modCharacterDialogs::NameProblem;
    const auto& t = m_world.language;
    const auto result =
        modCharacterDialogs::SaveCharacter(m_world.appFolder, {m_world.characters, m_world.elite, m_world.treasures},
                                           m_character, txtName->text(), m_working);
    switch (result.problem) {
    case NameProblem::Empty:
        return ShowError(t(Text::NameMissing), true);
    case NameProblem::Taken:
        return ShowError(t(Text::NameTaken), true);
    case NameProblem::LineBreakOrTab:
        return ShowError(QStringLiteral("A character name cannot hold tabs, line breaks or other control characters."),
                         true);
    case NameProblem::NotWindows1252:
        return ShowError(QStringLiteral("A character name can only hold Western European letters and signs; "
                                        "please leave out the others."),
                         true);
    case NameProblem::None:
        break;
    }
    if (result.full)
        return ShowError(QStringLiteral("There are already %1 characters; delete one before creating another.")
                             .arg(modCharacters::kMaxCharacterNumber),
                         false);
    if (!result.number) {
        ShowError(QStringLiteral("The character could not be saved (%1). Nothing was changed.").arg(result.error),
                  false);
        ShowBackupNotice(this);
        return;
    }
    m_character = *result.number;
    ShowBackupNotice(this);
    accept();
}

bool frmManageCharacter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtName && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, txtName, [box = txtName] { box->selectAll(); });
    return QDialog::eventFilter(watched, event);
}

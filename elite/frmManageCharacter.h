// The character editor: one character's name and the full set of elite
// skills it has captured, with campaign and profession filters and bulk
// selection buttons. Nothing reaches the tables before cmdSave.
#pragma once

#include "world/World.h"

#include <QDialog>

#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class frmManageCharacter : public QDialog {
    Q_OBJECT

public:
    // `character` = -1 for a new character.
    frmManageCharacter(World& world, int character, bool topMost, QWidget* parent = nullptr);

    // Loads the dialog for character c (-1 = new): takes the working copy of
    // its capture flags and fills the lists.
    void SetCurrentCharacter(int c);
    int CurrentCharacter() const { return m_character; }
    // The working copy, one flag per elite number.
    const std::vector<bool>& WorkingFlags() const { return m_working; }

    QLabel *lblName = nullptr, *lblCampaign = nullptr, *lblProfession = nullptr, *lblEliteList = nullptr;
    QLineEdit* txtName = nullptr;
    QListWidget* lstCampaign = nullptr;
    QListWidget* lstProfession = nullptr;
    QListWidget* lstElite = nullptr;
    // Narrows lstElite to the skills whose text contains what is typed.
    QLineEdit* txtEliteFilter = nullptr;
    QPushButton *cmdSelectAll = nullptr, *cmdDeselectAll = nullptr, *cmdInvertSelection = nullptr;
    QPushButton *cmdSave = nullptr, *cmdCancel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillEliteList();
    void ApplySelectionButton(int selection);
    void cmdSave_Click();
    void ShowError(const QString& text, bool focusName);

    World& m_world;
    int m_character = -1;
    std::vector<bool> m_working;
};

// The list of the player's characters with create, modify and delete.
#pragma once

#include "world/World.h"

#include <QDialog>

#include <functional>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

class frmCharacterList : public QDialog {
    Q_OBJECT

public:
    frmCharacterList(World& world, bool topMost, QWidget* parent = nullptr);

    // Told of each character deleted (its number).
    std::function<void(int character)> deleted;

    QLabel* lblCharacters = nullptr;
    QListWidget* lstCharacters = nullptr;
    QPushButton *cmdCreate = nullptr, *cmdModify = nullptr, *cmdDelete = nullptr, *cmdCancel = nullptr;

private:
    QListWidgetItem* SelectedItem() const;
    void FillList();
    void EditCharacter(int c);
    void cmdDelete_Click();

    World& m_world;
    bool m_topMost = false;
};

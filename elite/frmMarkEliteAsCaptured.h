// Marks one elite skill as captured by one of the characters that have not
// captured it yet.
#pragma once

#include "world/World.h"

#include <QDialog>

#include <functional>

class QLabel;
class QListWidget;
class QPushButton;

class frmMarkEliteAsCaptured : public QDialog {
    Q_OBJECT

public:
    // `preselected`: the character chosen in the panel's character filter (0
    // = none); `saved` runs after a capture was recorded (the panel refilters).
    frmMarkEliteAsCaptured(World& world, int elite, int preselected, bool topMost, std::function<void()> saved,
                           QWidget* parent = nullptr);

    int EliteNumber() const { return m_elite; }

    QLabel *lblCharacters = nullptr, *lblExplanation = nullptr;
    QListWidget* lstCharacters = nullptr;
    QPushButton *cmdSave = nullptr, *cmdCancel = nullptr;

private:
    void cmdSave_Click();

    World& m_world;
    int m_elite = 0;
    std::function<void()> m_saved;
};

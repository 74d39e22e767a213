// Records the date on which one character opened one treasure chest: the
// characters with their dates, and a date entry of three small boxes in the
// order of the system's short date format.
#pragma once

#include "layers/modTreasureDate.h"
#include "world/World.h"

#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class frmMarkTreasureAsOpened : public QDialog {
    Q_OBJECT

public:
    // `saved` runs after a date was recorded (the panel refilters the
    // treasures and redraws the map). `shortDateFormat` (Qt date format
    // letters) decides the box order; empty = the system's short format.
    frmMarkTreasureAsOpened(World& world, int treasure, bool topMost, std::function<void()> saved,
                            const QString& shortDateFormat = QString(), QWidget* parent = nullptr);

    int TreasureNumber() const { return m_treasure; }
    const modTreasureDate::DateOrder& Order() const { return m_order; }

    QLabel *lblExplanation = nullptr, *lblCharacters = nullptr;
    QListWidget* lstCharacters = nullptr;
    std::array<QLineEdit*, 3> txtDate{};
    std::array<QLabel*, 2> lblSeparatore{};
    QPushButton *cmdSave = nullptr, *cmdCancel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void DetectDateOrder(const QString& shortDateFormat);
    void ArrangeDateBoxes();
    // The width a date box needs to show `digits` of the widest digit uncut.
    int DateBoxWidthFor(int digits) const;
    void ApplyCaptions();
    void FillCharacterList();
    void UpdateSaveCaption();
    std::array<QString, 3> BoxTexts() const;
    void cmdSave_Click();

    World& m_world;
    int m_treasure = 0;
    std::function<void()> m_saved;
    modTreasureDate::DateOrder m_order = modTreasureDate::kDayMonthYear;
    QWidget* m_dateRow = nullptr;
};

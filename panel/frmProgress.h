// Every character's progress at a glance: one column per character, rows per
// campaign and per profession with "captured / total" and a small bar, a
// total row, then the chests each character opened per campaign. A click (or
// Enter or Space) on a cell sets the panel's elite or chests tab to show
// exactly what that character still lacks there.
#pragma once

#include "panel/modProgress.h"
#include "world/World.h"

#include <QWidget>

#include <vector>

class QLabel;
class QTableWidget;
class frmMenu;

class frmProgress : public QWidget {
    Q_OBJECT
public:
    frmProgress(frmMenu& menu, World& world, QWidget* parent = nullptr);

    // Counts everything anew (the character list changed, or the window is
    // opened) and sizes the window to its content within the screen.
    void Rebuild();
    // Recounts the columns of `characters` after their captures or chests
    // changed (everything anew when one of them has no column).
    void Recount(const std::vector<int>& characters);

    const modProgress::Overview& Overview() const { return m_overview; }
    // The table row showing overview row `row` (-1 when none does).
    int TableRow(int row) const;
    // What a click on the cell of overview row `row` and character column
    // `column` does: asks the elite tab (or the chests tab) to show what the
    // character still lacks there and makes it the active tab.
    void ChooseCell(int row, int column);
    // Moves the window (frame included, as far as it is known) onto its screen.
    void KeepOnScreen();

    QTableWidget* tblProgress = nullptr;
    QLabel* lblNoCharacters = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Fill();
    void FillColumn(int column);
    void FitToContent();

    frmMenu& m_menu;
    World& m_world;
    modProgress::Overview m_overview;
    std::vector<int> m_tableRowOf; // by overview row
};

// What every page of the control panel shares: its frame in the tab's colour,
// the geometry of captions, combos, text boxes and lists, and the refilling
// of a list or combo together with the state the map reads. Each tab is a
// page of its own (frmEliteTab, frmCollectorsTab, ...); the panel keeps the
// tab strip, the menu bar and the calls between tabs.
#pragma once

#include "core/World.h"
#include "panel/PanelState.h"
#include "panel/modPanelLists.h"
#include "panel/modTabRules.h"

#include <QColor>
#include <QWidget>

#include <array>
#include <initializer_list>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class frmMenu;

namespace PanelGeometry {
constexpr int kPanelWidth = 330; // width of the panel window
constexpr int kMargin = 8;       // side margin of the tab strip and pages, and inside a page
constexpr int kPageWidth = kPanelWidth - 2 * kMargin;
constexpr int kPageBorder = 2;
constexpr int kRow = 26; // one caption + control row
constexpr int kCaptionWidth = 118;
constexpr int kFieldLeft = kMargin + kCaptionWidth + 2;
constexpr int kFieldWidth = kPageWidth - kFieldLeft - kMargin;
constexpr int kControlHeight = 22;
constexpr int kLabelHeight = 18;
constexpr int kInnerWidth = kPageWidth - 2 * kMargin;
} // namespace PanelGeometry

// The colour of tab `tab` (the colour table's entry, grey without one).
QColor PanelTabColour(const World& world, int tab);

// Enables or disables every control given (null ones are skipped).
void SetControlsEnabled(bool enabled, std::initializer_list<QWidget*> widgets);

// A combo whose chosen text is wider than its field shows it a little
// smaller rather than lose letters.
void FitComboText(QComboBox* combo);
// Places option buttons side by side from `left` within `width`, each as
// wide as its text needs, the spare room shared out between them; when they
// do not fit, their text shrinks a little.
void LayOutOptions(std::initializer_list<QRadioButton*> options, int left, int top, int width);

// Refills a combo (signals held back) and its model from `fill`; the combo
// and its caption are enabled as the fill says.
void ShowCombo(QComboBox* combo, PanelList& model, const modPanelLists::ComboFill& fill, QLabel* caption);
// Refills a list box and its model from entries, nothing selected.
void ShowList(QListWidget* list, PanelList& model, std::vector<PanelEntry> entries);

class frmPanelTab : public QWidget {
    Q_OBJECT
public:
    frmPanelTab(frmMenu& menu, World& world, PanelState& panel, int tab, QWidget* parent);

    // Sets every caption from the language file.
    virtual void ApplyCaptions() = 0;
    // Fits the page's lists to its inner height.
    virtual void LayOut(int innerHeight) = 0;

protected:
    void paintEvent(QPaintEvent* event) override;

    QLabel* Caption(int x, int y, int w = PanelGeometry::kCaptionWidth);
    QComboBox* Combo(int y);
    QLineEdit* TextBox(int y);
    QListWidget* ListBox(int y, int h);
    QRadioButton* Option(QWidget* parent, int x, int y, int w);

    // A text box writes its state and runs `changed` on every change.
    void BindText(QLineEdit* box, QString& state, std::function<void()> changed);
    // A list's current row is mirrored into its state before `clicked` runs
    // (also when the row clicked is already the current one).
    void BindList(QListWidget* list, PanelList& state, const std::function<void()>& clicked);

    // Switches the map to the target's region, redraws it and centres it on
    // the target's point: what choosing an entry of a layer's list does.
    // Nothing without a target.
    void ShowOnMap(const std::optional<modTabRules::MapTarget>& target);
    // Empties the elite tab's place list (every layer filter does this).
    void ClearEliteLocations();
    void RedrawMap();

    frmMenu& m_menu;
    World& m_world;
    PanelState& m_panel;
    QColor m_colour;
};

// What every page of the control panel shares: its frame in the tab's colour,
// the geometry of captions, combos, text boxes and lists, the refilling of a
// list or combo together with the state the map reads, and the showing of a
// thing the search found. Each tab is a page of its own (frmEliteTab,
// frmCollectorsTab, ...) that knows only its panel context; the panel keeps
// the tab strip, the menu bar and the calls between tabs.
#pragma once

#include "panel/PanelContext.h"
#include "panel/modPanelLists.h"
#include "panel/modSearch.h"
#include "panel/modTabRules.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QColor>
#include <QWidget>

#include <array>
#include <functional>
#include <initializer_list>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

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

// Chooses the entry with item data `data` in an enabled combo (its first
// entry when no entry has that data), which runs the combo's change handling.
void ChooseData(QComboBox* combo, int data);
// Puts `index` into an enabled combo when it is a valid index other than the
// current one, which runs the combo's change handling.
void ChooseIndex(QComboBox* combo, int index);
// Sets a text box's text when it differs (which runs the box's filter).
void ChooseText(QLineEdit* box, const QString& text);

// The "Done: hide / dim" switch of a tab whose list can show what the
// character chosen in it has done: the caption "Done:" and the option
// buttons "hide" and "dim", in a frame of their own so that they are
// exclusive only with each other.
struct DoneSwitch {
    QWidget* frame = nullptr;
    QLabel* caption = nullptr;
    QRadioButton* hide = nullptr;
    QRadioButton* dim = nullptr;
};

class frmPanelTab : public QWidget {
    Q_OBJECT
public:
    frmPanelTab(PanelContext& context, int tab, QWidget* parent);

    // Sets every caption from the language file.
    virtual void ApplyCaptions() = 0;
    // Fits the page's lists to its inner height.
    virtual void LayOut(int innerHeight) = 0;
    // Shows a thing the search found the way this tab's list shows it: the
    // entry selected as a click would (whose handling switches the map to its
    // region, centres it and makes the marker blink). Filters that hide it are
    // loosened first: the region filter set to the thing's region, then the
    // tab's own filters emptied.
    virtual void Reveal(const modSearch::Result& found) = 0;

protected:
    void paintEvent(QPaintEvent* event) override;

    QLabel* Caption(int x, int y, int w = PanelGeometry::kCaptionWidth);
    QComboBox* Combo(int y);
    QLineEdit* TextBox(int y);
    QListWidget* ListBox(int y, int h);
    QRadioButton* Option(QWidget* parent, int x, int y, int w);

    // The done switch, bound to `dim` (a panel state flag): a change by the
    // player stores it and runs `changed`.
    DoneSwitch MakeDoneSwitch(bool& dim, const std::function<void()>& changed);
    // Puts the switch, sized to its texts, at the right end of the row at
    // `y`, and narrows `rowCaption` (the list's count on the same row) to the
    // room left of it.
    static void PlaceDoneSwitch(const DoneSwitch& done, int y, QLabel* rowCaption);
    // Shows `dim` in the switch without running its change.
    static void ShowDoneSwitch(const DoneSwitch& done, bool dim);

    // A text box writes its state and runs `changed` on every change.
    void BindText(QLineEdit* box, QString& state, std::function<void()> changed);
    // A list's current row is mirrored into its state before `clicked` runs
    // (also when the row clicked is already the current one).
    void BindList(QListWidget* list, PanelList& state, const std::function<void()>& clicked);
    // A right click on an entry of `list` (item data = the thing) opens the
    // menu of characters with their ticks.
    void OfferMarking(QListWidget* list, modMarking::Kind kind);

    // Switches the map to the target's region, redraws it and centres it on
    // the target's point: what choosing an entry of a layer's list does.
    // Nothing without a target or a map.
    void ShowOnMap(const std::optional<modTabRules::MapTarget>& target);
    // Tells the panel that this tab's filter rebuilt its list (the elite tab
    // empties its place list then).
    void ReportFiltered();
    void RedrawMap();

    // Where a thing the search found is chosen: its list and the model the
    // list mirrors; for skills and pets also the list of places, its model and
    // the places the tab's filters would list.
    struct Listing {
        QListWidget* list;
        const PanelList& model;
        QListWidget* placeList = nullptr;
        const PanelList* places = nullptr;
        std::function<std::vector<PanelEntry>()> placesOf = {};
    };
    // Chooses the thing (and its place) in its list as a click would, after
    // loosening the filters as needed: first the region filter, then
    // `clearOwn` (the tab's own filters).
    void RevealIn(const modSearch::Result& found, const Listing& listing, const std::function<void()>& clearOwn);

    PanelContext& m_context;
    World& m_world;
    PanelState& m_panel;
    int m_tab;
    QColor m_colour;
};

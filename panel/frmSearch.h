// The panel's search field: finds any named thing of the world as the user
// types, and shows a chosen result the way its tab would: the tab made
// active with its layer shown, the entry selected in the tab's list (whose
// own click handling switches the map to the region, centres it and makes
// the marker blink). Filters that hide the entry are loosened first: the
// region filter is set to the thing's region, then the tab's own filters are
// emptied.
#pragma once

#include "panel/modSearch.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QObject>
#include <QRect>

#include <functional>
#include <vector>

class QLineEdit;
class QListWidget;
class frmMenu;

class frmSearch : public QObject {
    Q_OBJECT
public:
    // Results listed at most; the field narrows a longer list.
    static constexpr int kListedResults = 100;

    // The field and its result list are made children of `menu`.
    frmSearch(frmMenu& menu, World& world, PanelState& panel);

    // The index from the world (the panel's load), and after a note changed.
    void Rebuild();
    void UpdateNotes();
    // Puts the field at `field`; the result list opens below it, as wide as
    // `listArea` and reaching down to its bottom at most.
    void Place(QRect field, QRect listArea);
    // Ctrl+F: the panel to the front, the field focused with its text selected.
    void Focus();
    // Shows result `row` of the list (Enter, a click).
    void Choose(int row);
    void Choose(const modSearch::Result& result);

    const std::vector<modSearch::Result>& Results() const { return m_results; }
    bool ResultsShown() const;

    QLineEdit* txtSearch = nullptr;
    QListWidget* lstSearchResults = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refresh();
    void ShowResults();
    void HideResults();
    void MoveCurrent(int step);

    // The row of `data` in the list `model` mirrors, once `listed` says the
    // thing is shown there, loosening filters as needed: first the region
    // filter (set to the thing's region), then `clearOwn` (the tab's own
    // filters). -1 when it cannot be listed at all.
    int ListedRow(const modSearch::Result& r, const std::function<int()>& row, const std::function<void()>& clearOwn);
    // The region filter set to the thing's campaign and region, every zone.
    void ShowArea(const modSearch::Result& r);
    void ShowTab(int tab);
    // Where a kind is chosen: its list and the model the list mirrors; for
    // skills and pets also the list of places, its model and the places the
    // panel's filters would list.
    struct Listing {
        QListWidget* list;
        const PanelList& model;
        QListWidget* placeList = nullptr;
        const PanelList* places = nullptr;
        std::function<std::vector<PanelEntry>()> placesOf = {};
    };
    // Chooses the thing (and its place) in its list, as a click would.
    void SelectIn(const modSearch::Result& r, const Listing& listing, const std::function<void()>& clearOwn);
    void ChooseArea(const modSearch::Result& r);
    void ClearProfession();

    frmMenu& m_menu;
    World& m_world;
    PanelState& m_panel;
    modSearch::SearchIndex m_index;
    std::vector<modSearch::Result> m_results;
    QRect m_listArea;
};

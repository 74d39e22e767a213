// The panel's search field: finds any named thing of the world as the user
// types, and shows a chosen result through its tab: the tab made active with
// its layer shown, then asked to reveal the thing (frmPanelTab::Reveal).
#pragma once

#include "panel/modSearch.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QObject>
#include <QRect>

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
    frmSearch(frmMenu& menu, World& world);

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

    frmMenu& m_menu;
    World& m_world;
    modSearch::SearchIndex m_index;
    std::vector<modSearch::Result> m_results;
    QRect m_listArea;
};

// The control panel: a frameless window beside the map with its own title,
// a menu bar, five tabs in rows of three (each with a show box) and the
// filters and lists of every layer, one tab each. The tabs write the
// PanelState that the map and the layers read and know only their panel
// context; the panel connects the context to the map window and runs the
// filters of the layers in their order when a tab says a shared filter
// changed.
#pragma once

#include "panel/MenuCommands.h"
#include "panel/PanelContext.h"
#include "windows/WindowDrag.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QPoint>
#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class frmEliteTab;
class frmCollectorsTab;
class frmGreensTab;
class frmNotesTab;
class frmPanelTab;
class frmProgress;
class frmTreasuresPetsTab;
class frmSearch;
class MarkingMenu;
namespace mapview {
class frmMap;
}
using mapview::frmMap;

class frmMenu : public QWidget {
    Q_OBJECT

public:
    // Width of the panel, pixels.
    static constexpr int kPanelWidth = 330;

    frmMenu(World& world, PanelState& panel, QWidget* parent = nullptr);
    ~frmMenu() override;

    // The map window the panel drives (owned by the panel as its window);
    // its region menu, note commands and marker double clicks are wired here.
    void SetMap(frmMap* map);
    frmMap* Map() const { return m_map; }

    // What the program does for the panel's commands: quit (cmdQuit, the
    // window closed), start the updater, open the change history, open a
    // document or address; open the capture dialog for a skill, the opened
    // dialog for a chest; the legend, the character dialogs, the credits and
    // the information window.
    struct Commands {
        std::function<void()> quitProgram;
        std::function<void()> startUpdater;
        // Starts the updater in its undo mode and quits, as startUpdater.
        std::function<void()> undoLastUpdate;
        std::function<void()> showHistory;
        std::function<void(const QString&)> openDocument;
        std::function<void(int elite)> markEliteAsCaptured;
        std::function<void(int treasure)> markTreasureAsOpened;
        std::function<void()> toggleLegend;
        std::function<void()> manageCharacters;
        std::function<void()> showCredits;
        std::function<void()> showInformation;
    };
    void SetCommands(Commands commands) { m_commands = std::move(commands); }

    // The panel's load: fills the lists, restores the saved selection, runs
    // the filters of every layer (the last one redraws the map), sets the
    // captions and selects tab 0.
    void Load();
    // The panel's unload: writes "Data/Options.txt" from the live panel and
    // the placement values the quit procedure stored in the settings.
    // `maximisedLayout` = the windows fill the work area. False (with the
    // reason) when the file could not be written.
    bool Unload(bool maximisedLayout, QString* error = nullptr);

    // Layer filters (each returns at once while the panel is not ready;
    // `redraw` redraws the map afterwards).
    void FilterElites(bool redraw);
    void FilterCollectors(bool redraw);
    void FilterGreens(bool redraw);
    void FilterNotes(bool redraw);
    void FilterTreasures(bool redraw);
    void FilterPets(bool redraw);
    // Switches the map to the place chosen in lstLocations and centres it.
    void SelectEliteLocation();

    // A region item of the map's region menu: campaign c (chosen by item data)
    // and region r, which loads and redraws the map.
    void SelectRegion(int c, int r);

    // A click on tab label i.
    void SelectTab(int i);
    // Tab i made active with its layer shown on the map.
    void ShowTab(int i);
    // Keeps the panel, the map window and the legend on top of other windows
    // when the always-on-top value is 1.
    void ApplyTopMost();
    // A row of the menu bar's popup menus: runs the row's command.
    void OnMenuEntryClick(int menu, int entry);
    void RunMenuCommand(MenuCommand command);

    // The tabs (tab i of the strip is Tab(i)) and the context they share.
    frmPanelTab& Tab(int i) const;
    frmEliteTab& EliteTab() const { return *m_eliteTab; }
    frmCollectorsTab& CollectorsTab() const { return *m_collectorsTab; }
    frmGreensTab& GreensTab() const { return *m_greensTab; }
    frmNotesTab& NotesTab() const { return *m_notesTab; }
    frmTreasuresPetsTab& TreasuresPetsTab() const { return *m_treasuresPetsTab; }
    PanelContext& Context() { return m_context; }

    // Opens the progress window (one, raised when open already), counted anew.
    void ShowProgress();
    frmProgress* Progress() const { return m_progress; }
    // Recounts the open progress window after captures or chests of
    // `characters` changed; with no characters given, after the character
    // list changed.
    void RecountProgress(const std::vector<int>& characters = {});

    // The panel's own controls, by their names.
    std::array<QLabel*, 3> lblMenu{};
    // The planned route's next stop, under the pages while a route is shown.
    QLabel* lblRoute = nullptr;
    std::array<QWidget*, TabCount> lblTab{};
    std::array<QWidget*, TabCount> picTab{};
    std::array<QCheckBox*, TabCount> chkShowObject{};
    QWidget* picFalseBorder = nullptr;
    QPushButton* cmdQuit = nullptr;

    // The search field on the menu row (Ctrl+F from the panel or the map)
    // and its result list.
    frmSearch* Search() const { return m_search; }
    // Marking from the map and the lists, with its undo (Ctrl+Z and
    // Ctrl+Shift+Z from the panel or the map).
    MarkingMenu& Marking() const { return *m_marking; }

    // "Wayloom v" + major.minor.revision, painted at the top.
    QString TitleText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    // The calls between tabs and to the map that the context's signals carry.
    void ConnectContext();
    void ApplyCaptions();
    // The menu titles side by side, each as wide as its text needs, then the
    // search field.
    void PlaceMenuTitles();
    void LayOutPages();
    // The search field from `left` to the end of the menu row.
    void PlaceSearch(int left);
    void PlaceTabLabels();
    void AttachMap();
    void OpenMenu(int menu);

    void RedrawMap();
    // The filters that a region choice runs (elite skills, collectors, greens,
    // notes, treasures; pets last, redrawing), and those of a profession or
    // attribute choice (elite skills, collectors, greens; notes last, redrawing).
    void FilterAllLayers();
    void FilterProfessionLayers();
    void chkShowObject_Click(int k);

    World& m_world;
    PanelState& m_panel;
    PanelContext m_context;
    frmEliteTab* m_eliteTab = nullptr;
    frmCollectorsTab* m_collectorsTab = nullptr;
    frmGreensTab* m_greensTab = nullptr;
    frmNotesTab* m_notesTab = nullptr;
    frmTreasuresPetsTab* m_treasuresPetsTab = nullptr;
    frmSearch* m_search = nullptr;
    MarkingMenu* m_marking = nullptr;
    frmProgress* m_progress = nullptr;
    frmMap* m_map = nullptr;
    Commands m_commands;
    std::vector<int> m_tabTops;
    bool m_unloaded = false;
    WindowDrag m_drag;
    bool m_placingTitles = false;
    int m_pressedMenu = -1;
};

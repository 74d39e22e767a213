// The map window: a frameless window owned by the control panel, with the
// viewport picMap (which receives all pointer input), its close, maximise and
// minimise buttons, the information windows of the pointer layers over the
// viewport, and the flash timers. Rendering, geometry and pointer decisions
// are the window-free classes of mapview/; this window feeds them and shows
// their results. It reads the control panel through PanelState only.
#pragma once

#include "mapview/MapCanvas.h"
#include "mapview/MapFlash.h"
#include "mapview/MapGeometry.h"
#include "mapview/MapLayer.h"
#include "mapview/MapPointer.h"
#include "mapview/MapWidgets.h"
#include "mapview/MapZoom.h"
#include "mapview/RegionCache.h"
#include "mapview/RegionPreloader.h"
#include "route/RouteLayer.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class frmManageNote;

struct World;
struct PanelState;

namespace mapview {

class frmMap;

class frmMap : public QWidget {
    Q_OBJECT
public:
    // `owner` is the control panel window (may be null in tests); the map
    // window stays above it and moves with it. A tool window: the program's
    // task-bar entry is the panel's alone.
    frmMap(World& world, const PanelState& panel, mapview::MapLayers layers, QWidget* owner = nullptr);
    ~frmMap() override;

    // ---- Operations of the layers and the control panel
    // Switches the shown region; an empty or unreadable picture shows the
    // start picture (imagePath becomes "").
    void InizializzaVariabili(QString& imagePath, int campaign, int region);
    void DrawEverythingOnMap();
    void UpdateMapWithNewEliteSkills();
    // Copies the visible part of the drawing buffer into the viewport and
    // repaints it.
    void UpdateMap();
    void CenterMapOn(int x, int y);
    void HideInformationWindows();
    void ToggleMaximised();
    // Places the panel and this window from the saved placement of the
    // settings (which are set to -1 when they do not fit the screen).
    void RestoreLayout();
    // Switches a layer's flash timer on or off (the panel's show boxes).
    void SetFlashTimerEnabled(FlashLayer layer, bool on);
    bool FlashTimerEnabled(FlashLayer layer) const;

    int CurrentCampaign() const { return m_currentCampaign; }
    int CurrentRegion() const { return m_currentRegion; }
    bool MapLoaded() const { return m_mapLoaded; }
    bool Maximised() const { return m_maximised; }
    int VisibleWidth() const { return m_canvas.VisibleWidth; }
    int VisibleHeight() const { return m_canvas.VisibleHeight; }
    int MapOffsetX() const { return m_canvas.MapOffsetX; }
    int MapOffsetY() const { return m_canvas.MapOffsetY; }
    bool Dragging() const { return m_drag.Dragging; }

    // The layer slots; later layers are set here.
    MapLayers& Layers() { return m_layers; }
    const MapCanvas& Canvas() const { return m_canvas; }
    MapViewport* picMap() const { return m_picMap; }
    InformationWindow* picExtToolTip() const { return m_infoWidgets[0]; }
    InformationWindow* InformationWindowOf(LayerId layer) const;
    QAbstractButton* cmdClose() const { return m_cmdClose; }
    QAbstractButton* cmdMaximize() const { return m_cmdMaximize; }
    QAbstractButton* cmdMinimize() const { return m_cmdMinimize; }

    // Pointer handling of picMap (viewport coordinates).
    void PointerDown(PointerButton button, PointerKeys keys, QPointF pos, QPoint globalPos);
    void PointerMove(QPointF pos);
    // The pointer left the viewport.
    void PointerLeft();
    void PointerUp(PointerButton button);
    // With Shift held a double click is a second marking click, no dialog.
    void PointerDoubleClick(PointerButton button, PointerKeys keys, QPointF pos, QPoint globalPos);
    // The double-click action at the last press.
    void ActOnMapPoint(QPointF pos, QPoint globalPos);
    // The Shift+click action: the skill or chest under the pointer marked.
    void MarkMapPoint(QPointF pos, QPoint globalPos);

    // ---- Zoom
    // The zoom becomes `zoom`, the map point under viewport point `anchor`
    // staying where it is (fit: the map centred); kept in the settings.
    void ZoomTo(const Zoom& zoom, QPointF anchor);
    // The same about the view's centre.
    void ZoomTo(const Zoom& zoom);
    const Zoom& CurrentZoom() const { return m_canvas.CurrentZoom(); }
    // A wheel turn of `angleDelta` eighths of a degree at viewport point `pos`.
    void WheelAt(QPointF pos, int angleDelta);
    // The map window's own keys: + and - step the zoom, 0 is 100 %, F fits,
    // the arrows and Page keys pan, Home centres the chosen entry. True when
    // the key was one of them.
    bool KeyPressed(int key, Qt::KeyboardModifiers modifiers);
    // Centres the entry chosen on the active tab, when it is on this map.
    void CentreOnSelection();
    // The picture of the whole region in the bottom-left corner.
    void SetOverviewShown(bool on);
    bool OverviewShown() const;
    // Where the overview stands in the viewport (empty while hidden), and
    // its picture: the region at the overview's size.
    QRect OverviewRect() const;
    const QImage& OverviewPicture();
    // The decoded regions and their halvings; the preloader fills it.
    RegionCache& Regions() { return m_regions; }
    // Decodes ahead the regions a player is likely to open next.
    void PreloadLikelyRegions();

    // ---- The planned route
    // Drawn or not (R, a Show-menu row; kept in the settings). Switched on,
    // it starts afresh from the region's start point.
    void SetRouteShown(bool on);
    bool RouteShown() const { return m_route.shown; }
    // Plans the route of the region shown anew (its start, its stops).
    void StartRoute();
    // N: the next stop (passed first when it cannot be marked done) centred;
    // Shift+N: the stop passed last is the next one again, centred.
    void NextStop(bool back);
    // Ctrl+Shift+C: the route's stops on the clipboard, one line each.
    void CopyRoute();
    // G: to the region with the most stops left (the panel switches to it).
    void GoToNextRegion();
    // "Next: …" (empty while no route is shown or no stop is left).
    QString RouteLine() const;
    const route::RouteView& Route() const { return m_route; }

    // ---- Context menus
    // Captions of the note menu and the region menu of campaigns 1 to 4, each
    // region item in the order of the panel's region list.
    void BuildMapMenus();
    QMenu* MenuPopupRegion() const { return m_menuPopupRegion; }
    QMenu* MenuPopUp() const { return m_menuPopUp; }
    QAction* mnuNoteInsert() const { return m_mnuNoteInsert; }
    QAction* mnuNoteEdit() const { return m_mnuNoteEdit; }
    QAction* mnuNoteDelete() const { return m_mnuNoteDelete; }
    // Number of the note the note menu acts on, -1 for none; after the editor
    // the number of the note it saved (-1 when it saved nothing).
    int MenuPopUpTag() const { return m_menuPopUpTag; }
    // The note menu's commands.
    void mnuNoteInsert_Click();
    void mnuNoteDelete_Click();

    // How menus, questions, messages and the note editor are shown: a popup
    // menu at the pointer, a Yes/No question box, a message box and the modal
    // editor unless replaced (tests).
    std::function<void(QMenu* menu, QPoint globalPos)> openMenu;
    std::function<bool(const QString& question)> askQuestion;
    std::function<void(const QString& text)> showMessage;
    std::function<void(frmManageNote& editor)> runNoteEditor;

signals:
    // cmdClose: the program quits.
    void quitRequested();
    // cmdMinimize: the program's task-bar window is minimised.
    void minimiseRequested();
    // Right click over empty map: the region menu at the pointer.
    void regionMenuRequested(QPoint globalPos);
    // Double click on the marker of an elite skill: the capture dialog.
    void captureRequested(int elite);
    // Double click elsewhere: the note menu (note number, -1 = none).
    void noteMenuRequested(QPoint globalPos, int note);
    // Double click on a treasure chest: the chest-marking dialog.
    void treasureMarkRequested(int treasure);
    // Shift+click on the marker of a skill or a chest: its capture or its
    // opening toggled (or the menu of characters at the pointer).
    void captureToggleRequested(int elite, QPoint globalPos);
    void treasureToggleRequested(int treasure, QPoint globalPos);
    // A region item of the region menu: campaign and region number.
    void regionChosen(int campaign, int region);
    // The zoom changed (a level, fit, or back to 100 %).
    void zoomChanged();
    // The route's line changed (the panel shows it too).
    void routeLineChanged(const QString& line);
    // A note was saved or deleted: the notes list and the map are refreshed.
    void notesChanged();

protected:
    void resizeEvent(QResizeEvent*) override;
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    // A close request of the window system quits the program, as the
    // panel's close does.
    void closeEvent(QCloseEvent*) override;

private:
    MapContext Context() const;
    // The layers drawn again as the lists stand (a pan, a blink, a resize):
    // the route is not followed anew.
    void Redraw();
    // The view moved (a drag, a key, a centring): copied, or redrawn where
    // the view is the drawing buffer.
    void ShowView(const ViewTransform& view);
    void HalvingsReady(const QString& path);
    const QImage& Backdrop();
    // Before a redraw: the route follows the lists (a marking re-plans it).
    void FollowRoute();
    bool RouteStopDone(const route::RouteStop& stop) const;
    void ShowRouteLine();
    // What layer `layer` has under viewport point `pos`.
    std::optional<LayerHit> FindAt(LayerId layer, QPointF pos) const;
    // The boss (a boss without a skill answers with item 0), else the chest,
    // under `pos`: what a double click and a Shift+click act on.
    std::optional<MapLayers::ChainHit> SkillOrChestAt(QPointF pos) const;
    void DrawStartPicture();
    void SyncInformationWindows();
    void SyncFlashTimers();
    void FlashTick(FlashLayer layer);
    void PlaceButtons();
    void ApplyLayout(const ScreenLayout& layout);
    WorkArea CurrentWorkArea() const;

    World& m_world;
    const PanelState& m_panel;
    MapCanvas m_canvas;
    MapLayers m_layers;
    SelectionFlasher m_flasher;
    MapDrag m_drag;
    InformationWindows m_info;

    int m_currentCampaign = -1;
    int m_currentRegion = -1;
    bool m_mapLoaded = false;
    bool m_maximised = false;
    QPointF m_lastPointer;
    PointerButton m_lastButton = PointerButton::Other;

    MapViewport* m_picMap = nullptr;
    MapButton* m_cmdClose = nullptr;
    MapButton* m_cmdMaximize = nullptr;
    MapButton* m_cmdMinimize = nullptr;
    std::array<InformationWindow*, InformationWindows::Count> m_infoWidgets{};
    std::array<QTimer*, FlashLayerCount> m_flashTimers{};
    QCursor m_handCursor;
    QCursor m_grabCursor;
    QMenu* m_menuPopupRegion = nullptr;
    QMenu* m_menuPopUp = nullptr;
    QAction* m_mnuNoteInsert = nullptr;
    QAction* m_mnuNoteEdit = nullptr;
    QAction* m_mnuNoteDelete = nullptr;
    int m_menuPopUpTag = -1;

    route::RouteView m_route;
    std::pair<int, int> m_routeRegion{-1, -1}; // the region the route was planned for
    bool m_centreOnRoute = false;              // while G switches the region
    QTimer* m_routeBlink = nullptr;
    QLabel* m_routeStatus = nullptr;
    QAction* m_mnuRouteStart = nullptr;
    WheelSteps m_wheel;
    bool m_overviewDrag = false;
    QString m_regionPath; // the picture shown
    QImage m_overviewPicture;
    QImage m_backdrop;
    qint64 m_backdropOf = 0;
    RegionCache m_regions;
    // Last: it stops (and stops calling back) before the rest goes.
    std::unique_ptr<RegionPreloader> m_preloader;
};

} // namespace mapview

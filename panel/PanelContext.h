// What every tab of the control panel is handed: the world, the panel state
// the map reads, the map commands a tab may give, and the signals by which
// the tabs and the panel hear of each other without knowing each other. The
// panel window owns one, fills in the map commands when it gets its map and
// connects the signals that cross tabs (the filter runs of the other layers,
// the map's redraw). A tab built with a context and nothing else works on
// its own: commands without a map do nothing, signals nobody hears are lost.
#pragma once

#include "elite/modMarking.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class PanelContext : public QObject {
    Q_OBJECT
public:
    // The map window's operations a tab uses; empty without a map.
    struct MapCommands {
        // InizializzaVariabili: the map shows `picture` as region r of campaign c
        // (the start picture for an empty picture and -1, -1).
        std::function<void(const QString& picture, int campaign, int region)> switchRegion;
        std::function<void(int x, int y)> centreOn;
        std::function<void()> hideInformationWindows;
        std::function<bool()> mapLoaded;
    };

    PanelContext(World& world, PanelState& panel, QObject* parent = nullptr);

    World& world() const { return m_world; }
    PanelState& panel() const { return m_panel; }
    // The markings of this run, for Ctrl+Z and Ctrl+Shift+Z.
    modMarking::History& markings() { return m_markings; }

    void SetMap(MapCommands commands) { m_map = std::move(commands); }
    bool HasMap() const { return static_cast<bool>(m_map.switchRegion); }
    void SwitchMap(const QString& picture, int campaign, int region) const;
    void CentreMapOn(int x, int y) const;
    void HideInformationWindows() const;
    bool MapLoaded() const;

signals:
    // The region filter (campaign, region or zone) changed: every layer filters
    // anew, the last one redrawing the map.
    void regionChanged();
    // The profession or attribute filter changed: the layers that read it
    // filter anew, the last one redrawing the map.
    void professionChanged();
    // The character list changed (the character dialogs): the character
    // choices are filled anew.
    void charactersChanged();
    // The map is to be redrawn from the panel state.
    void redrawRequested();
    // The filter of tab `tab` rebuilt its list.
    void layerFiltered(int tab);
    // A double click on a skill of the elite list.
    void captureRequested(int elite);
    // The region filter set to campaign c (by item data) and region r, every
    // zone; campaign c alone when it has no region r.
    void areaRequested(int campaign, int region);
    // The region filter set to every region of campaign c (by item data; the
    // first entry when c is not listed) and every zone.
    void campaignRequested(int campaign);
    // The profession filter back to its first entry.
    void anyProfessionRequested();
    // A right click on a skill or chest of a list: the menu of characters
    // with their ticks, at the pointer.
    void markingMenuRequested(modMarking::Kind kind, int thing, QPoint globalPos);

private:
    World& m_world;
    PanelState& m_panel;
    MapCommands m_map;
    modMarking::History m_markings;
};

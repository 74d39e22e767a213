// What the control panel shows, as plain values: the selected entry of each
// combo, the option buttons, the filter texts, the show boxes, the tooltip
// mode and every list's entries (text and item data in display order) with
// the selected position. The panel's widgets keep it current; the map window
// and the layers read it and never touch a widget.
#pragma once

#include "core/modCampaigns.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

// One entry of a list or combo: the text shown and its item data; `done`
// marks a skill captured (a chest opened) by the character chosen in its
// tab, listed greyed at the end and drawn faintly when that tab dims them.
struct PanelEntry {
    QString text;
    int data = 0;
    bool done = false;

    friend bool operator==(const PanelEntry&, const PanelEntry&) = default;
};

// A list box or combo box: its entries in display order and the position of
// the selected entry (-1 = nothing selected).
struct PanelList {
    std::vector<PanelEntry> entries;
    int selected = -1;

    int size() const { return static_cast<int>(entries.size()); }
    bool empty() const { return entries.empty(); }
    bool hasSelection() const { return selected >= 0 && selected < size(); }
    // Item data of entry i, or `fallback` when there is no such entry.
    int dataAt(int i, int fallback = -1) const
    {
        return i >= 0 && i < size() ? entries[static_cast<std::size_t>(i)].data : fallback;
    }
    int selectedData(int fallback = -1) const { return dataAt(selected, fallback); }
    QString selectedText() const
    {
        return hasSelection() ? entries[static_cast<std::size_t>(selected)].text : QString();
    }
    void clear()
    {
        entries.clear();
        selected = -1;
    }
};

// The tabs of the panel, by `lblTab` index; also the index of each tab's show
// box `chkShowObject`.
enum PanelTab : int {
    TabElite = 0,
    TabCollectors = 1,
    TabGreens = 2,
    TabNotes = 3,
    TabTreasuresPets = 4,
    TabCount = 5,
};

// Tooltip modes of the map (saved as the setting RightClickNeeded).
enum : uint8_t {
    HoverWhileRightHeld = 0, // shown while the right button is down
    HoverFollowPointer = 1,  // follows the pointer (default)
    HoverSticky = 2,         // shown on right press, stays until hidden
};

struct PanelState {
    // False while the panel refills its lists; every layer filter returns at
    // once while it is False.
    bool Ready = false;

    // ---- Elite tab: region filter shared by every layer, and skill filters
    PanelList cmbCampaign;            // item data -1 for the first entry, else campaign number
    PanelList cmbRegion;              // 0 for the first entry, else region number
    PanelList cmbZone;                // index into the region's zone list (0 = first entry)
    PanelList cmbProfession;          // 0 for the first entry, else profession number
    PanelList cmbSecondaryProfession; // as cmbProfession
    PanelList cmbAttribute;           // 0, attribute index, or 99 (no attribute)
    PanelList cmbCharacter;           // 0 = all characters, else character number
    int optCapture = 0;               // 0 all skills, 1 skills not captured yet
    QString txtEliteName;
    QString txtEliteBossName;
    PanelList lstElite;     // item data = elite number
    PanelList lstLocations; // item data = location index of the selected skill

    // ---- Collectors tab
    int optCollType = 0;  // 0 all, 1 weapons, 2 armour
    int optCollLevel = 0; // 0 all levels, 1 low level, 2 high level
    PanelList cmbCollReq;
    PanelList cmbCollHand;
    QString txtCollSearch;
    PanelList lstCollectors;

    // ---- Greens tab
    QString txtGreensName;
    QString txtGreenAdditional;
    PanelList lstGreens;

    // ---- Notes tab
    QString txtNoteShortDesc;
    QString txtNoteBody;
    PanelList lstNotes;

    // ---- Treasures and pets tab
    // Item data 0 for the first entry (every chest), else the character
    // whose opened chests are hidden.
    PanelList cmbTreasureCharacter;
    PanelList lstVarshaTreasures;
    PanelList lstPets;
    PanelList lstPetLocations;

    // ---- Window-wide state
    std::array<bool, TabCount> chkShowObject{true, true, true, true, true};
    uint8_t HoverMode = HoverFollowPointer;
    uint8_t AlwaysOnTop = 0; // 1 = every window kept on top
    int LegendState = 0;     // 1 = legend window shown
    int ActiveTab = TabElite;

    // ---- Done things and markers
    // What the elite and chest lists and markers do with what the chosen
    // character has done: hidden (false, the default) or shown dimmed.
    bool EliteDoneDim = false;
    bool ChestDoneDim = false;
    // Every small marker drawn larger, with a shape per kind and a clear code.
    bool LargeMarkers = false;
    // The route goes through the collectors, green items, pets and notes
    // shown too, not only the elite skills and chests.
    bool RouteEveryLayer = false;

    // The character chosen in "Not yet captured by" (the elite tab's option
    // on, a character chosen), else 0.
    int CaptureCharacter() const { return optCapture == 1 ? std::max(0, cmbCharacter.selectedData(0)) : 0; }
    // The character chosen in "Not yet opened by", else 0.
    int ChestCharacter() const { return std::max(0, cmbTreasureCharacter.selectedData(0)); }

    bool isTabActive(int tab) const { return ActiveTab == tab; }
    bool isShown(int layer) const
    {
        return layer >= 0 && layer < TabCount && chkShowObject[static_cast<std::size_t>(layer)];
    }

    // The region filter read from the elite tab's combos:
    // campaign c: item data of the selected cmbCampaign entry (-1 = none chosen);
    int ChosenCampaign() const { return cmbCampaign.selectedData(-1); }
    // region r: 0 when c < 1, else the item data of the selected cmbRegion entry;
    int ChosenRegion() const { return ChosenCampaign() < 1 ? 0 : std::max(0, cmbRegion.selectedData(0)); }
    // zone z: 0 when r = 0, else the Id of the zone the selected cmbZone entry
    // indexes (0 for the first entry or an index outside the zone list).
    int ChosenZone(const CampaignTable& campaigns) const;
};

// What each row of the panel's three popup menus does, by name. The rows of
// each menu are listed in their order on the menu; separators and headings
// do nothing. A new row is one more name here and one more place in its
// menu's list (in the same order as the popup's own rows).
#pragma once

#include <optional>
#include <vector>

enum class MenuCommand {
    None, // a separator line or a heading
    // Show menu: the show box of each tab.
    ShowElites,
    ShowCollectors,
    ShowGreens,
    ShowNotes,
    ShowTreasuresPets,
    ShowRoute,       // the planned route on the map (R)
    RouteEveryLayer, // the route visits every layer's markers
    CopyRoute,       // the route's stops on the clipboard
    NextRouteRegion, // to the region with the most stops left (G)
    // Options menu.
    ToggleLegend,
    ToggleAlwaysOnTop,
    TooltipSticky,
    TooltipWhileRightHeld,
    TooltipFollowPointer,
    ManageCharacters,
    ShowProgress,
    UndoMarking, // the last capture or opened chest marked or cleared
    RedoMarking,
    LargeMarkers,
    FitMap,        // the whole region in the map window
    OverviewInset, // the overview of the region in the map's corner
    // Help menu.
    StartUpdater,
    OpenWebSite,
    ShowCredits,
    Feedback, // does nothing
    ShowHistory,
    OpenGuide,
    ShowInformation,
    UndoLastUpdate,
};

namespace MenuCommands {

// The menus, by the index of their title on the menu bar.
enum Menu : int { ShowMenu = 0, OptionsMenu = 1, HelpMenu = 2, MenuCount = 3 };

// The commands of menu `menu`, one per row in the menu's order (empty for a
// menu that does not exist).
const std::vector<MenuCommand>& Rows(int menu);
// The command of row `entry` of menu `menu`; None outside the menus.
MenuCommand At(int menu, int entry);

// Where a command sits: its menu and row.
struct Row {
    int menu = 0;
    int entry = 0;
};
std::optional<Row> RowOf(MenuCommand command);

} // namespace MenuCommands

#include "panel/MenuCommands.h"

#include <array>

namespace MenuCommands {

namespace {

using enum MenuCommand;

const std::array<std::vector<MenuCommand>, MenuCount>& Menus()
{
    static const std::array<std::vector<MenuCommand>, MenuCount> menus = {{
        {ShowElites, ShowCollectors, ShowGreens, ShowNotes, ShowTreasuresPets, None, ShowRoute, RouteEveryLayer,
         CopyRoute, NextRouteRegion},
        {ToggleLegend, ToggleAlwaysOnTop, None, None, TooltipSticky, TooltipWhileRightHeld, TooltipFollowPointer, None,
         ManageCharacters, ShowProgress, None, UndoMarking, RedoMarking, LargeMarkers, None, FitMap, OverviewInset},
        {StartUpdater, OpenWebSite, None, ShowCredits, Feedback, ShowHistory, OpenGuide, None, ShowInformation,
         UndoLastUpdate},
    }};
    return menus;
}

} // namespace

const std::vector<MenuCommand>& Rows(int menu)
{
    static const std::vector<MenuCommand> none;
    return menu >= 0 && menu < MenuCount ? Menus()[static_cast<std::size_t>(menu)] : none;
}

MenuCommand At(int menu, int entry)
{
    const auto& rows = Rows(menu);
    return entry >= 0 && entry < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(entry)] : None;
}

std::optional<Row> RowOf(MenuCommand command)
{
    if (command == None)
        return std::nullopt;
    for (int m = 0; m < MenuCount; ++m) {
        const auto& rows = Rows(m);
        for (std::size_t e = 0; e < rows.size(); ++e)
            if (rows[e] == command)
                return Row{m, static_cast<int>(e)};
    }
    return std::nullopt;
}

} // namespace MenuCommands

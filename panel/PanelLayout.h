// Geometry of the control panel, decided without a window: the swapping of
// tab rows when a tab of another row is chosen, and the page layout after a
// resize.
#pragma once

#include <vector>

namespace PanelLayout {

// Tabs are laid out in rows of three: tab i is in row i / 3.
constexpr int kTabsPerRow = 3;
constexpr int TabRow(int tab)
{
    return tab / kTabsPerRow;
}
// A tab's show box sits this far below the top of its tab label.
constexpr int kShowBoxOffset = 2;

// The tops of the tab labels after tab `clicked` is chosen while `active` is
// the active tab: when their rows differ, every tab of the active row takes
// the clicked tab's top and every tab of the clicked row the active tab's top.
// Clicking the active tab, or a tab of its row, leaves every top as it was.
std::vector<int> SwapTabRows(std::vector<int> tops, int active, int clicked);

// Height of a page: the window's inner height below the page's top, less a
// bottom margin.
int PageHeight(int innerHeight, int pageTop, int bottomMargin);

// The elite page shares its height between lstElite and lstLocations:
// h = (inner height - top of lstElite - height of lblLocations - height of
// the line below lstElite - 5) / 2.
struct ElitePage {
    int listHeight = 0; // asked of both lists
    int lstLocationsTop = 0;
    int lblLocationsTop = 0;
    int lineTop = 0; // the line directly below lstElite ("N of M characters still need this")
};
int EliteListHeight(int pageInnerHeight, int lstEliteTop, int lblLocationsHeight, int lineHeight = 0);
// Places lstLocations (which took `lstLocationsHeight`, a list may round its
// height) 5 pixels above the page bottom, its caption directly above it, and
// a line of `lineHeight` directly below lstElite.
ElitePage LayOutElitePage(int pageInnerHeight, int lstEliteTop, int lblLocationsHeight, int lstLocationsHeight,
                          int lineHeight = 0);

// Height that makes a list reach down to `gap` pixels above the page bottom.
int ListHeightToBottom(int pageInnerHeight, int listTop, int gap = 5);

} // namespace PanelLayout

#include "panel/PanelLayout.h"

#include <algorithm>

namespace PanelLayout {

std::vector<int> SwapTabRows(std::vector<int> tops, int active, int clicked)
{
    const int count = static_cast<int>(tops.size());
    if (active < 0 || clicked < 0 || active >= count || clicked >= count)
        return tops;
    const int activeRow = TabRow(active);
    const int clickedRow = TabRow(clicked);
    if (activeRow == clickedRow)
        return tops;
    const int activeTop = tops[static_cast<std::size_t>(active)];
    const int clickedTop = tops[static_cast<std::size_t>(clicked)];
    auto setRow = [&](int row, int top) {
        const int last = std::min(row * kTabsPerRow + kTabsPerRow - 1, count - 1);
        for (int i = row * kTabsPerRow; i <= last; ++i)
            tops[static_cast<std::size_t>(i)] = top;
    };
    setRow(activeRow, clickedTop);
    setRow(clickedRow, activeTop);
    return tops;
}

int PageHeight(int innerHeight, int pageTop, int bottomMargin)
{
    return std::max(0, innerHeight - pageTop - bottomMargin);
}

int EliteListHeight(int pageInnerHeight, int lstEliteTop, int lblLocationsHeight, int lineHeight)
{
    return std::max(0, (pageInnerHeight - lstEliteTop - lblLocationsHeight - lineHeight - 5) / 2);
}

ElitePage LayOutElitePage(int pageInnerHeight, int lstEliteTop, int lblLocationsHeight, int lstLocationsHeight,
                          int lineHeight)
{
    ElitePage page;
    page.listHeight = EliteListHeight(pageInnerHeight, lstEliteTop, lblLocationsHeight, lineHeight);
    page.lineTop = lstEliteTop + page.listHeight;
    page.lstLocationsTop = pageInnerHeight - lstLocationsHeight - 5;
    page.lblLocationsTop = page.lstLocationsTop - lblLocationsHeight;
    return page;
}

int ListHeightToBottom(int pageInnerHeight, int listTop, int gap)
{
    return std::max(0, pageInnerHeight - gap - listTop);
}

} // namespace PanelLayout

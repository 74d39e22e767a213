#include "panel/PanelLayout.h"

#include <gtest/gtest.h>

namespace {

using PanelLayout::SwapTabRows;

struct SwapCase {
    const char* name;
    int active;
    int clicked;
    std::vector<int> expected; // tops of tabs 0..4 afterwards
};

class TabRows : public ::testing::TestWithParam<SwapCase> {};

// Rows start with tabs 0-2 at the bottom (top 40, next to the pages) and
// tabs 3-4 above them (top 20).
TEST_P(TabRows, SwapWhenTheClickedTabIsInTheOtherRow)
{
    const std::vector<int> start{40, 40, 40, 20, 20};
    std::vector<int> tops = start;
    if (GetParam().active >= 3) // the upper row is in front
        tops = {20, 20, 20, 40, 40};
    EXPECT_EQ(SwapTabRows(tops, GetParam().active, GetParam().clicked), GetParam().expected);
}

const SwapCase kSwapCases[] = {
    {"ActiveTabClicked", 0, 0, {40, 40, 40, 20, 20}},
    {"SameRow", 0, 2, {40, 40, 40, 20, 20}},
    {"OtherRowComesToTheFront", 1, 4, {20, 20, 20, 40, 40}},
    {"BackAgain", 3, 2, {40, 40, 40, 20, 20}},
    {"SameShortRow", 3, 4, {20, 20, 20, 40, 40}},
    {"TabOutsideTheStrip", 0, 5, {40, 40, 40, 20, 20}},
};

INSTANTIATE_TEST_SUITE_P(Panel, TabRows, ::testing::ValuesIn(kSwapCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PanelLayout, ElitePageSharesItsHeightBetweenTheTwoLists)
{
    // page 400, lstElite at 150, caption 16: h = (400 - 150 - 16 - 5) / 2 = 114
    const auto page = PanelLayout::LayOutElitePage(400, 150, 16, 114);
    EXPECT_EQ(page.listHeight, 114);
    EXPECT_EQ(page.lstLocationsTop, 400 - 114 - 5);
    EXPECT_EQ(page.lblLocationsTop, 400 - 114 - 5 - 16);
    // a list that rounded its height to whole rows is placed by what it took
    EXPECT_EQ(PanelLayout::LayOutElitePage(400, 150, 16, 104).lstLocationsTop, 291);
    // odd remainder truncates; a page too small gives empty lists, not negative ones
    EXPECT_EQ(PanelLayout::EliteListHeight(402, 150, 16), 115);
    EXPECT_EQ(PanelLayout::EliteListHeight(100, 150, 16), 0);
}

TEST(PanelLayout, PagesAndListsReachTheBottom)
{
    EXPECT_EQ(PanelLayout::PageHeight(700, 90, 8), 602);
    EXPECT_EQ(PanelLayout::ListHeightToBottom(602, 100), 497);
    EXPECT_EQ(PanelLayout::ListHeightToBottom(50, 100), 0);
}

} // namespace

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

// The row in front (top 40, next to the pages) holds the active tab; tabs
// 0-2 form one row, tabs 3-4 the other.
TEST_P(TabRows, SwapWhenTheClickedTabIsInTheOtherRow)
{
    std::vector<int> tops = GetParam().active >= 3 ? std::vector{20, 20, 20, 40, 40} : std::vector{40, 40, 40, 20, 20};
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
                         [](const auto& row) { return std::string(row.param.name); });

TEST(PanelLayout, ListsFollowWhatTheyTookAndNeverGoNegative)
{
    // A list that rounded its height to whole rows is placed by what it took.
    EXPECT_EQ(PanelLayout::LayOutElitePage(400, 150, 16, 104).lstLocationsTop, 400 - 104 - 5);
    EXPECT_EQ(PanelLayout::LayOutElitePage(400, 150, 16, 104).lblLocationsTop, 400 - 104 - 5 - 16);
    // Pages too small give empty lists, not negative ones.
    EXPECT_EQ(PanelLayout::EliteListHeight(100, 150, 16), 0);
    EXPECT_EQ(PanelLayout::ListHeightToBottom(50, 100), 0);
}

} // namespace

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
    {"ActiveTabClicked", 0, 0, {40, 40, 40, 20, 20}},        {"SameRow", 0, 2, {40, 40, 40, 20, 20}},
    {"OtherRowComesToTheFront", 1, 4, {20, 20, 20, 40, 40}}, {"SameShortRow", 3, 4, {20, 20, 20, 40, 40}},
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
    EXPECT_EQ(PanelLayout::EliteListHeight(100, 150, 16, 18), 0);
    EXPECT_EQ(PanelLayout::EliteListHeight(100, 150, 16), 0);
    EXPECT_EQ(PanelLayout::ListHeightToBottom(50, 100), 0);
}

// The line below lstElite takes its room from both lists: it lies between
// lstElite and the caption of lstLocations, overlapping neither.
TEST(PanelLayout, TheLineBelowTheSkillsOverlapsNeitherList)
{
    struct Case {
        const char* name;
        int inner, top, caption, line;
    };
    const Case cases[] = {
        {"tall page", 700, 330, 18, 18},
        {"small page", 420, 330, 18, 18},
        {"no line", 600, 330, 18, 0},
    };
    for (const Case& c : cases) {
        const auto asked = PanelLayout::LayOutElitePage(c.inner, c.top, c.caption, 0, c.line);
        const auto page = PanelLayout::LayOutElitePage(c.inner, c.top, c.caption, asked.listHeight, c.line);
        EXPECT_EQ(page.lineTop, c.top + page.listHeight) << c.name;
        EXPECT_LE(page.lineTop + c.line, page.lblLocationsTop) << c.name;
        EXPECT_LE(page.lblLocationsTop - (page.lineTop + c.line), 1) << c.name << ": no room lost";
        EXPECT_EQ(page.lstLocationsTop + page.listHeight + 5, c.inner) << c.name;
    }
}

} // namespace

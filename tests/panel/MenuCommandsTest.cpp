// The named commands of the panel's popup menus against the popup's own rows.
#include "panel/MenuCommands.h"
#include "core/TextNumbers.h"
#include "windows/PopupMenu.h"

#include <gtest/gtest.h>

namespace {

using enum MenuCommand;

// Every row of the three menus has a command exactly where the popup can
// choose it: separators and the disabled heading have none.
TEST(MenuCommands, OneCommandPerChoosableRowOfThePopup)
{
    modLanguage::LanguageStrings texts;
    for (int n : Text::AllUsed)
        texts.set(n, QStringLiteral("Text %1").arg(n));
    const PopupMenu::Menus menus = PopupMenu::BuildMenus(texts);
    for (int m = 0; m < MenuCommands::MenuCount; ++m) {
        SCOPED_TRACE(m);
        const auto& entries = menus[static_cast<std::size_t>(m)].Entries;
        ASSERT_EQ(MenuCommands::Rows(m).size(), entries.size());
        for (std::size_t e = 0; e < entries.size(); ++e)
            EXPECT_EQ(MenuCommands::At(m, static_cast<int>(e)) == None, !entries[e].Enabled) << "row " << e;
    }
}

// The rows the panel's menu table names, written out by hand.
TEST(MenuCommands, RowsOfTheMenuTable)
{
    const struct {
        int menu, entry;
        MenuCommand command;
    } rows[] = {
        {0, 0, ShowElites},
        {0, 4, ShowTreasuresPets},
        {1, 0, ToggleLegend},
        {1, 1, ToggleAlwaysOnTop},
        {1, 2, None},
        {1, 3, None},
        {1, 4, TooltipSticky},
        {1, 5, TooltipWhileRightHeld},
        {1, 6, TooltipFollowPointer},
        {1, 8, ManageCharacters},
        {2, 0, StartUpdater},
        {2, 1, OpenWebSite},
        {2, 3, ShowCredits},
        {2, 4, Feedback},
        {2, 5, ShowHistory},
        {2, 6, OpenGuide},
        {2, 8, ShowInformation},
        {2, 9, UndoLastUpdate},
        {2, 10, None},
        {3, 0, None},
        {-1, 0, None},
        {0, -1, None},
    };
    for (const auto& r : rows)
        EXPECT_EQ(MenuCommands::At(r.menu, r.entry), r.command) << r.menu << "/" << r.entry;
}

// Each command sits on one row, the one At names (a command on two rows
// would find the first one from the second).
TEST(MenuCommands, EveryCommandFindsItsRow)
{
    int named = 0;
    for (int m = 0; m < MenuCommands::MenuCount; ++m)
        for (int e = 0; e < static_cast<int>(MenuCommands::Rows(m).size()); ++e) {
            const MenuCommand command = MenuCommands::At(m, e);
            if (command == None)
                continue;
            ++named;
            const auto row = MenuCommands::RowOf(command);
            ASSERT_TRUE(row.has_value());
            EXPECT_EQ(row->menu, m);
            EXPECT_EQ(row->entry, e);
        }
    EXPECT_GT(named, 0);
    EXPECT_FALSE(MenuCommands::RowOf(None).has_value());
}

} // namespace

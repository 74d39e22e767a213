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

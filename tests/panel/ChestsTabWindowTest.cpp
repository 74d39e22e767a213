// The chests tab's "Not yet opened by" choice in the running program.
#include "StartedProgram.h"

#include "panel/frmTreasuresPetsTab.h"
#include "panel/modTreasuresPetsTab.h"

#include <QComboBox>
#include <QListWidget>

#include <gtest/gtest.h>

namespace {

TEST(ChestsTab, NotYetOpenedByHidesTheChosenCharactersChestsAndAllBringsThemBack)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    auto* tab = s.menu().findChild<frmTreasuresPetsTab*>();
    ASSERT_NE(tab, nullptr);
    s.menu().SelectTab(TabTreasuresPets);
    const int all = tab->lstVarshaTreasures->count();
    ASSERT_GT(all, 1);
    EXPECT_EQ(tab->cmbTreasureCharacter->count(), 1) << "no character yet: only the all-characters entry";

    // A character who opened the first chest of the list (as the treasure
    // dialog records it), then the character list refilled.
    World& w = s.world();
    const PanelEntry first = modTreasuresPetsTab::FilterTreasureEntries(w, PanelState{}).front();
    ASSERT_EQ(tab->lstVarshaTreasures->item(0)->text(), first.text);
    w.characters.Characters = {QString(), QStringLiteral("Ayla")};
    for (auto& chest : w.treasures.Treasures)
        chest.OpenedOn.resize(2);
    w.treasures.Treasures[static_cast<std::size_t>(first.data)].OpenedOn[1] = QDate(2026, 5, 6);
    tab->FillCharacters();
    ASSERT_EQ(tab->cmbTreasureCharacter->count(), 2);
    EXPECT_TRUE(tab->cmbTreasureCharacter->isEnabled());

    tab->cmbTreasureCharacter->setCurrentIndex(1);
    ASSERT_EQ(tab->lstVarshaTreasures->count(), all - 1);
    EXPECT_NE(tab->lstVarshaTreasures->item(0)->text(), first.text);

    tab->cmbTreasureCharacter->setCurrentIndex(0);
    EXPECT_EQ(tab->lstVarshaTreasures->count(), all);
}

} // namespace

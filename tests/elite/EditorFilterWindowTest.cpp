// The character editor's filter box: typing narrows the skill list, the
// selection buttons tick what is listed, and ticks of skills filtered out
// stay.
#include "../TestWorld.h"
#include "elite/frmManageCharacter.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(EditorFilterBox, NarrowsTheListAndKeepsTheTicksOfWhatItHides)
{
    TestWorld t = CharacterWorld(); // "Skill 1 [H]", "Skill 2 [R]", ... "Skill 5 [H]"
    t.world.elite.EliteSkills[1].Captured[1] = true;
    frmManageCharacter editor(t.world, 1, false);
    ASSERT_EQ(editor.lstElite->count(), 5);

    QTest::keyClicks(editor.txtEliteFilter, QStringLiteral("R]"));
    ASSERT_EQ(editor.lstElite->count(), 2);
    EXPECT_EQ(editor.lstElite->item(0)->text(), QStringLiteral("Skill 2 [R]"));
    EXPECT_EQ(editor.lstElite->item(1)->text(), QStringLiteral("Skill 4 [R]"));
    QTest::mouseClick(editor.cmdSelectAll, Qt::LeftButton);

    editor.txtEliteFilter->clear();
    ASSERT_EQ(editor.lstElite->count(), 5);
    const std::vector<bool> ticked = {false, true, true, false, true, false};
    EXPECT_EQ(editor.WorkingFlags(), ticked);
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(editor.lstElite->item(row)->checkState() == Qt::Checked, ticked[std::size_t(row + 1)])
            << "row " << row;
}

} // namespace

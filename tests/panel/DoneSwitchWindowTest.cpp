// The "Done: hide / dim" switch of the program started offscreen on a copy of
// the demo world reaches the list and the options file (which entries is
// DoneDimTest's).
#include "StartedProgram.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

TEST(DoneSwitch, DimListsTheDoneSkillsGreyAtTheEndAndIsKeptInTheOptions)
{
    ProgramCopy folder;
    ASSERT_TRUE(folder.write("Personal/Characters.txt", "01\tAyla\r\n"));
    ASSERT_TRUE(folder.write("Personal/Char01CapElite.txt", "0001\r\n0002\r\n0003\r\n0004\r\n0005\r\n"));
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started) << s.errors.join('\n').toStdString();
    frmEliteTab& tab = s.menu().EliteTab();
    tab.optCapture[1]->setChecked(true);
    tab.cmbCharacter->setCurrentIndex(tab.cmbCharacter->findData(1));
    const int hidden = tab.lstElite->count();
    ASSERT_TRUE(tab.doneSwitch.hide->isChecked());

    tab.doneSwitch.dim->click();
    const int listed = tab.lstElite->count();
    ASSERT_EQ(listed, hidden + 5);
    for (int row = 0; row < listed; ++row)
        EXPECT_EQ(tab.lstElite->item(row)->foreground().style() != Qt::NoBrush, row >= hidden) << "row " << row;
    EXPECT_EQ(tab.lblDoneHere->text(), QStringLiteral("Done in every campaign: 5 of %1").arg(listed));

    QTest::mouseClick(s.menu().cmdQuit, Qt::LeftButton);
    EXPECT_TRUE(folder.read("Data/Options.txt").contains("\r\nEliteDone=1\r\n"));
}

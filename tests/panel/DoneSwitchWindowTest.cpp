// The "Done: hide / dim" switches of the program started offscreen on a copy
// of the demo world: dim lists the chosen character's done skills and chests
// grey at the end, the line under each list counts them, and the choice is
// kept in the options file. Which entries and how many is DoneDimTest's.
#include "StartedProgram.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Entry texts of a list, and how many at its end are drawn grey.
struct Shown {
    QStringList texts;
    int greyAtEnd = 0;
};
Shown ShownIn(const QListWidget* list)
{
    Shown shown;
    for (int row = 0; row < list->count(); ++row) {
        shown.texts << list->item(row)->text();
        const bool grey = list->item(row)->foreground().style() != Qt::NoBrush;
        shown.greyAtEnd = grey ? shown.greyAtEnd + 1 : 0;
    }
    return shown;
}

TEST(DoneSwitch, DimListsTheDoneThingsGreyAtTheEndAndIsKeptInTheOptions)
{
    ProgramCopy folder;
    // Ayla captured skills 1 to 40 and opened chests 1 to 5.
    QByteArray captured, opened;
    for (int n = 1; n <= 40; ++n)
        captured += QByteArray::number(n).rightJustified(4, '0') + "\r\n";
    for (int n = 1; n <= 5; ++n)
        opened += QByteArray::number(n).rightJustified(4, '0') + "\t05032026\r\n";
    ASSERT_TRUE(folder.write("Personal/Characters.txt", "01\tAyla\r\n"));
    ASSERT_TRUE(folder.write("Personal/Char01CapElite.txt", captured));
    ASSERT_TRUE(folder.write("Personal/Char01OpenedTreasures.txt", opened));
    {
        Started s(folder);
        ASSERT_EQ(s.result, WayloomProgram::StartResult::Started) << s.errors.join('\n').toStdString();
        frmEliteTab& elite = s.menu().EliteTab();
        frmTreasuresPetsTab& chests = s.menu().TreasuresPetsTab();
        elite.optCapture[1]->setChecked(true);
        elite.cmbCharacter->setCurrentIndex(elite.cmbCharacter->findData(1));
        chests.cmbTreasureCharacter->setCurrentIndex(chests.cmbTreasureCharacter->findData(1));

        const struct {
            const char* name;
            QListWidget* list;
            QLabel* line;
            DoneSwitch done;
        } tabs[] = {{"elite skills", elite.lstElite, elite.lblDoneHere, elite.doneSwitch},
                    {"chests", chests.lstVarshaTreasures, chests.lblDoneHere, chests.doneSwitch}};
        for (const auto& tab : tabs) {
            SCOPED_TRACE(tab.name);
            EXPECT_TRUE(tab.done.hide->isChecked()) << "hide at first";
            const Shown hidden = ShownIn(tab.list);
            EXPECT_EQ(hidden.greyAtEnd, 0);
            tab.done.dim->click();
            const Shown dimmed = ShownIn(tab.list);
            ASSERT_GT(dimmed.greyAtEnd, 0);
            EXPECT_EQ(dimmed.texts.size(), hidden.texts.size() + dimmed.greyAtEnd);
            EXPECT_EQ(dimmed.texts.mid(0, hidden.texts.size()), hidden.texts) << "what is still to do comes first";
            EXPECT_EQ(
                tab.line->text(),
                QStringLiteral("Done in every campaign: %1 of %2").arg(dimmed.greyAtEnd).arg(dimmed.texts.size()));
        }
        QTest::mouseClick(s.menu().cmdQuit, Qt::LeftButton);
        EXPECT_TRUE(s.ended);
    }
    const QByteArray options = folder.read("Data/Options.txt");
    EXPECT_TRUE(options.contains("\r\nEliteDone=1\r\n")) << options.toStdString();
    EXPECT_TRUE(options.contains("\r\nChestDone=1\r\n")) << options.toStdString();

    Started again(folder);
    EXPECT_TRUE(again.menu().EliteTab().doneSwitch.dim->isChecked());
    EXPECT_TRUE(again.menu().TreasuresPetsTab().doneSwitch.dim->isChecked());
}

} // namespace

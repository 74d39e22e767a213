#include "../core/TestFiles.h"

#include "elite/modCharacters.h"
#include "layers/modTreasures.h"

namespace {

TEST(OpenedDates, ReadWithCarryOverAndOnlyFromEightCharacters)
{
    struct Row {
        const char* name;
        const char* text;
        QDate expected; // invalid = no date
    };
    const Row rows[] = {
        {"plain date", "01022010", QDate(2010, 2, 1)},
        {"day 32 carries into February", "32012010", QDate(2010, 2, 1)},
        {"month 13 carries into the next year", "01132010", QDate(2011, 1, 1)},
        {"day 0 is the last day of the month before", "00032012", QDate(2012, 2, 29)},
        {"seven characters", "0102201", QDate()},
        {"year beyond 9999 after carrying", "01139999", QDate()},
        {"year before 100", "01010099", QDate()},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(modTreasures::ParseOpenedDate(QString::fromLatin1(r.text)).value_or(QDate()), r.expected);
    }
    EXPECT_EQ(modTreasures::FormatOpenedDate(QDate(2010, 2, 1)), "01022010");
}

// A line without a date, an unknown treasure, and the writer.
TEST(TreasureFiles, OpenedRecordsReadAndSavedBackPerCharacter)
{
    DataFolder data;
    modCharacters::Tables characters;
    characters.Characters = {"", "Asha", "", "Bo"};
    modTreasures::Tables table;
    const auto load = [&] {
        modTreasures::LoadTreasures(data.ctx, characters, table);
        modTreasures::LoadOpenedTreasures(data.ctx, characters, table);
    };
    const auto opened = [&](int t, int k) { return table.Treasures.at(size_t(t)).OpenedOn.at(size_t(k)); };
    data.write("Campaign.03.Emberwake/Treasures.txt", "A\t1\t1\t1\t1\nB\t1\t1\t1\t1\nC\t1\t1\t1\t1\n");
    data.write("Personal/Char01OpenedTreasures.txt",
               "0003\t01022010\r\n"
               "0001\r\n"             // no date: not opened
               "0009\t01022010\r\n"); // no such treasure: kept for the next save
    load();
    EXPECT_EQ(opened(3, 1), QDate(2010, 2, 1));
    EXPECT_FALSE(opened(1, 1));
    EXPECT_EQ(data.warnedLines(), (std::vector<int>{3}));

    table.Treasures[3].OpenedOn[1] = QDate(2011, 10, 16);
    table.Treasures[1].OpenedOn[1] = QDate(2010, 2, 1);
    table.Treasures[2].OpenedOn[3] = QDate(2012, 5, 5); // another character
    QString error;
    ASSERT_TRUE(modTreasures::SaveOpenedTreasures(data.ctx.appFolder, 1, table, &error)) << error.toStdString();
    EXPECT_EQ(data.read("Personal/Char01OpenedTreasures.txt"),
              QByteArray("0009\t01022010\r\n0001\t01022010\r\n0003\t16102011\r\n"));
    table = {};
    load();
    EXPECT_EQ(opened(1, 1), QDate(2010, 2, 1));
    EXPECT_EQ(opened(3, 1), QDate(2011, 10, 16));
    EXPECT_FALSE(opened(2, 3)) << "character 3's file was not written";
}

} // namespace

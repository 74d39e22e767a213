// The chest-opened dialog's date entry without a window: arrows, keys,
// validation, and the rewrite of a character's opened-treasure file.
#include "../core/TestFiles.h"
#include "elite/modCharacters.h"
#include "layers/modTreasureDate.h"

#include <gtest/gtest.h>

using namespace modTreasureDate;

namespace {

constexpr auto D = DatePart::Day;
constexpr auto M = DatePart::Month;
constexpr auto Y = DatePart::Year;

TEST(TreasureDate, ArrowsStepAndWrapAround)
{
    const struct {
        const char* name;
        DatePart part;
        const char* text;
        bool up;
        std::optional<QString> expected;
    } rows[] = {
        {"day 31 up", D, "31", true, QStringLiteral("01")},
        {"month 12 up", M, "12", true, QStringLiteral("01")},
        {"year 2006 down", Y, "2006", false, QStringLiteral("2100")},
        {"empty day up", D, "", true, QStringLiteral("01")},
        {"day 45 up", D, "45", true, QStringLiteral("01")},
        {"year 1999 up", Y, "1999", true, QStringLiteral("2006")},
    };
    for (const auto& row : rows)
        EXPECT_EQ(StepDatePart(row.part, QString::fromLatin1(row.text), row.up), row.expected) << row.name;

    for (QChar ch : QStringLiteral("0123456789."))
        EXPECT_TRUE(AcceptsCharacter(ch)) << ch.toLatin1();
    for (QChar ch : QStringLiteral("-/ aZ,+"))
        EXPECT_FALSE(AcceptsCharacter(ch)) << ch.toLatin1();
}

TEST(TreasureDate, OnlyRealDatesAreAccepted)
{
    const struct {
        const char* name;
        EnteredDate entered;
        QDate expected; // invalid = refused
    } rows[] = {
        {"31 February", {"31", "02", "2009"}, {}},
        {"29 February, leap year", {"29", "02", "2008"}, {2008, 2, 29}},
        {"29 February, common year", {"29", "02", "2009"}, {}},
        {"two-digit year", {"16", "10", "11"}, {2011, 10, 16}},
        {"two-digit year of the last century", {"16", "10", "99"}, {1999, 10, 16}},
        {"month 13", {"01", "13", "2010"}, {}},
        {"empty box", {"", "01", "2010"}, {}},
        {"full stop in a box", {"1.5", "01", "2010"}, {}},
        {"three-digit year", {"01", "01", "201"}, {}},
    };
    for (const auto& row : rows) {
        const auto got = ReadEnteredDate(row.entered);
        EXPECT_EQ(IsEnteredDateValid(row.entered), row.expected.isValid()) << row.name;
        EXPECT_EQ(got.value_or(QDate()), row.expected) << row.name;
    }
    // The boxes are read by their parts, whatever their order.
    const std::array<QString, 3> boxes{QStringLiteral("2010"), QStringLiteral("02"), QStringLiteral("01")};
    EXPECT_EQ(ReadEnteredDate(EnteredFromBoxes({Y, M, D}, boxes)), QDate(2010, 2, 1));
    EXPECT_EQ(DateBoxesText(boxes), QStringLiteral("2010-02-01"));
}

TEST(TreasureDate, SavingRewritesTheCharactersWholeFileOnly)
{
    ProgramFolder folder;
    folder.write("Personal/Char02OpenedTreasures.txt", "0001\t01022010\r\n");
    modTreasures::Tables treasures;
    treasures.Treasures.resize(4);
    for (auto& t : treasures.Treasures)
        t.OpenedOn.assign(3, std::nullopt);
    treasures.Treasures[3].OpenedOn[1] = QDate(2010, 2, 1);
    treasures.Treasures[1].OpenedOn[1] = QDate(2009, 12, 24);
    treasures.Treasures[1].OpenedOn[2] = QDate(2010, 2, 1);

    // Marked again with a new date, then a new chest: every chest of the
    // character written again, in treasure order.
    ASSERT_TRUE(SaveOpenedTreasure(folder.path(), treasures, 3, 1, QDate(2011, 10, 16)));
    ASSERT_TRUE(SaveOpenedTreasure(folder.path(), treasures, 2, 1, QDate(2012, 1, 5)));
    EXPECT_EQ(folder.read("Personal/Char01OpenedTreasures.txt"),
              "0001\t24122009\r\n0002\t05012012\r\n0003\t16102011\r\n");
    EXPECT_EQ(folder.read("Personal/Char02OpenedTreasures.txt"), "0001\t01022010\r\n");

    // A failed write (a folder stands in the file's place) keeps the old date.
    QFile::remove(folder.path("Personal/Char02OpenedTreasures.txt"));
    QDir().mkpath(folder.path("Personal/Char02OpenedTreasures.txt"));
    QString error;
    EXPECT_FALSE(SaveOpenedTreasure(folder.path(), treasures, 1, 2, QDate(2013, 3, 3), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(treasures.Treasures[1].OpenedOn[2], QDate(2010, 2, 1));
    // A character beyond the opened lists grows them.
    ASSERT_TRUE(SaveOpenedTreasure(folder.path(), treasures, 1, 5, QDate(2010, 1, 1)));
    EXPECT_EQ(folder.read("Personal/Char05OpenedTreasures.txt"), "0001\t01012010\r\n");
    EXPECT_FALSE(SaveOpenedTreasure(folder.path(), treasures, 4, 1, QDate(2010, 1, 1))) << "no treasure 4";
}

TEST(TreasureDate, AChestWhoseLineCouldNotBeReadIsNotMarkedAndKeepsItsRecords)
{
    DataFolder data;
    data.write("Campaign.03.Emberwake/Treasures.txt", "A\t1\t1\t1\t1\r\nBroken\r\nC\t1\t1\t1\t1\r\n");
    data.write("Personal/Char01OpenedTreasures.txt", "2\t32012010\r\n0003\t01022010\r\n");
    modCharacters::Tables characters;
    characters.Characters = {QString(), QStringLiteral("Ayla")};
    modTreasures::Tables treasures;
    modTreasures::LoadTreasures(data.ctx, characters, treasures);
    modTreasures::LoadOpenedTreasures(data.ctx, characters, treasures);
    ASSERT_FALSE(treasures.Treasures[2].Present);
    EXPECT_FALSE(treasures.Treasures[2].OpenedOn[1]);

    EXPECT_FALSE(SaveOpenedTreasure(data.path(), treasures, 2, 1, QDate(2011, 1, 1)));
    EXPECT_FALSE(treasures.Treasures[2].OpenedOn[1]);
    // Even a date put on it is not written; its own line goes through as it stood.
    treasures.Treasures[2].OpenedOn[1] = QDate(2012, 1, 1);
    ASSERT_TRUE(SaveOpenedTreasure(data.path(), treasures, 1, 1, QDate(2011, 1, 1)));
    EXPECT_EQ(data.read("Personal/Char01OpenedTreasures.txt"), "2\t32012010\r\n0001\t01012011\r\n0003\t01022010\r\n");
}

} // namespace

// One-click marking without a window: each toggle, undo and redo saved at
// once, checked in the files' bytes; the history's depth; a failed save that
// changes nothing.
#include "../TestWorld.h"
#include "../core/TestFiles.h"
#include "elite/modMarking.h"

#include <functional>

#include <gtest/gtest.h>

using namespace modMarking;

namespace {

const QDate kToday(2026, 12, 7);

TEST(Marking, EveryStepIsSavedAtOnceAndUndoneInTurn)
{
    ProgramFolder folder;
    TestWorld t = CharacterWorld(); // 1 Ayla, 3 Bren; skills 1..5, chests 1..2
    History history;
    const Tables tables{t.world.elite, t.world.treasures};
    auto toggle = [&](Kind kind, int thing, int character) {
        return Do(history, folder.path(), tables,
                  ToggleStep(t.world.elite, t.world.treasures, kind, thing, character, kToday));
    };
    auto undo = [&] { return history.Undo(folder.path(), tables).has_value(); };
    auto redo = [&] { return history.Redo(folder.path(), tables).has_value(); };
    const char* ayla = "Personal/Char01CapElite.txt";
    const char* brenChests = "Personal/Char03OpenedTreasures.txt";
    const struct {
        const char* name;
        std::function<bool()> act;
        const char* file;
        QByteArray bytes;
    } steps[] = {
        {"Ayla captures skill 3", [&] { return toggle(Kind::Capture, 3, 1); }, ayla, "0003\r\n"},
        {"Ayla captures skill 1", [&] { return toggle(Kind::Capture, 1, 1); }, ayla, "0001\r\n0003\r\n"},
        {"Bren opens chest 2 today", [&] { return toggle(Kind::Chest, 2, 3); }, brenChests, "0002\t07122026\r\n"},
        {"Ayla's skill 3 toggled back", [&] { return toggle(Kind::Capture, 3, 1); }, ayla, "0001\r\n"},
        {"undo: skill 3 captured again", undo, ayla, "0001\r\n0003\r\n"},
        {"undo: Bren's chest closed", undo, brenChests, ""},
        {"redo: Bren's chest opened on its day", redo, brenChests, "0002\t07122026\r\n"},
        {"a new marking", [&] { return toggle(Kind::Capture, 5, 1); }, ayla, "0001\r\n0003\r\n0005\r\n"},
        {"nothing left to redo", [&] { return !redo(); }, ayla, "0001\r\n0003\r\n0005\r\n"},
        {"skill 0 is no skill", [&] { return !toggle(Kind::Capture, 0, 1); }, ayla, "0001\r\n0003\r\n0005\r\n"},
    };
    for (const auto& step : steps) {
        EXPECT_TRUE(step.act()) << step.name;
        EXPECT_EQ(folder.read(QString::fromLatin1(step.file)), step.bytes) << step.name;
    }
    EXPECT_EQ(history.UndoCount(), 4);
}

TEST(Marking, FiftyStepsAreKeptAndADeletedCharacterLeavesTheHistory)
{
    History history;
    for (int n = 1; n <= 60; ++n)
        history.Record({Kind::Capture, n, n % 2 == 0 ? 2 : 1, {}, {true, {}}});
    EXPECT_EQ(history.UndoCount(), History::kDepth);
    history.ForgetCharacter(2);
    EXPECT_EQ(history.UndoCount(), 25);
    history.ForgetCharacter(1);
    EXPECT_FALSE(history.CanUndo());
}

TEST(Marking, AFailedSaveChangesNeitherTheTablesNorTheHistory)
{
    ProgramFolder folder;
    TestWorld t = CharacterWorld();
    History history;
    const Tables tables{t.world.elite, t.world.treasures};
    ASSERT_TRUE(
        Do(history, folder.path(), tables, ToggleStep(t.world.elite, t.world.treasures, Kind::Capture, 4, 1, kToday)));
    ASSERT_TRUE(history.Undo(folder.path(), tables));
    {
        const FileSizeLimit limit(3); // "0004\r\n" does not fit
        ASSERT_TRUE(limit.ok());
        QString error;
        EXPECT_FALSE(history.Redo(folder.path(), tables, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(Do(history, folder.path(), tables,
                        ToggleStep(t.world.elite, t.world.treasures, Kind::Chest, 1, 1, kToday)));
    }
    EXPECT_FALSE(t.world.elite.EliteSkills[4].Captured[1]);
    EXPECT_FALSE(t.world.treasures.Treasures[1].OpenedOn[1].has_value());
    EXPECT_EQ(folder.read(QStringLiteral("Personal/Char01CapElite.txt")), "");
    EXPECT_EQ(history.RedoCount(), 1);
    EXPECT_EQ(history.UndoCount(), 0);
}

} // namespace

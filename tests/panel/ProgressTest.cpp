// The progress overview: rows, counts per character, a character without a
// capture file, and recounting after a capture or an opened chest.
#include "panel/modProgress.h"

#include "TestWorld.h"

#include <gtest/gtest.h>

namespace {

// The panel's test world (skills 1..5 of campaigns 0 and 1, characters 1
// "Ayla" and 3 "Bren") with four chests of campaign 3, one of them a line
// that could not be read.
World ProgressWorld()
{
    TestWorld tw;
    World w;
    w.campaigns = tw.campaigns;
    w.professions = tw.professions;
    w.elite = tw.elite;
    w.characters = tw.characters;
    for (int t = 1; t <= 4; ++t) {
        auto& chest = w.treasures.Treasures.emplace_back();
        chest.Name = QStringLiteral("Chest %1").arg(t);
        chest.Present = t != 4;
        chest.OpenedOn.assign(4, std::nullopt);
    }
    return w;
}

// Each row as "name total: done of each column".
std::vector<std::string> Lines(const modProgress::Overview& o)
{
    std::vector<std::string> lines;
    for (const auto& row : o.rows) {
        std::string line = (row.kind == modProgress::RowKind::Chests ? "chests " : "") + row.name.toStdString() +
                           (row.kind == modProgress::RowKind::Total ? "total" : "") + " " + std::to_string(row.total) +
                           ":";
        for (int d : row.done)
            line += " " + std::to_string(d);
        lines.push_back(line);
    }
    return lines;
}

TEST(ProgressOverview, CountsCapturesAndOpenedChestsPerCharacter)
{
    struct Case {
        const char* title;
        std::vector<std::pair<int, int>> captures; // skill, character
        std::vector<std::pair<int, int>> opened;   // chest, character
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"nothing captured",
         {},
         {},
         {"Core 1: 0 0", "Alpha 4: 0 0", "Hearthguard 3: 0 0", "Seer 1: 0 0", "Mender 1: 0 0", "total 5: 0 0",
          "chests 3 3: 0 0"}},
        {"captures split by campaign and profession",
         {{1, 1}, {3, 1}, {5, 1}, {2, 3}},
         {{1, 3}, {2, 3}},
         {"Core 1: 1 0", "Alpha 4: 2 1", "Hearthguard 3: 2 0", "Seer 1: 0 1", "Mender 1: 1 0", "total 5: 3 1",
          "chests 3 3: 0 2"}},
        {"an unreadable chest line is not counted",
         {},
         {{4, 1}},
         {"Core 1: 0 0", "Alpha 4: 0 0", "Hearthguard 3: 0 0", "Seer 1: 0 0", "Mender 1: 0 0", "total 5: 0 0",
          "chests 3 3: 0 0"}},
    };
    for (const auto& c : cases) {
        World w = ProgressWorld();
        for (auto [skill, character] : c.captures)
            w.elite.EliteSkills[skill].Captured[character] = true;
        for (auto [chest, character] : c.opened)
            w.treasures.Treasures[chest].OpenedOn[character] = QDate(2026, 1, 2);
        const auto overview = modProgress::BuildOverview(w);
        EXPECT_EQ(overview.characters, (std::vector<int>{1, 3})) << c.title;
        EXPECT_EQ(Lines(overview), c.expected) << c.title;
    }
}

TEST(ProgressOverview, ACharacterWithoutAFileHasAColumnOfNoughts)
{
    World w = ProgressWorld();
    // Added after the capture flags were read: no flag reaches that far.
    w.characters.Characters.resize(6);
    w.characters.Characters[5] = QStringLiteral("Cael");
    w.elite.EliteSkills[1].Captured[1] = true;
    const auto overview = modProgress::BuildOverview(w);
    EXPECT_EQ(overview.names, (std::vector<QString>{"Ayla", "Bren", "Cael"}));
    EXPECT_EQ(Lines(overview),
              (std::vector<std::string>{"Core 1: 0 0 0", "Alpha 4: 1 0 0", "Hearthguard 3: 1 0 0", "Seer 1: 0 0 0",
                                        "Mender 1: 0 0 0", "total 5: 1 0 0", "chests 3 3: 0 0 0"}));
}

TEST(ProgressOverview, RecountsOneColumnAfterACapture)
{
    World w = ProgressWorld();
    auto overview = modProgress::BuildOverview(w);
    w.elite.EliteSkills[2].Captured[3] = true;
    w.elite.EliteSkills[1].Captured[1] = true; // not yet told: Ayla's column stays
    w.treasures.Treasures[2].OpenedOn[3] = QDate(2026, 3, 4);
    EXPECT_TRUE(modProgress::UpdateCharacter(w, overview, 3));
    EXPECT_EQ(Lines(overview),
              (std::vector<std::string>{"Core 1: 0 0", "Alpha 4: 0 1", "Hearthguard 3: 0 0", "Seer 1: 0 1",
                                        "Mender 1: 0 0", "total 5: 0 1", "chests 3 3: 0 1"}));
    w.elite.EliteSkills[2].Captured[3] = false; // the capture undone
    EXPECT_TRUE(modProgress::UpdateCharacter(w, overview, 3));
    EXPECT_EQ(overview.rows.back().done, (std::vector<int>{0, 1}));
    EXPECT_EQ(overview.rows[5].done, (std::vector<int>{0, 0}));
    EXPECT_FALSE(modProgress::UpdateCharacter(w, overview, 2)) << "a free character number has no column";
}

} // namespace

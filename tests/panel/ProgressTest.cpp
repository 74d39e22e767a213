// The progress overview: every cell agrees with what the elite and chests
// tabs list for it, and which region a click on a cell shows.
#include "panel/modEliteTab.h"
#include "panel/modProgress.h"
#include "panel/modTreasuresPetsTab.h"

#include "../TestWorld.h"

#include <gtest/gtest.h>

namespace {

// The panel's test world (skills 1..5; skill 3 belongs to campaign 0 and has
// its place in campaign 1, skill 4 has no place; characters 1 "Ayla" and 3
// "Bren") with a third campaign "Ember" and four chests in it, one of them a
// line that could not be read.
World ProgressWorld()
{
    TestWorld t = TestWorld::PanelRules().campaign(3, QStringLiteral("Ember"));
    for (int n = 1; n <= 4; ++n)
        t.chest(QStringLiteral("Chest %1").arg(n), 0, 0, 0, 0);
    t.world.treasures.Treasures[4].Present = false;
    return t.world;
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

// The panel set as a click on the cell of `row` sets it: that campaign or
// profession, every region, "Not yet captured by" (or "Not yet opened by")
// `character` when given.
PanelState PanelFor(const modProgress::Row& row, int character)
{
    PanelState panel;
    panel.cmbCampaign.entries = {{"All", -1}};
    panel.cmbCampaign.selected = 0;
    if (row.kind == modProgress::RowKind::Campaign || row.kind == modProgress::RowKind::Chests) {
        panel.cmbCampaign.entries.push_back({row.name, row.number});
        panel.cmbCampaign.selected = 1;
    }
    if (row.kind == modProgress::RowKind::Profession) {
        panel.cmbProfession.entries = {{"All", 0}, {row.name, row.number}};
        panel.cmbProfession.selected = 1;
    }
    if (character > 0) {
        panel.optCapture = 1;
        panel.cmbCharacter.entries = {{"All characters", 0}, {"someone", character}};
        panel.cmbCharacter.selected = 1;
        panel.cmbTreasureCharacter = panel.cmbCharacter;
    }
    return panel;
}

// What the tab lists for the cell: the row's total, and total less what it
// lists for the character.
std::pair<int, int> Listed(const World& w, const modProgress::Row& row, int character)
{
    auto count = [&](int ch) {
        const PanelState panel = PanelFor(row, ch);
        return static_cast<int>(
            row.kind == modProgress::RowKind::Chests
                ? modTreasuresPetsTab::FilterTreasureEntries(w, panel).size()
                : modEliteTab::FilterEliteEntries(w.elite, w.professions, w.campaigns, panel).size());
    };
    const int total = count(0);
    return {total, total - count(character)};
}

TEST(ProgressOverview, EveryCellAgreesWithWhatTheTabsList)
{
    struct Case {
        const char* title;
        std::vector<std::pair<int, int>> captures; // skill, character
        std::vector<std::pair<int, int>> opened;   // chest, character
        std::vector<std::string> expected;
        void (*change)(World&) = nullptr;
        std::vector<int> characters = {1, 3};
    };
    // Core holds skill 3 (of campaign 0, its place in Alpha); Alpha every
    // skill with a place; skill 4 has none and is in no row.
    const Case cases[] = {
        {"nothing captured",
         {},
         {},
         {"Core 1: 0 0", "Alpha 4: 0 0", "Hearthguard 2: 0 0", "Seer 1: 0 0", "Mender 1: 0 0", "total 4: 0 0",
          "chests Ember 3: 0 0"}},
        {"captures split by campaign and profession",
         {{1, 1}, {3, 1}, {5, 1}, {2, 3}},
         {{1, 3}, {2, 3}},
         {"Core 1: 1 0", "Alpha 4: 3 1", "Hearthguard 2: 2 0", "Seer 1: 0 1", "Mender 1: 1 0", "total 4: 3 1",
          "chests Ember 3: 0 2"}},
        {"a skill without a place and an unreadable chest line count nowhere",
         {{4, 1}},
         {{4, 1}},
         {"Core 1: 0 0", "Alpha 4: 0 0", "Hearthguard 2: 0 0", "Seer 1: 0 0", "Mender 1: 0 0", "total 4: 0 0",
          "chests Ember 3: 0 0"}},
        {"a skill with places in two campaigns counts in both",
         {{1, 3}},
         {},
         {"Core 1: 0 0", "Alpha 4: 0 1", "Beta 1: 0 1", "Hearthguard 2: 0 1", "Seer 1: 0 0", "Mender 1: 0 0",
          "total 4: 0 1", "chests Ember 3: 0 0"},
         [](World& w) {
             w.campaigns[2].Name = QStringLiteral("Beta");
             auto place = w.elite.EliteSkills[1].Locations[1];
             place.Campaign = 2;
             w.elite.EliteSkills[1].Locations.push_back(place);
         }},
        {"a character added after the capture flags were read has a column of noughts",
         {{1, 1}},
         {},
         {"Core 1: 0 0 0", "Alpha 4: 1 0 0", "Hearthguard 2: 1 0 0", "Seer 1: 0 0 0", "Mender 1: 0 0 0",
          "total 4: 1 0 0", "chests Ember 3: 0 0 0"},
         [](World& w) {
             w.characters.Characters.resize(6);
             w.characters.Characters[5] = QStringLiteral("Cael");
         },
         {1, 3, 5}},
    };
    for (const auto& c : cases) {
        World w = ProgressWorld();
        if (c.change)
            c.change(w);
        for (auto [skill, character] : c.captures)
            w.elite.EliteSkills[skill].Captured[character] = true;
        for (auto [chest, character] : c.opened)
            w.treasures.Treasures[chest].OpenedOn[character] = QDate(2026, 1, 2);
        const auto overview = modProgress::BuildOverview(w);
        EXPECT_EQ(overview.characters, c.characters) << c.title;
        std::vector<QString> names;
        for (int ch : c.characters)
            names.push_back(w.characters.Characters[std::size_t(ch)]);
        EXPECT_EQ(overview.names, names) << c.title;
        EXPECT_EQ(Lines(overview), c.expected) << c.title;
        for (const auto& row : overview.rows)
            for (std::size_t col = 0; col < overview.characters.size(); ++col) {
                EXPECT_EQ(Listed(w, row, overview.characters[col]), std::make_pair(row.total, row.done[col]))
                    << c.title << ": " << row.name.toStdString() << ", column " << col;
                // The line under the tab's list counts the same for a campaign.
                const PanelState p = PanelFor(row, overview.characters[col]);
                const auto line = row.kind == modProgress::RowKind::Chests ? modProgress::ChestsDoneHere(w, p)
                                                                           : modProgress::EliteDoneHere(w, p);
                EXPECT_TRUE(row.kind == modProgress::RowKind::Profession || row.kind == modProgress::RowKind::Total ||
                            line.count == (modProgress::DoneCount{row.done[col], row.total}))
                    << c.title << ": the line under the list, " << row.name.toStdString();
            }
    }
    EXPECT_TRUE(modProgress::BuildOverview(World{}).rows.empty()) << "an empty world counts nothing";
}

TEST(ProgressOverview, AClickKeepsARegionWithSomethingMissingShown)
{
    // Alpha: region 1 holds skills 1 and 5, region 2 skills 2, 3 and 5.
    // Ember gets two regions: chest 1 (and the unreadable line 4) in region
    // 1, chests 2 and 3 in region 2. Core has no region.
    using modProgress::Area;
    struct Case {
        const char* title;
        const char* row; // the row's name; "total" for the total row
        bool chests;
        std::vector<int> captured; // by Ayla
        std::vector<int> opened;   // by Ayla
        Area current, expected;
    };
    const Case cases[] = {
        {"the current region lacks something: kept", "Alpha", false, {}, {}, {1, 2}, {1, 2}},
        {"the current region is complete: the first that is not", "Alpha", false, {2, 3, 5}, {}, {1, 2}, {1, 1}},
        {"nothing missing: every region of the row's campaign", "Alpha", false, {1, 2, 3, 5}, {}, {1, 2}, {1, 0}},
        {"a campaign without regions", "Core", false, {}, {}, {1, 1}, {0, 0}},
        {"the total: the current campaign first, then in order", "total", false, {}, {}, {3, 1}, {1, 1}},
        {"chests: an unreadable line is no chest", "Ember", true, {}, {1}, {3, 1}, {3, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        World w = ProgressWorld();
        w.campaigns[3].Regions.resize(3);
        w.campaigns[3].Regions[1].Name = QStringLiteral("Cinder Flats");
        w.campaigns[3].Regions[2].Name = QStringLiteral("Ash Reach");
        for (int t = 1; t <= 4; ++t) {
            auto& chest = w.treasures.Treasures[static_cast<std::size_t>(t)];
            chest.Campaign = 3;
            chest.Region = static_cast<uint8_t>(t == 2 || t == 3 ? 2 : 1);
        }
        for (int e : c.captured)
            w.elite.EliteSkills[static_cast<std::size_t>(e)].Captured[1] = true;
        for (int t : c.opened)
            w.treasures.Treasures[static_cast<std::size_t>(t)].OpenedOn[1] = QDate(2026, 1, 2);
        const auto overview = modProgress::BuildOverview(w);
        const modProgress::Row* row = nullptr;
        for (const auto& r : overview.rows)
            if ((r.kind == modProgress::RowKind::Chests) == c.chests &&
                (r.kind == modProgress::RowKind::Total ? QStringLiteral("total") : r.name) ==
                    QString::fromLatin1(c.row))
                row = &r;
        ASSERT_NE(row, nullptr);
        const Area shown = modProgress::RegionToShow(w, *row, 1, c.current);
        EXPECT_EQ(shown.campaign, c.expected.campaign);
        EXPECT_EQ(shown.region, c.expected.region);
    }
}

} // namespace

// The search index: what it finds, how it ranks, accent folding of the
// Windows-1252 letters, and keeping note titles current.
#include "panel/modSearch.h"

#include "records/RecordFile.h"

#include "../TestWorld.h"

#include <gtest/gtest.h>

using modSearch::Kind;

namespace {

// Campaign 1 "Alpha" with regions 1 "North Vale" and 2 "Ice Coast" and a
// zone in each; skills, bosses, a collector, a green, a chest, a pet and a note.
TestWorld SearchWorld()
{
    TestWorld t;
    t.campaign(1, QStringLiteral("Alpha"))
        .region(1, 1, QStringLiteral("North Vale"))
        .region(1, 2, QStringLiteral("Ice Coast"))
        .skill(1, QStringLiteral("Orcish Fury"), 0)
        .skill(2, QStringLiteral("Stone Ward"), 0)
        .skill(3, QStringLiteral("Lost Art"), 0); // no boss
    t.zone(1, 1, 10, QStringLiteral("Thornwood"));
    t.zone(1, 2, 20, QStringLiteral("Frost Hollow"));
    t.place(1, 1, 1, 100, 110, QStringLiteral("Grim Orc"), {}, 10);
    t.place(2, 1, 1, 200, 210, QStringLiteral("Stone Orc"), {}, 10);
    t.place(2, 1, 2, 300, 310, QStringLiteral("Frost Sorcerer"), {}, 20);
    t.place(0, 1, 2, 400, 410, QStringLiteral("Old Hermit"), {}, 20); // a boss without a skill
    t.collector(1, QStringLiteral("Ward Keeper"), 1, 2, 20, 50, 60, {{"Orc Hide Boots", 1, {}}});
    t.green(QStringLiteral("Stone Orc's Axe"), 2, 1);
    t.world.treasures.Treasures[std::size_t(t.chest(QStringLiteral("Frost Chest"), 2, 20, 0, 0))].Campaign = 1;
    t.pet(1, QStringLiteral("Snow Wolf"), {{1, 1, 10, 1, 2}, {1, 2, 20, 3, 4}});
    t.note(QStringLiteral("Orchard gate"), QString(), 1, 1, 0, 0);
    return t;
}

struct Named {
    Kind kind;
    QString name;
    friend bool operator==(const Named&, const Named&) = default;
};

void PrintTo(const Named& n, std::ostream* os)
{
    *os << int(n.kind) << ':' << n.name.toStdString();
}

std::vector<Named> NamesOf(const std::vector<modSearch::Result>& results)
{
    std::vector<Named> out;
    for (const auto& r : results)
        out.push_back({r.kind, r.name});
    return out;
}

TEST(SearchIndex, RanksWordStartsFirstThenByKindAndName)
{
    const World w = SearchWorld().world;
    const modSearch::SearchIndex index(w);
    const struct {
        const char* title;
        const char* query;
        std::vector<Named> expected;
    } cases[] = {
        {"word starts (of any word) before inner matches, kinds in order",
         "orc",
         {{Kind::Skill, "Orcish Fury"},
          {Kind::Boss, "Grim Orc"},
          {Kind::Boss, "Stone Orc"},
          {Kind::Reward, "Orc Hide Boots"},
          {Kind::Green, "Stone Orc's Axe"},
          {Kind::Note, "Orchard gate"},
          {Kind::Boss, "Frost Sorcerer"}}},
        {"a skill with two bosses is listed at each boss",
         "stone w",
         {{Kind::Skill, "Stone Ward"}, {Kind::Skill, "Stone Ward"}}},
        {"case-blind, spaces around the query ignored",
         "  FROST  ",
         {{Kind::Boss, "Frost Sorcerer"}, {Kind::Chest, "Frost Chest"}, {Kind::Zone, "Frost Hollow"}}},
        {"a word start outranks an earlier kind", "al", {{Kind::Campaign, "Alpha"}, {Kind::Region, "North Vale"}}},
        {"a boss without a skill is a boss only", "hermit", {{Kind::Boss, "Old Hermit"}}},
        {"a pet at each of its places", "wolf", {{Kind::Pet, "Snow Wolf"}, {Kind::Pet, "Snow Wolf"}}},
        {"a blank query finds nothing", "   ", {}},
        {"no match", "xyz", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NamesOf(index.Find(QString::fromUtf8(c.query))), c.expected) << c.title;
    EXPECT_EQ(index.Find(u"o", 3).size(), 3u) << "the limit";
}

TEST(SearchIndex, ResultsCarryTheirPlaceAndLocationText)
{
    const World w = SearchWorld().world;
    const modSearch::SearchIndex index(w);
    const auto skill = index.Find(u"stone ward");
    ASSERT_EQ(skill.size(), 2u);
    EXPECT_EQ(skill[0].location, "Thornwood - North Vale - Alpha");
    EXPECT_EQ(skill[1].location, "Frost Hollow - Ice Coast - Alpha");
    EXPECT_EQ((std::vector<int>{skill[0].item, skill[0].place, skill[0].region, skill[0].x}),
              (std::vector<int>{2, 1, 1, 200}));
    EXPECT_EQ((std::vector<int>{skill[1].item, skill[1].place, skill[1].region, skill[1].x}),
              (std::vector<int>{2, 2, 2, 300}));

    const auto green = index.Find(u"axe");
    ASSERT_EQ(green.size(), 1u);
    EXPECT_EQ(green[0].x, 200) << "where its boss stands";

    const auto lost = index.Find(u"lost art");
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_EQ(lost[0].location, "Alpha") << "a skill without a boss: its campaign";
    EXPECT_EQ(lost[0].place, 0);
}

TEST(SearchIndex, FoldsAccentsAndTheSpelledOutWindows1252Letters)
{
    const struct {
        const char* title;
        QByteArray cp1252; // the name as a record file spells it (octal escapes)
        const char* query;
    } cases[] = {
        {"acute accent", "\311cole Blade", "ecole"},                 // École
        {"query with the accent", "Ecole Blade", "\303\211COLE"},    // query "ÉCOLE" (UTF-8)
        {"diaeresis and caron", "Zo\353's \212kull", "zoe's skull"}, // Zoë's Škull
        {"ae ligature", "\306ther Staff", "aether"},                 // Æther
        {"sharp s", "Stra\337e Guard", "strasse"},                   // Straße
        {"thorn", "\336orn Hide", "thorn hide"},                     // Þorn
    };
    for (const auto& c : cases) {
        World w = SearchWorld().world;
        auto& green = w.greens.Greens.emplace_back();
        green.Name = records::DecodeWindows1252(c.cp1252);
        const modSearch::SearchIndex index(w);
        const auto found = index.Find(QString::fromUtf8(c.query));
        ASSERT_EQ(found.size(), 1u) << c.title;
        EXPECT_EQ(found[0].name, green.Name) << c.title << ": the name is shown as it is spelled";
    }
}

TEST(SearchIndex, NoteTitlesFollowInsertsEditsAndDeletes)
{
    TestWorld t = SearchWorld();
    modSearch::SearchIndex index(t.world);
    const int n = t.note(QStringLiteral("Hidden cave"), QString(), 1, 2, 0, 0);
    EXPECT_TRUE(index.Find(u"cave").empty()) << "not until the index is told";
    index.UpdateNotes(t.world);
    auto found = index.Find(u"cave");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].item, n);
    EXPECT_EQ(found[0].location, "Ice Coast - Alpha");

    t.world.notes.Notes[std::size_t(n)].ShortDesc.clear(); // deleted
    index.UpdateNotes(t.world);
    EXPECT_TRUE(index.Find(u"cave").empty());
    EXPECT_EQ(index.Find(u"orc").size(), 7u) << "the other note and the other kinds stay";
}

} // namespace

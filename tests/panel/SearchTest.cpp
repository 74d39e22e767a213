// The search index: what it finds, how it ranks, accent folding of the
// Windows-1252 letters, and keeping note titles current.
#include "panel/modSearch.h"

#include "records/RecordFile.h"

#include <gtest/gtest.h>

using modSearch::Kind;

namespace {

// Campaign 1 "Alpha" with regions 1 "North Vale" and 2 "Ice Coast" and two
// zones; skills, bosses, a collector, a green, a chest, a pet and a note.
struct SearchWorld {
    World w;
    SearchWorld()
    {
        w.campaigns.resize(2);
        w.campaigns[1].Name = QStringLiteral("Alpha");
        w.campaigns[1].Regions.resize(3);
        w.campaigns[1].Regions[1].Name = QStringLiteral("North Vale");
        w.campaigns[1].Regions[2].Name = QStringLiteral("Ice Coast");
        zone(1, 10, QStringLiteral("Thornwood"));
        zone(2, 20, QStringLiteral("Frost Hollow"));

        w.elite.EliteSkills.resize(4);
        skill(1, QStringLiteral("Orcish Fury"));
        skill(2, QStringLiteral("Stone Ward"));
        skill(3, QStringLiteral("Lost Art")); // no boss
        boss(1, 1, 10, QStringLiteral("Grim Orc"), 100, 110);
        boss(2, 1, 10, QStringLiteral("Stone Orc"), 200, 210);
        boss(2, 2, 20, QStringLiteral("Frost Sorcerer"), 300, 310);
        boss(0, 2, 20, QStringLiteral("Old Hermit"), 400, 410); // a boss without a skill

        auto& col = w.collectors.Collectors.emplace_back();
        col.Name = QStringLiteral("Ward Keeper");
        col.Campaign = 1, col.Region = 2, col.Zone = 20, col.X = 50, col.Y = 60;
        col.Rewards.push_back({QStringLiteral("Orc Hide Boots"), 1, {QString()}});

        auto& green = w.greens.Greens.emplace_back();
        green.Name = QStringLiteral("Stone Orc's Axe");
        green.EliteNumber = 2, green.LocationIndex = 1;

        auto& chest = w.treasures.Treasures.emplace_back();
        chest.Name = QStringLiteral("Frost Chest");
        chest.Campaign = 1, chest.Region = 2, chest.Zone = 20;

        auto& pet = w.pets.Pets.emplace_back();
        pet.Name = QStringLiteral("Snow Wolf");
        pet.Places.push_back({1, 1, 10, 1, 2, 0, 0, 0, 0, QString()});
        pet.Places.push_back({1, 2, 20, 3, 4, 0, 0, 0, 0, QString()});

        note(QStringLiteral("Orchard gate"), 1, 1);
    }
    void zone(int r, int id, const QString& name)
    {
        ZoneEntry z;
        z.Id = static_cast<int16_t>(id);
        z.Name = name;
        w.campaigns[1].Regions[r].Zones.push_back(z);
    }
    void skill(int n, const QString& name)
    {
        auto& s = w.elite.EliteSkills[n];
        s.Name = name;
        s.Defined = true;
        s.Campaign = 1;
    }
    void boss(int n, int r, int zone, const QString& name, int x, int y)
    {
        modElite::EliteLocation l;
        l.Campaign = 1;
        l.Region = static_cast<uint8_t>(r);
        l.Zone = zone;
        l.Boss = name;
        l.X = x;
        l.Y = y;
        w.elite.EliteSkills[n].Locations.push_back(l);
    }
    int note(const QString& title, int c, int r)
    {
        auto& n = w.notes.Notes.emplace_back();
        n.ShortDesc = title;
        n.Campaign = static_cast<uint8_t>(c);
        n.Region = static_cast<uint8_t>(r);
        return w.notes.count();
    }
};

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

struct RankCase {
    const char* title;
    const char* query;
    std::vector<Named> expected;
};

TEST(SearchIndex, RanksWordStartsFirstThenByKindAndName)
{
    const SearchWorld sw;
    const modSearch::SearchIndex index(sw.w);
    const RankCase cases[] = {
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
    const SearchWorld sw;
    const modSearch::SearchIndex index(sw.w);
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
    EXPECT_EQ(green[0].location, "Thornwood - North Vale - Alpha") << "where its boss stands";
    EXPECT_EQ(green[0].x, 200);

    const auto lost = index.Find(u"lost art");
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_EQ(lost[0].location, "Alpha") << "a skill without a boss: its campaign";
    EXPECT_EQ(lost[0].place, 0);

    const auto reward = index.Find(u"boots");
    ASSERT_EQ(reward.size(), 1u);
    EXPECT_EQ((std::vector<int>{reward[0].item, reward[0].place}), (std::vector<int>{1, 1}));
}

TEST(SearchIndex, FoldsAccentsAndTheSpelledOutWindows1252Letters)
{
    struct Case {
        const char* title;
        QByteArray cp1252; // the name as a record file spells it
        const char* query;
    };
    const Case cases[] = {
        {"acute accent",
         "\xC9"
         "cole Blade",
         "ecole"}, // École
        {"query with the accent", "Ecole Blade",
         "\xC3\x89"
         "COLE"},                                                    // query "ÉCOLE" (UTF-8)
        {"diaeresis and caron", "Zo\xEB's \x8Akull", "zoe's skull"}, // Zoë's Škull
        {"ae ligature", "\xC6ther Staff", "aether"},                 // Æther
        {"oe ligature",
         "\x8C"
         "uvre Mask",
         "oeuvre"}, // Œuvre
        {"sharp s",
         "Stra\xDF"
         "e Guard",
         "strasse"},                                   // Straße
        {"o with stroke", "Bj\xF8rn's Horn", "bjorn"}, // Bjørn
        {"thorn",
         "\xDE"
         "orn Hide",
         "thorn hide"}, // Þorn
        {"y with diaeresis",
         "\x9F"
         "vel Ring",
         "yvel"}, // Ÿvel
    };
    for (const auto& c : cases) {
        SearchWorld sw;
        auto& green = sw.w.greens.Greens.emplace_back();
        green.Name = records::DecodeWindows1252(c.cp1252);
        const modSearch::SearchIndex index(sw.w);
        const auto found = index.Find(QString::fromUtf8(c.query));
        ASSERT_EQ(found.size(), 1u) << c.title;
        EXPECT_EQ(found[0].name, green.Name) << c.title << ": the name is shown as it is spelled";
    }
}

TEST(SearchIndex, NoteTitlesFollowInsertsEditsAndDeletes)
{
    SearchWorld sw;
    modSearch::SearchIndex index(sw.w);
    const int n = sw.note(QStringLiteral("Hidden cave"), 1, 2);
    EXPECT_TRUE(index.Find(u"cave").empty()) << "not until the index is told";
    index.UpdateNotes(sw.w);
    auto found = index.Find(u"cave");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].item, n);
    EXPECT_EQ(found[0].location, "Ice Coast - Alpha");

    sw.w.notes.Notes[n].ShortDesc.clear(); // deleted
    index.UpdateNotes(sw.w);
    EXPECT_TRUE(index.Find(u"cave").empty());
    EXPECT_EQ(NamesOf(index.Find(u"orchard")), (std::vector<Named>{{Kind::Note, "Orchard gate"}}))
        << "the other note stays";
    EXPECT_EQ(index.Find(u"frost").size(), 3u) << "the other kinds stay";
}

} // namespace

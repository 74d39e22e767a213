// The generated demo world: the same bytes on every run, and a folder that
// the start-up loader reads without a single skipped line.
#include "tools/demoworld/DemoWorld.h"
#include "core/TextNumbers.h"
#include "records/RecordFile.h"
#include "world/LoadAllData.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <algorithm>
#include <map>
#include <memory>
#include <ranges>
#include <set>

namespace {

std::map<QString, QByteArray> Checksums(const QString& root)
{
    std::map<QString, QByteArray> sums;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            sums[QDir(root).relativeFilePath(path)] =
                QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex();
    }
    return sums;
}

// A generated world in a temporary folder, with the shipped language file
// beside it (written after the run, so two runs' folders stay alike).
std::unique_ptr<QTemporaryDir> Generate(demoworld::Options options, demoworld::Summary* summary = nullptr)
{
    auto dir = std::make_unique<QTemporaryDir>();
    options.outDir = dir->path();
    QString error;
    EXPECT_TRUE(demoworld::GenerateDemoWorld(options, summary, &error)) << error.toStdString();
    QDir().mkpath(dir->filePath(QStringLiteral("Data")));
    EXPECT_TRUE(QFile::copy(QStringLiteral(WAYLOOM_SOURCE_DIR "/resources/Language.txt"),
                            dir->filePath(QStringLiteral("Data/Language.txt"))));
    return dir;
}

// The folder loaded as the program loads it, read-only.
std::unique_ptr<World> Load(const QTemporaryDir& dir)
{
    auto world = std::make_unique<World>();
    StartupOptions startup;
    startup.readOnly = true;
    EXPECT_TRUE(LoadProgramFolder(*world, dir.path() + u'/', startup));
    return world;
}

// A world with small maps, written twice: once on one thread, once on two.
class SmallDemoWorld : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        demoworld::Options options;
        options.mapSize = 0.25;
        options.threads = 1;
        s_first = Generate(options);
        options.threads = 2;
        s_second = Generate(options);
    }
    static void TearDownTestSuite() { s_first.reset(), s_second.reset(); }
    inline static std::unique_ptr<QTemporaryDir> s_first, s_second;
};

TEST_F(SmallDemoWorld, TwoRunsWriteTheSameBytes)
{
    const auto first = Checksums(s_first->path()), second = Checksums(s_second->path());
    ASSERT_GT(first.size(), 300u);
    EXPECT_TRUE(first.count(QStringLiteral("Campaign.01.Thornmere/8.jpg")));
    EXPECT_TRUE(first.count(QStringLiteral("Campaign.02.Saltreach/01.jpg"))) << "region numbers keep their spelling";
    EXPECT_TRUE(first.count(QStringLiteral("Campaign.03.Emberwake/Treasures.txt")));
    EXPECT_TRUE(first.count(QStringLiteral("Campaign.00.Loomhearth/imgPets/01.jpg")));
    for (const auto& [file, sum] : first) {
        const auto it = second.find(file);
        ASSERT_NE(it, second.end()) << file.toStdString() << " missing in the second run";
        EXPECT_EQ(sum, it->second) << file.toStdString() << " differs";
    }
    EXPECT_EQ(first.size(), second.size());
}

// Every marker the loaders read lies on its region's picture (catches a
// wrong coordinate unit, such as fifteenths of a pixel read as pixels).
TEST_F(SmallDemoWorld, EveryMarkerLiesOnItsMap)
{
    const auto loaded = Load(*s_first);
    const World& world = *loaded;
    EXPECT_TRUE(world.diagnostics.empty());

    std::map<std::pair<int, int>, QSize> sizes;
    for (size_t c = 0; c < world.campaigns.size(); ++c)
        for (size_t r = 1; r < world.campaigns[c].Regions.size(); ++r)
            sizes[{int(c), int(r)}] = QImageReader(world.campaigns[c].Regions[r].ImagePath).size();
    ASSERT_EQ(sizes.size(), 19u);
    auto onMap = [&](const char* what, int c, int r, int x, int y) {
        const auto it = sizes.find({c, r});
        if (it == sizes.end()) {
            ADD_FAILURE() << what << " in campaign " << c << " region " << r << ", which has no map";
            return;
        }
        EXPECT_TRUE(x > 0 && y > 0 && x < it->second.width() && y < it->second.height())
            << what << " at " << x << "," << y << " off the " << it->second.width() << "x" << it->second.height()
            << " map of campaign " << c << " region " << r;
    };
    for (size_t c = 0; c < world.campaigns.size(); ++c)
        for (size_t r = 1; r < world.campaigns[c].Regions.size(); ++r)
            for (const auto& z : world.campaigns[c].Regions[r].Zones | std::views::drop(1))
                onMap("zone", int(c), int(r), z.X, z.Y);
    for (const auto& skill : world.elite.EliteSkills)
        for (const auto& l : skill.Locations | std::views::drop(1))
            onMap("boss", l.Campaign, l.Region, l.X, l.Y);
    for (const auto& col : world.collectors.Collectors | std::views::drop(1))
        onMap("collector", col.Campaign, col.Region, col.X, col.Y);
    for (const auto& t : world.treasures.Treasures | std::views::drop(1))
        onMap("treasure", t.Campaign, t.Region, t.X, t.Y);
    for (const auto& pet : world.pets.Pets)
        for (const auto& p : pet.Places | std::views::drop(1))
            onMap("pet", p.Campaign, p.Region, p.X, p.Y);
}

TEST(DemoWorld, RefusesBadOptions)
{
    QString error;
    demoworld::Options options;
    EXPECT_FALSE(demoworld::GenerateDemoWorld(options, nullptr, &error)) << "no output folder";
    options.outDir = QStringLiteral("/nonexistent-root-folder/x");
    options.scale = 0;
    EXPECT_FALSE(demoworld::GenerateDemoWorld(options, nullptr, &error)) << "scale 0";
    EXPECT_FALSE(error.isEmpty());
}

// One scale-1 world (data files only) loaded as the program loads it.
class LoadedDemoWorld : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        demoworld::Options options;
        options.maps = false;
        s_dir = Generate(options, &s_summary);
        s_world = Load(*s_dir);
    }
    static void TearDownTestSuite() { s_world.reset(), s_dir.reset(); }
    inline static std::unique_ptr<QTemporaryDir> s_dir;
    inline static std::unique_ptr<World> s_world;
    inline static demoworld::Summary s_summary;
};

TEST_F(LoadedDemoWorld, LoadsWithoutDiagnostics)
{
    for (const auto& d : s_world->diagnostics.items())
        ADD_FAILURE() << records::Diagnostics::format(d).toStdString();
}

TEST_F(LoadedDemoWorld, EveryTableIsFilled)
{
    const World& w = *s_world;
    EXPECT_EQ(w.professions.highest(), 10);
    EXPECT_EQ(w.elite.highest(), s_summary.skills);
    EXPECT_EQ(w.greens.count(), s_summary.greens);
    EXPECT_EQ(w.collectors.highest(), s_summary.collectors);
    EXPECT_EQ(w.treasures.count(), s_summary.treasures);
    EXPECT_EQ(w.pets.highest(), s_summary.pets);
    int locations = 0, petPlaces = 0;
    for (const auto& s : w.elite.EliteSkills)
        locations += int(s.Locations.size()) - 1;
    for (const auto& p : w.pets.Pets)
        petPlaces += int(p.Places.size()) - 1;
    EXPECT_EQ(locations, s_summary.places);
    EXPECT_EQ(petPlaces, s_summary.petPlaces);
    EXPECT_GE(w.collectors.RequestTypes.size(), 10u);
    EXPECT_EQ(s_summary.sharedPlaces, 0) << "every marker has a place of its own";
    EXPECT_GE(s_summary.places, 550);
}

// What makes the world worth looking at: every entry reaches the map, and
// every quirk of the files is there at least once.
TEST_F(LoadedDemoWorld, EveryEntryIsListedSomewhere)
{
    const World& w = *s_world;
    for (const auto& g : w.greens.Greens | std::views::drop(1))
        EXPECT_NE(g.EliteNumber, -1) << g.Name.toStdString() << " has no boss";
    for (const auto& col : w.collectors.Collectors | std::views::drop(1)) {
        EXPECT_NE(col.X, -1) << col.Name.toStdString() << " has no place";
        EXPECT_TRUE(
            std::any_of(col.Rewards.begin() + 1, col.Rewards.end(), [](const auto& r) { return r.HandMask != 0; }))
            << col.Name.toStdString() << " offers nothing a hand filter keeps";
    }
    for (const auto& pet : w.pets.Pets | std::views::drop(1)) {
        EXPECT_GT(pet.Places.size(), 1u) << pet.Name.toStdString();
        EXPECT_GT(records::FileLength(pet.Picture), 0) << pet.Picture.toStdString();
    }
    // Boss places name a zone of their own region.
    for (const auto& s : w.elite.EliteSkills)
        for (const auto& l : s.Locations | std::views::drop(1)) {
            const auto& zones = w.campaigns[l.Campaign].Regions[l.Region].Zones;
            EXPECT_TRUE(std::any_of(zones.begin() + 1, zones.end(), [&](const ZoneEntry& z) { return z.Id == l.Zone; }))
                << l.Boss.toStdString() << " stands in zone " << l.Zone << ", unknown to its region";
        }
}

TEST_F(LoadedDemoWorld, SkillsMatchTheirProfessionsAndTexts)
{
    const World& w = *s_world;
    const QString noAttribute = w.language(Text::NoAttribute);
    int withoutAttribute = 0, shortRecords = 0, noProfession = 0, upkeep = 0, fractions = 0;
    for (int e = 1; e <= w.elite.highest(); ++e) {
        const auto& s = w.elite.EliteSkills[size_t(e)];
        ASSERT_TRUE(s.Defined) << "elite " << e;
        if (s.Description.isEmpty()) { // a short record: name and profession only
            ++shortRecords;
            EXPECT_TRUE(s.Picture.isEmpty());
            continue;
        }
        EXPECT_FALSE(s.Picture.isEmpty()) << s.Name.toStdString() << " has no picture";
        noProfession += s.Profession == 0;
        upkeep += s.Upkeep == -1;
        fractions += s.CastTime.contains(u'/');
        if (s.Attribute == noAttribute) {
            ++withoutAttribute;
            continue;
        }
        // Any other attribute is one of the skill's profession.
        const auto& attrs = w.professions.Professions[s.Profession].Attributes;
        EXPECT_NE(std::find(attrs.begin() + 1, attrs.end(), s.Attribute), attrs.end())
            << s.Name.toStdString() << ": " << s.Attribute.toStdString();
    }
    EXPECT_GT(withoutAttribute, 10);
    EXPECT_GT(shortRecords, 3);
    EXPECT_GT(noProfession, 0);
    EXPECT_GT(upkeep, 10);
    EXPECT_GT(fractions, 50);
}

TEST_F(LoadedDemoWorld, BossPlacesShowEveryMarkerCodeAndNoteKind)
{
    const World& w = *s_world;
    std::set<QString> codes;
    int multiLine = 0, onlyDuring = 0, withoutElite = int(w.elite.EliteSkills[0].Locations.size()) - 1;
    bool missionBossDrops = false;
    for (const auto& s : w.elite.EliteSkills)
        for (const auto& l : s.Locations | std::views::drop(1)) {
            codes.insert(l.MarkerType);
            multiLine += l.Note.contains(QStringLiteral("\r\n"));
            onlyDuring += l.Note.startsWith(QStringLiteral("only during"), Qt::CaseInsensitive);
            if (l.MarkerType == QStringLiteral("D") && l.Greens.size() > 1)
                missionBossDrops = true;
        }
    EXPECT_EQ(codes, (std::set<QString>{QString(), "D", "P", "C", "1", "a", "?"}));
    EXPECT_GT(multiLine, 5);
    EXPECT_GT(onlyDuring, 2);
    EXPECT_GT(withoutElite, 20);
    EXPECT_TRUE(missionBossDrops) << "one boss marked D still drops green items";
}

TEST_F(LoadedDemoWorld, EveryRegionHasAllZoneKindsWithLabelsApart)
{
    int zones = 0;
    for (size_t c = 1; c < s_world->campaigns.size(); ++c) {
        const auto& regions = s_world->campaigns[c].Regions;
        for (size_t r = 1; r < regions.size(); ++r) {
            const auto& z = regions[r].Zones;
            ASSERT_GE(z.size(), 9u) << "campaign " << c << " region " << r;
            std::set<std::pair<uint32_t, int>> kinds;
            for (size_t i = 1; i < z.size(); ++i) {
                kinds.insert({z[i].Kind, z[i].Kind == 1 ? z[i].IconFlag : 0});
                ++zones;
                // Name labels (up to 200 pixels wide, under the icon) never overlap.
                for (size_t j = i + 1; j < z.size(); ++j)
                    EXPECT_TRUE(std::abs(z[i].X - z[j].X) >= 200 || std::abs(z[i].Y - z[j].Y) >= 78)
                        << z[i].Name.toStdString() << " crowds " << z[j].Name.toStdString();
            }
            EXPECT_EQ(kinds.size(), 7u) << "six kinds, open areas with and without icon; campaign " << c << " region "
                                        << r;
        }
    }
    EXPECT_EQ(zones, s_summary.zones);
}

} // namespace

// The generated demo world: the same bytes on every run, and a folder that
// the start-up loader reads without a single skipped line.
#include "core/LoadAllData.h"
#include "core/TextNumbers.h"
#include "tools/demoworld/DemoWorld.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <map>
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
            sums[QDir(root).relativeFilePath(path)] = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex();
    }
    return sums;
}

// A world with small maps, written twice: once on one thread, once on two.
class SmallDemoWorld : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_first = new QTemporaryDir;
        s_second = new QTemporaryDir;
        demoworld::Options options;
        options.mapSize = 0.25;
        QString error;
        options.outDir = s_first->path();
        options.threads = 1;
        ASSERT_TRUE(demoworld::GenerateDemoWorld(options, nullptr, &error)) << error.toStdString();
        options.outDir = s_second->path();
        options.threads = 2;
        ASSERT_TRUE(demoworld::GenerateDemoWorld(options, nullptr, &error)) << error.toStdString();
    }
    static void TearDownTestSuite()
    {
        delete s_first;
        delete s_second;
    }
    static QTemporaryDir* s_first;
    static QTemporaryDir* s_second;
};
QTemporaryDir* SmallDemoWorld::s_first = nullptr;
QTemporaryDir* SmallDemoWorld::s_second = nullptr;

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
    // The language file goes into both folders, which stay alike.
    for (const QTemporaryDir* dir : {s_first, s_second}) {
        QDir().mkpath(dir->filePath(QStringLiteral("Data")));
        QFile::copy(QStringLiteral(WAYLOOM_SOURCE_DIR "/resources/Language.txt"), dir->filePath(QStringLiteral("Data/Language.txt")));
    }
    const QString root = s_first->path() + u'/';
    World world;
    StartupOptions startup;
    startup.readOnly = true;
    ASSERT_TRUE(LoadProgramFolder(world, root, startup));
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
            for (size_t z = 1; z < world.campaigns[c].Regions[r].Zones.size(); ++z)
                onMap("zone", int(c), int(r), world.campaigns[c].Regions[r].Zones[z].X, world.campaigns[c].Regions[r].Zones[z].Y);
    for (const auto& skill : world.elite.EliteSkills)
        for (size_t i = 1; i < skill.Locations.size(); ++i)
            onMap("boss", skill.Locations[i].Campaign, skill.Locations[i].Region, skill.Locations[i].X, skill.Locations[i].Y);
    for (size_t i = 1; i < world.collectors.Collectors.size(); ++i) {
        const auto& col = world.collectors.Collectors[i];
        onMap("collector", col.Campaign, col.Region, col.X, col.Y);
    }
    for (size_t i = 1; i < world.treasures.Treasures.size(); ++i) {
        const auto& t = world.treasures.Treasures[i];
        onMap("treasure", t.Campaign, t.Region, t.X, t.Y);
    }
    for (const auto& pet : world.pets.Pets)
        for (size_t i = 1; i < pet.Places.size(); ++i)
            onMap("pet", pet.Places[i].Campaign, pet.Places[i].Region, pet.Places[i].X, pet.Places[i].Y);
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
        s_dir = new QTemporaryDir;
        demoworld::Options options;
        options.outDir = s_dir->path();
        options.maps = false;
        QString error;
        ASSERT_TRUE(demoworld::GenerateDemoWorld(options, &s_summary, &error)) << error.toStdString();
        QDir().mkpath(s_dir->filePath(QStringLiteral("Data")));
        ASSERT_TRUE(QFile::copy(QStringLiteral(WAYLOOM_SOURCE_DIR "/resources/Language.txt"),
                                s_dir->filePath(QStringLiteral("Data/Language.txt"))));
        s_world = new World;
        StartupOptions startup;
        startup.readOnly = true;
        ASSERT_TRUE(LoadProgramFolder(*s_world, s_dir->path(), startup));
    }
    static void TearDownTestSuite()
    {
        delete s_world;
        delete s_dir;
    }
    static QTemporaryDir* s_dir;
    static World* s_world;
    static demoworld::Summary s_summary;
};
QTemporaryDir* LoadedDemoWorld::s_dir = nullptr;
World* LoadedDemoWorld::s_world = nullptr;
demoworld::Summary LoadedDemoWorld::s_summary;

TEST_F(LoadedDemoWorld, LoadsWithoutDiagnostics)
{
    for (const auto& d : s_world->diagnostics.items())
        ADD_FAILURE() << records::Diagnostics::format(d).toStdString();
}

TEST_F(LoadedDemoWorld, EveryMarkerHasAPlaceOfItsOwn)
{
    EXPECT_EQ(s_summary.sharedPlaces, 0);
    EXPECT_GE(s_summary.places, 550);
    EXPECT_EQ(s_summary.collectors, 150);
    EXPECT_EQ(s_summary.treasures, 60);
}

TEST_F(LoadedDemoWorld, CatalogueHasEveryCampaignAndItsRegions)
{
    const CampaignTable& c = s_world->campaigns;
    ASSERT_EQ(c.size(), 5u);
    const int regions[] = {0, 8, 4, 4, 3};
    for (int n = 0; n < 5; ++n) {
        EXPECT_FALSE(c[size_t(n)].Name.isEmpty()) << "campaign " << n;
        EXPECT_EQ(int(c[size_t(n)].Regions.size()) - 1, regions[n]) << "campaign " << n;
    }
    EXPECT_EQ(c[3].Name, QStringLiteral("Emberwake"));
    EXPECT_TRUE(c[2].Regions[1].ImagePath.endsWith(QStringLiteral("/01.jpg")));
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
            EXPECT_EQ(kinds.size(), 7u) << "six kinds, open areas with and without icon; campaign " << c
                                        << " region " << r;
        }
    }
    EXPECT_EQ(zones, s_summary.zones);
}

} // namespace

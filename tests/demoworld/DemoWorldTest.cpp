// The generated demo world: the same bytes on every run, and a folder that
// the start-up loader reads without a single skipped line.
#include "tools/demoworld/DemoWorld.h"
#include "core/ColourDifference.h"
#include "records/RecordFile.h"
#include "world/LoadAllData.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <span>
#include <vector>

namespace {

// A table without its unused entry 0.
template <typename T>
std::span<const T> FromOne(const std::vector<T>& table)
{
    return table.empty() ? std::span<const T>() : std::span<const T>(table).subspan(1);
}

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
std::unique_ptr<QTemporaryDir> Generate(demoworld::Options options)
{
    auto dir = std::make_unique<QTemporaryDir>();
    options.outDir = dir->path();
    QString error;
    EXPECT_TRUE(demoworld::GenerateDemoWorld(options, nullptr, &error)) << error.toStdString();
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

// A world with small maps, written twice (once on one thread, once on two)
// and the first loaded as the program loads it.
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
        s_world = Load(*s_first);
    }
    static void TearDownTestSuite() { s_world.reset(), s_first.reset(), s_second.reset(); }
    inline static std::unique_ptr<QTemporaryDir> s_first, s_second;
    inline static std::unique_ptr<World> s_world;
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

TEST_F(SmallDemoWorld, LoadsWithoutDiagnostics)
{
    for (const auto& d : s_world->diagnostics.items())
        ADD_FAILURE() << records::Diagnostics::format(d).toStdString();
}

// Every marker the loaders read lies on its region's picture (catches a
// wrong coordinate unit, such as fifteenths of a pixel read as pixels).
TEST_F(SmallDemoWorld, EveryMarkerLiesOnItsMap)
{
    const World& world = *s_world;

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
            for (const auto& z : FromOne(world.campaigns[c].Regions[r].Zones))
                onMap("zone", int(c), int(r), z.X, z.Y);
    for (const auto& skill : world.elite.EliteSkills)
        for (const auto& l : FromOne(skill.Locations))
            onMap("boss", l.Campaign, l.Region, l.X, l.Y);
    for (const auto& col : FromOne(world.collectors.Collectors))
        onMap("collector", col.Campaign, col.Region, col.X, col.Y);
    for (const auto& t : FromOne(world.treasures.Treasures))
        onMap("treasure", t.Campaign, t.Region, t.X, t.Y);
    for (const auto& pet : world.pets.Pets)
        for (const auto& p : FromOne(pet.Places))
            onMap("pet", p.Campaign, p.Region, p.X, p.Y);
}

// The markers' colours, as loaded, stay apart for every reader: the two most
// alike (the grey of "No profession" included) differ by at least 10 in
// CIEDE2000, and by at least 5 as readers without red or green cones see them.
TEST_F(SmallDemoWorld, ProfessionColoursStayApartInEveryVision)
{
    std::vector<colourdiff::Rgb> colours;
    for (const auto& p : s_world->professions.Professions)
        if (!p.Name.isEmpty())
            colours.push_back(colourdiff::FromColourNumber(p.Colour));
    ASSERT_EQ(colours.size(), 11u);
    const std::pair<colourdiff::Vision, double> least[] = {
        {colourdiff::Vision::Normal, 10}, {colourdiff::Vision::Protanopia, 5}, {colourdiff::Vision::Deuteranopia, 5}};
    for (const auto& [vision, floor] : least) {
        const auto pair = colourdiff::FindClosestPair(colours, vision);
        EXPECT_GE(pair.DeltaE, floor) << colourdiff::VisionName(vision) << ": professions " << pair.First << " and "
                                      << pair.Second;
    }
}

} // namespace

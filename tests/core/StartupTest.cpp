// Start-up housekeeping and the order of the start-up loader.

#include "TestFiles.h"

#include "core/modMain.h"
#include "world/LoadAllData.h"

using namespace std::chrono_literals;

namespace {

TEST(MovePersonalFiles, MovesCapturesAndCharactersOnce)
{
    ProgramFolder dir;
    dir.write("Data/Char01CapElite.txt", "0007\r\n");
    dir.write("Data/Char42CapElite.txt", "0001\r\n");
    dir.write("Data/Char05CapElite.txt", ""); // empty: counts as missing, stays
    dir.write("Data/Characters.txt", "01\tAlda\r\n");
    dir.write("Data/Char01OpenedTreasures.txt", "0001\t01012010\r\n");
    modMain::MovePersonalFiles(dir.path());

    EXPECT_EQ(dir.read("Personal/Char01CapElite.txt"), QByteArray("0007\r\n"));
    EXPECT_EQ(dir.read("Personal/Characters.txt"), QByteArray("01\tAlda\r\n"));
    // Personal now exists: leftovers in Data stay where they are.
    dir.write("Data/Char02CapElite.txt", "0003\r\n");
    modMain::MovePersonalFiles(dir.path());
    for (auto [file, there] : {std::pair{"Personal/Char42CapElite.txt", true},
                               {"Data/Char01CapElite.txt", false},
                               {"Data/Characters.txt", false},
                               {"Data/Char05CapElite.txt", true},
                               {"Personal/Char05CapElite.txt", false},
                               {"Data/Char01OpenedTreasures.txt", true},
                               {"Data/Char02CapElite.txt", true},
                               {"Personal/Char02CapElite.txt", false}})
        EXPECT_EQ(dir.exists(file), there) << file;
}

TEST(MovePersonalFiles, NoSourcesOrAFileNamedPersonal)
{
    ProgramFolder empty;
    modMain::MovePersonalFiles(empty.path()); // no Data folder at all
    EXPECT_TRUE(empty.exists("Personal"));

    ProgramFolder blocked;
    blocked.write("Data/Char01CapElite.txt", "0001\r\n");
    blocked.write("Personal", "a file named like the folder");
    modMain::MovePersonalFiles(blocked.path());
    EXPECT_EQ(blocked.read("Data/Char01CapElite.txt"), QByteArray("0001\r\n"));
}

TEST(ApplyPendingUpdater, ReplacesTheUpdaterByTheWaitingCopy)
{
    const QString updater = QString::fromUtf16(modMain::kUpdaterFile);
    const struct {
        const char* name;
        const char* updater; // null: none
        const char* waiting;
        const char* updaterAfter;
        const char* waitingAfter; // null: moved in
    } cases[] = {
        {"replaced", "old updater", "new updater", "new updater", nullptr},
        {"an empty waiting copy is no copy", "old updater", "", "old updater", ""},
    };
    for (const auto& c : cases) {
        ProgramFolder dir;
        if (c.updater)
            dir.write(updater, c.updater);
        dir.write("update.dat", c.waiting);
        modMain::ApplyPendingUpdater(dir.path(), 0ms);
        EXPECT_EQ(dir.read(updater), QByteArray(c.updaterAfter)) << c.name;
        EXPECT_EQ(dir.exists("update.dat"), c.waitingAfter != nullptr) << c.name;
        if (!c.waitingAfter) {
            EXPECT_TRUE(QFileInfo(dir.path(updater)).isExecutable()) << c.name;
        }
    }
    ProgramFolder dir; // cannot be replaced: both stay for the next start
    dir.mkdir(updater + QStringLiteral("/busy"));
    dir.write("update.dat", "new updater");
    modMain::ApplyPendingUpdater(dir.path(), 0ms);
    EXPECT_TRUE(dir.exists(updater + QStringLiteral("/busy")));
    EXPECT_EQ(dir.read("update.dat"), QByteArray("new updater"));
}

// A small program folder in which the order of the loaders shows.
void WriteSmallWorld(const ProgramFolder& dir)
{
    dir.write("Data/Language.txt", "9\tAll\r\n78\tNever\r\n");
    dir.write("Data/Options.txt", "[OLD SELECTION]\r\nRegion=2\r\n");
    dir.write("Personal/Characters.txt", "01\tAlda\r\n");
    dir.write("Personal/Char01CapElite.txt", "0001\r\n");
    dir.write("Campaign.01.A/Regions.txt", "1\tOne\r\n");
    dir.write("Campaign.01.A/EliteList.txt", "1\t0\tFirst Skill\r\n");
    dir.write("Campaign.01.A/EliteLocations.txt", ";[Version]2.0\r\n1\t1\t10\t20\tBig Boss\t\t0\r\n");
    dir.write("Campaign.01.A/Greens.txt", "Boss Axe\tbig boss\tDamage 5\r\n");
}

TEST(LoadAllData, RunsTheStepsInTheirOrderWhichMattersWhereTablesDependOnEachOther)
{
    ProgramFolder dir;
    WriteSmallWorld(dir);
    World world;
    QStringList steps;
    StartupOptions options;
    options.updaterWait = 0ms;
    options.onStep = [&](int n, const QString& name) {
        EXPECT_EQ(n, steps.size() + 1);
        steps << name;
    };
    ASSERT_TRUE(LoadProgramFolder(world, dir.path(), options));
    EXPECT_EQ(steps.join(u'|'), QStringLiteral("move personal files|pending updater|colour table|characters|"
                                               "campaigns and regions|zone icon anchors|zones|professions|collectors|"
                                               "elite catalogue|greens|notes|elite locations|captured elites|"
                                               "collector locations|treasures|opened treasures|pets|pet places|"
                                               "empty-list guarantee|settings"));
    EXPECT_EQ(std::pair(world.settings.Region, world.lastUpdateText), std::pair(2, QStringLiteral("Never")));

    // In order: the boss location links the green item it drops, and the
    // capture read after the catalogue survives.
    ASSERT_EQ(world.greens.count(), 1);
    EXPECT_EQ(std::pair(world.greens.Greens[1].EliteNumber, world.greens.Greens[1].LocationIndex), std::pair(1, 1));
    ASSERT_EQ(world.elite.EliteSkills.size(), 2u);
    ASSERT_EQ(world.elite.EliteSkills[1].Locations.size(), 2u);
    EXPECT_EQ(world.elite.EliteSkills[1].Locations[1].Greens, (std::vector<int32_t>{0, 1}));
    ASSERT_GE(world.elite.EliteSkills[1].Captured.size(), 2u);
    EXPECT_TRUE(world.elite.EliteSkills[1].Captured[1]);

    // Out of order: locations before the greens link nothing; captures read
    // before the catalogue are discarded by it.
    World swapped;
    swapped.appFolder = dir.path();
    const LoadContext ctx = swapped.context();
    modCharacters::LoadCharacters(ctx, swapped.characters);
    modCampaigns::LoadCampaigns(ctx, swapped.campaigns);
    modElite::LoadEliteList(ctx, swapped.campaigns, swapped.characters, swapped.elite);
    modElite::LoadEliteLocations(ctx, swapped.campaigns, swapped.greens, swapped.elite);
    modGreens::LoadGreens(ctx, swapped.campaigns, swapped.greens);
    EXPECT_EQ(swapped.greens.Greens[1].EliteNumber, -1);
    EXPECT_EQ(swapped.elite.EliteSkills[1].Locations[1].Greens, (std::vector<int32_t>{0}));

    modCharacters::LoadCapturedElites(ctx, swapped.characters, swapped.elite);
    modElite::LoadEliteList(ctx, swapped.campaigns, swapped.characters, swapped.elite);
    EXPECT_FALSE(swapped.elite.EliteSkills[1].Captured[1]);
}

TEST(LoadAllData, SkippedLinesAreReportedInStepOrder)
{
    // The collectors load on a second thread while the catalogue loads on
    // this one; many bad collector lines keep that thread busy meanwhile.
    ProgramFolder dir;
    WriteSmallWorld(dir);
    dir.write("Personal/Characters.txt", "01\tAlda\r\nno name\r\n");
    QByteArray collectors;
    for (int i = 0; i < 2000; ++i)
        collectors += "1\tShort header\r\n\r\n";
    dir.write("Campaign.01.A/Collectors.txt", collectors);
    dir.write("Campaign.01.A/EliteList.txt", "1\t0\tFirst Skill\r\n2\t0\r\n");
    dir.write("Campaign.01.A/CollectorsLocations.txt", "99\t1\t1\t1\t1\r\n");
    dir.write("Campaign.03.Emberwake/Treasures.txt", "Chest\t1\r\n");
    World world;
    StartupOptions options;
    options.readOnly = true;
    ASSERT_TRUE(LoadProgramFolder(world, dir.path(), options));

    QStringList files;
    for (const records::Diagnostic& d : world.diagnostics.items())
        if (files.isEmpty() || files.back() != d.file)
            files << d.file;
    EXPECT_EQ(files,
              QStringList({"Personal/Characters.txt", "Campaign.01.A/Collectors.txt", "Campaign.01.A/EliteList.txt",
                           "Campaign.01.A/CollectorsLocations.txt", "Campaign.03.Emberwake/Treasures.txt"}));
    EXPECT_EQ(world.diagnostics.size(), 2004u);
}

TEST(LoadAllData, NothingLoadsWithoutTheLanguageFile)
{
    ProgramFolder dir;
    dir.write("Data/Characters.txt", "01\tAlda\r\n");
    World world;
    EXPECT_FALSE(LoadProgramFolder(world, dir.path()));
    EXPECT_FALSE(dir.exists("Personal"));
    EXPECT_EQ(world.appFolder, dir.path());
}

} // namespace

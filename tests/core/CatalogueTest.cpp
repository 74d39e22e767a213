// Campaign folders, "Regions.txt", "Zones.txt" and the language file.

#include "TestFiles.h"

#include "core/modCampaigns.h"
#include "core/modLanguage.h"
#include "mapview/modZones.h"

namespace {

QStringList Names(const CampaignTable& campaigns)
{
    QStringList out;
    for (const auto& c : campaigns)
        out << c.Name;
    return out;
}

struct Loaded {
    records::Diagnostics diagnostics;
    CampaignTable campaigns;
};

void Load(const ProgramFolder& dir, Loaded& out)
{
    const LoadContext ctx{dir.path(), &out.diagnostics};
    modCampaigns::LoadCampaigns(ctx, out.campaigns);
    modZones::LoadZones(ctx, out.campaigns);
}

TEST(Campaigns, NumbersWithoutAFolderStayEmpty)
{
    ProgramFolder dir;
    dir.mkdir("Campaign.01.A");
    dir.mkdir("Campaign.03.C");
    dir.mkdir("Other.04.D");
    Loaded w;
    Load(dir, w);
    EXPECT_EQ(Names(w.campaigns), QStringList({"", "A", "", "C"}));
    EXPECT_EQ(modCampaigns::CampaignFolder(3, w.campaigns), QStringLiteral("Campaign.03.C/"));
}

TEST(Campaigns, FolderNameQuirks)
{
    const struct {
        const char* name;
        const char* folder;
        int number;
        const char* campaign;
    } cases[] = {
        {"text after a third dot is ignored", "Campaign.02.Name.Extra", 2, "Name"},
        {"number read by its leading digits", "Campaign.5x.Five", 5, "Five"},
        {"campaign zero is a campaign", "Campaign.00.Core", 0, "Core"},
        {"a plain file also counts", "Campaign.01.File", 1, "File"},
    };
    for (const auto& c : cases) {
        ProgramFolder dir;
        if (QByteArray(c.name).contains("file"))
            dir.write(c.folder, "x");
        else
            dir.mkdir(c.folder);
        Loaded w;
        Load(dir, w);
        ASSERT_GT(static_cast<int>(w.campaigns.size()), c.number) << c.name;
        EXPECT_EQ(w.campaigns[c.number].Name, QString::fromLatin1(c.campaign)) << c.name;
    }
}

TEST(Campaigns, OutOfRangeNumberIsSkippedWithADiagnostic)
{
    ProgramFolder dir;
    dir.mkdir("Campaign.99999.Huge");
    dir.mkdir("Campaign.-1.Negative");
    Loaded w;
    Load(dir, w);
    EXPECT_EQ(w.campaigns.size(), 1u);
    EXPECT_EQ(w.diagnostics.size(), 2u);
}

TEST(Regions, PictureNamedByTheNumberAsWritten)
{
    ProgramFolder dir;
    dir.write("Campaign.01.A/Regions.txt", "01\tFirst\r\n12\tTwelfth\textra column\r\n3\tThird\n");
    Loaded w;
    Load(dir, w);
    const auto& regions = w.campaigns[1].Regions;
    ASSERT_EQ(regions.size(), 13u);
    EXPECT_EQ(regions[1].Name, QStringLiteral("First"));
    EXPECT_EQ(regions[1].ImagePath, dir.path("Campaign.01.A/01.jpg"));
    EXPECT_EQ(regions[3].ImagePath, dir.path("Campaign.01.A/3.jpg"));
    EXPECT_EQ(regions[12].Name, QStringLiteral("Twelfth"));
    for (int r : {2, 4, 11})
        EXPECT_TRUE(regions[r].Name.isEmpty()) << r;
    EXPECT_TRUE(modCampaigns::RegionExists(w.campaigns, 1, 12));
    EXPECT_FALSE(modCampaigns::RegionExists(w.campaigns, 1, 11));
    EXPECT_FALSE(modCampaigns::RegionExists(w.campaigns, 1, 13));
    EXPECT_FALSE(modCampaigns::RegionExists(w.campaigns, 2, 1));
}

TEST(Regions, MalformedLinesAreSkippedWithTheirLineNumber)
{
    ProgramFolder dir;
    dir.write("Campaign.01.A/Regions.txt", "no tab\r\n300\tToo far\r\n\r\n2\tGood\r\n");
    Loaded w;
    Load(dir, w);
    ASSERT_EQ(w.diagnostics.size(), 2u);
    EXPECT_EQ(w.diagnostics.items()[0].file, QStringLiteral("Campaign.01.A/Regions.txt"));
    EXPECT_EQ(w.diagnostics.items()[0].line, 1);
    EXPECT_EQ(w.diagnostics.items()[1].line, 2);
    EXPECT_EQ(w.campaigns[1].Regions.size(), 3u);
}

TEST(RegionListOrder, FixedOrdersOfTheFirstTwoCampaigns)
{
    CampaignTable campaigns(6);
    for (int c = 1; c <= 5; ++c) {
        campaigns[c].Name = QStringLiteral("C%1").arg(c);
        campaigns[c].Regions.resize(9);
        for (int r = 1; r <= 8; ++r)
            campaigns[c].Regions[r].Name = QStringLiteral("R%1").arg(r);
    }
    campaigns[2].Regions.resize(5);
    campaigns[4].Regions[3].Name.clear(); // a gap in the file

    EXPECT_EQ(modCampaigns::RegionListOrder(campaigns, 1), (std::vector<int>{8, 4, 5, 6, 7, 1, 2, 3}));
    EXPECT_EQ(modCampaigns::RegionListOrder(campaigns, 2), (std::vector<int>{4, 1, 2, 3}));
    EXPECT_EQ(modCampaigns::RegionListOrder(campaigns, 3), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(modCampaigns::RegionListOrder(campaigns, 4), (std::vector<int>{1, 2, 4, 5, 6, 7, 8}));
    EXPECT_TRUE(modCampaigns::RegionListOrder(campaigns, 5).empty());
    EXPECT_TRUE(modCampaigns::RegionListOrder(campaigns, 0).empty());

    // Campaign 1 with only some of its regions: the missing ones are left out.
    campaigns[1].Regions.resize(5);
    EXPECT_EQ(modCampaigns::RegionListOrder(campaigns, 1), (std::vector<int>{4, 1, 2, 3}));
}

TEST(Zones, LoadedInFileOrderWithSkippedLinesTakingNoIndex)
{
    ProgramFolder dir;
    dir.write("Campaign.01.A/Regions.txt", "1\tOne\r\n2\tTwo\r\n");
    dir.write("Campaign.01.A/Zones.txt",
              "; comment\r\n"
              "10\t1\t4\t0\t100\t120\tTown\r\n"
              "11\t1\t1\t0\t0\t50\tAt x zero\r\n"
              "12\t1\t1\t0\t50\t-3\tAbove the map\r\n"
              "13\t1\t1\t1\t200.5\t220\tField\r\n"
              "10\t1\t2\t0\t300\t320\tSecond ten\r\n"
              "20\t2\t6\t0\t5\t5\tDungeon\r\n");
    Loaded w;
    Load(dir, w);
    const auto& zones = w.campaigns[1].Regions[1].Zones;
    ASSERT_EQ(zones.size(), 4u);
    EXPECT_EQ(zones[1].Name, QStringLiteral("Town"));
    EXPECT_EQ(zones[1].Kind, 4u);
    EXPECT_EQ(zones[2].Name, QStringLiteral("Field"));
    EXPECT_EQ(zones[2].X, 200); // 200.5 rounds to even
    EXPECT_EQ(zones[2].IconFlag, 1);
    EXPECT_EQ(zones[3].Id, 10);
    EXPECT_EQ(w.campaigns[1].Regions[2].Zones.size(), 2u);
    EXPECT_TRUE(w.diagnostics.empty());

    EXPECT_EQ(modZones::ZoneName(w.campaigns, 1, 1, 10), QStringLiteral("Town"));
    EXPECT_EQ(modZones::ZoneName(w.campaigns, 1, 2, 20), QStringLiteral("Dungeon"));
    EXPECT_EQ(modZones::ZoneName(w.campaigns, 1, 1, 99), QString());
    EXPECT_EQ(modZones::ZoneName(w.campaigns, 1, 7, 10), QString());
    EXPECT_EQ(modZones::ZoneName(w.campaigns, 9, 1, 10), QString());
}

TEST(Zones, BadLinesAreSkippedWithADiagnostic)
{
    const struct {
        const char* name;
        const char* line;
    } cases[] = {
        {"region without a line in Regions.txt", "10\t5\t4\t0\t100\t120\tNowhere"},
        {"region beyond a byte", "10\t300\t4\t0\t100\t120\tNowhere"},
        {"id beyond 16 bits", "70000\t1\t4\t0\t100\t120\tBig"},
        {"id not a number", "1x\t1\t4\t0\t100\t120\tText id"},
        {"kind outside 1..6", "10\t1\t7\t0\t100\t120\tOdd kind"},
        {"kind not a number", "10\t1\tabc\t0\t100\t120\tText kind"},
        {"icon flag beyond a byte", "10\t1\t1\t256\t100\t120\tFlag"},
        {"too few columns", "10\t1\t4\t0\t100\t120"},
        {"x beyond 32 bits", "10\t1\t4\t0\t9999999999\t120\tFar"},
    };
    for (const auto& c : cases) {
        ProgramFolder dir;
        dir.write("Campaign.01.A/Regions.txt", "1\tOne\r\n");
        dir.write("Campaign.01.A/Zones.txt", QByteArray(c.line) + "\r\n");
        Loaded w;
        Load(dir, w);
        EXPECT_EQ(w.campaigns[1].Regions[1].Zones.size(), 1u) << c.name;
        ASSERT_EQ(w.diagnostics.size(), 1u) << c.name;
        EXPECT_EQ(w.diagnostics.items()[0].line, 1) << c.name;
    }
}

TEST(Zones, CampaignZeroHasNoZones)
{
    ProgramFolder dir;
    dir.write("Campaign.00.Core/Regions.txt", "1\tOne\r\n");
    dir.write("Campaign.00.Core/Zones.txt", "10\t1\t4\t0\t100\t120\tTown\r\n");
    Loaded w;
    Load(dir, w);
    EXPECT_EQ(w.campaigns[0].Regions[1].Zones.size(), 1u);
}

TEST(ZoneIconAnchors, TableValuesAndOutOfRangeLookUps)
{
    modZones::ZoneIconAnchorTable anchors;
    modZones::InitZoneIconAnchors(anchors);
    EXPECT_EQ(anchors(1, modZones::OpenArea), QPoint(12, 15));
    EXPECT_EQ(anchors(2, modZones::Town), QPoint(30, 26));
    EXPECT_EQ(anchors(3, modZones::Challenge), QPoint(30, 34));
    EXPECT_EQ(anchors(4, modZones::Town), QPoint(16, 18));
    EXPECT_EQ(anchors(4, modZones::DungeonEntrance), QPoint(15, 13));
    EXPECT_EQ(anchors(1, modZones::DungeonEntrance), QPoint(0, 0));
    EXPECT_EQ(anchors(0, modZones::Town), QPoint(0, 0));
    EXPECT_EQ(anchors(5, modZones::Town), QPoint(0, 0));
    EXPECT_EQ(anchors(-1, 99), QPoint(0, 0));
}

TEST(Language, TextsByNumber)
{
    ProgramFolder dir;
    dir.write("Data/Language.txt",
              "5\tFirst\\nSecond\r\n"
              "9\tEvery\r\n"
              "9\tAll\textra column\n"
              "100\tPrice \x80 caf\xE9\r\n"
              "no tab\r\n"
              "-4\tNegative\r\n");
    records::Diagnostics diagnostics;
    modLanguage::LanguageStrings texts;
    ASSERT_TRUE(modLanguage::LoadLanguage(LoadContext{dir.path(), &diagnostics}, texts));
    EXPECT_EQ(texts(5), QStringLiteral("First\r\nSecond"));
    EXPECT_EQ(texts(9), QStringLiteral("All"));
    EXPECT_EQ(texts(100), QStringLiteral("Price \u20AC caf\u00E9"));
    EXPECT_EQ(texts.highest(), 100);
    EXPECT_EQ(texts(50), QString());
    EXPECT_FALSE(texts.defined(50));
    EXPECT_TRUE(texts.defined(5));
    EXPECT_EQ(texts(101), QString());
    EXPECT_EQ(texts(-1), QString());
    EXPECT_EQ(texts.allEntries(), QStringLiteral("<<< All >>>"));
    ASSERT_EQ(diagnostics.size(), 2u);
    EXPECT_EQ(diagnostics.items()[0].line, 5);
    EXPECT_EQ(diagnostics.items()[1].line, 6);
}

TEST(Language, MissingOrEmptyFileFails)
{
    ProgramFolder dir;
    modLanguage::LanguageStrings texts;
    texts.set(3, QStringLiteral("left over"));
    EXPECT_FALSE(modLanguage::LoadLanguage(LoadContext{dir.path(), nullptr}, texts));
    EXPECT_EQ(texts.highest(), 0);
    dir.write("Data/Language.txt", "");
    EXPECT_FALSE(modLanguage::LoadLanguage(LoadContext{dir.path(), nullptr}, texts));
    dir.write("Data/Language.txt", "junk only\r\n");
    EXPECT_TRUE(modLanguage::LoadLanguage(LoadContext{dir.path(), nullptr}, texts));
}

} // namespace

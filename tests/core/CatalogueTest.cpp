// "Regions.txt", "Zones.txt" and the language file: their quirks and refusals.

#include "TestFiles.h"

#include "core/TextNumbers.h"
#include "core/modCampaigns.h"
#include "core/modLanguage.h"
#include "mapview/modZones.h"

namespace {

void Load(DataFolder& dir)
{
    modCampaigns::LoadCampaigns(dir.ctx, dir.campaigns);
    modZones::LoadZones(dir.ctx, dir.campaigns);
}

TEST(Regions, PictureNamedByTheNumberAsWrittenAndBadLinesSkipped)
{
    DataFolder dir;
    dir.write("Campaign.01.A/Regions.txt",
              "01\tFirst\r\nno tab\r\n256\tToo far\r\n12\tTwelfth\textra column\r\n\r\n3\tThird\n");
    Load(dir);
    const auto& regions = dir.campaigns[1].Regions;
    ASSERT_EQ(regions.size(), 13u);
    EXPECT_EQ(std::tuple(regions[1].Name, regions[12].Name, regions[11].Name),
              std::tuple(QStringLiteral("First"), QStringLiteral("Twelfth"), QString()));
    EXPECT_EQ(std::pair(regions[1].ImagePath, regions[3].ImagePath),
              std::pair(dir.path("Campaign.01.A/01.jpg"), dir.path("Campaign.01.A/3.jpg")));
    EXPECT_TRUE(modCampaigns::RegionExists(dir.campaigns, 1, 12));
    for (auto [c, r] : {std::pair{1, 11}, {1, 13}, {2, 1}})
        EXPECT_FALSE(modCampaigns::RegionExists(dir.campaigns, c, r)) << c << '/' << r;
    EXPECT_EQ(dir.warnedLines(), (std::vector<int>{2, 3}));
    EXPECT_EQ(dir.diagnostics.items()[0].file, QStringLiteral("Campaign.01.A/Regions.txt"));
}

TEST(Zones, OffMapZonesTakeNoIndexAndBadLinesAreSkippedWithADiagnostic)
{
    DataFolder dir;
    dir.write("Campaign.00.Core/Regions.txt", "1\tOne\r\n");
    dir.write("Campaign.00.Core/Zones.txt", "10\t1\t4\t0\t100\t120\tNever read\r\n");
    dir.write("Campaign.01.A/Regions.txt", "1\tOne\r\n2\tTwo\r\n");
    dir.write("Campaign.01.A/Zones.txt", "; comment\r\n"
                                         "10\t1\t4\t0\t100\t120\tTown\r\n"
                                         "11\t1\t1\t0\t0\t50\tAt x zero\r\n"
                                         "12\t1\t1\t0\t50\t-3\tAbove the map\r\n"
                                         "10\t1\t2\t0\t300\t320\tSecond ten\r\n"
                                         "20\t2\t6\t0\t5\t5\tDungeon\r\n"
                                         "10\t300\t4\t0\t100\t120\tRegion beyond a byte\r\n"
                                         "1x\t1\t4\t0\t100\t120\tId not a number\r\n"
                                         "10\t1\tabc\t0\t100\t120\tKind not a number\r\n"
                                         "10\t1\t1\t256\t100\t120\tIcon flag beyond a byte\r\n"
                                         "10\t1\t4\t0\t100\t120\r\n"
                                         "10\t1\t4\t0\t9999999999\t120\tX beyond 32 bits\r\n");
    Load(dir);
    EXPECT_EQ(dir.campaigns[0].Regions[1].Zones.size(), 1u) << "campaign 0 has no zones";
    const auto& zones = dir.campaigns[1].Regions[1].Zones;
    ASSERT_EQ(zones.size(), 3u);
    EXPECT_EQ(std::pair(zones[1].Kind, zones[2].Name), std::pair(4u, QStringLiteral("Second ten")));
    EXPECT_EQ(dir.warnedLines(), (std::vector<int>{7, 8, 9, 10, 11, 12}));

    for (auto [c, r, z, name] :
         {std::tuple{1, 1, 10, "Town"}, {1, 2, 20, "Dungeon"}, {1, 1, 99, ""}, {1, 7, 10, ""}, {9, 1, 10, ""}})
        EXPECT_EQ(modZones::ZoneName(dir.campaigns, c, r, z), QString::fromLatin1(name)) << c << '/' << r << '/' << z;
}

TEST(Language, TextsByNumber)
{
    ProgramFolder dir;
    dir.write("Data/Language.txt", "9\tEvery\r\n9\tAll\textra column\n100\tPrice\r\n-4\tNegative\r\n");
    records::Diagnostics diagnostics;
    modLanguage::LanguageStrings texts;
    ASSERT_TRUE(modLanguage::LoadLanguage(LoadContext{dir.path(), &diagnostics}, texts));
    EXPECT_EQ(texts.highest(), Text::AllUsed.back()); // the added texts' defaults reach further
    EXPECT_TRUE(texts.defined(9) && !texts.defined(50));
    EXPECT_EQ(texts(9), QStringLiteral("All"));
    for (int n : {50, 101, -1})
        EXPECT_EQ(texts(n), QString()) << n;
    EXPECT_EQ(texts.allEntries(), QStringLiteral("<<< All >>>"));
    ASSERT_EQ(diagnostics.size(), 1u);
    EXPECT_EQ(diagnostics.items()[0].line, 4);

    // A missing or empty file fails and leaves no text behind.
    QFile::remove(dir.path("Data/Language.txt"));
    EXPECT_FALSE(modLanguage::LoadLanguage(LoadContext{dir.path(), nullptr}, texts));
    EXPECT_EQ(texts.highest(), 0);
    dir.write("Data/Language.txt", "");
    EXPECT_FALSE(modLanguage::LoadLanguage(LoadContext{dir.path(), nullptr}, texts));
    dir.write("Data/Language.txt", "junk only\r\n");
    EXPECT_TRUE(modLanguage::LoadLanguage(LoadContext{dir.path(), nullptr}, texts));

    // A hostile text cannot make the lists that show it unbearably slow: a
    // long one is cut, a huge line is skipped.
    dir.write("Data/Language.txt", "9\t" + QByteArray(1025, 'w') + "\r\n8\t" + QByteArray(20 << 20, 'h') + "\r\n");
    records::Diagnostics cut;
    ASSERT_TRUE(modLanguage::LoadLanguage(LoadContext{dir.path(), &cut}, texts));
    EXPECT_EQ(texts(9), QString(1024, u'w'));
    EXPECT_FALSE(texts.defined(8));
    EXPECT_EQ(cut.size(), 2u);
}

} // namespace

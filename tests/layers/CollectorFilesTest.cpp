#include "../core/TestFiles.h"

#include "layers/modCollectors.h"
#include "layers/modGreens.h"

namespace {

using modCollectors::Collector;

class CollectorFiles : public ::testing::Test {
protected:
    CollectorFiles()
    {
        data.addCampaign(1, QStringLiteral("Dawnreach"));
        data.addCampaign(2, QStringLiteral("Emberwake"));
    }
    void load()
    {
        modCollectors::LoadCollectors(data.ctx, data.campaigns, table);
        modCollectors::LoadCollectorLocations(data.ctx, data.campaigns, table);
    }
    const Collector& col(int id) const { return table.Collectors.at(static_cast<size_t>(id)); }

    DataFolder data;
    modCollectors::Tables table;
};

TEST_F(CollectorFiles, BlocksRewardsAndBlankLines)
{
    data.write(data.folder(1) + "Collectors.txt",
               "; collectors of the first region\r\n"
               "3\tTarn\t0\t1\r\n"
               "By the well\r\n"
               "5 Wolf Pelts\r\n"
               "Sword\t3\tDamage 5-10\tHewing 9\r\n"
               "   \r\n" // blanks only: skipped, block goes on
               "Shield\t8\r\n"
               "\r\n"
               "\r\n" // a second separator line carries nothing
               "5\tMira\t1\r\n"
               "\r\n" // an empty location line is taken whole
               "2 Reed Whistles\r\n"
               "Helm\t70000\r\n" // hand mask beyond 16 bits
               "Boots\t-1");
    load();
    ASSERT_EQ(table.highest(), 5);
    const Collector& tarn = col(3);
    EXPECT_EQ(tarn.Location, "By the well");
    ASSERT_EQ(tarn.Rewards.size(), 3u);
    EXPECT_EQ(
        std::tuple(tarn.Rewards[1].Name, tarn.Rewards[1].HandMask, tarn.Rewards[2].Name, tarn.Rewards[2].Stats.size()),
        std::tuple(QStringLiteral("Sword"), 3, QStringLiteral("Shield"), size_t(1)));
    EXPECT_EQ(tarn.Rewards[1].Stats, (std::vector<QString>{"", "Damage 5-10", "Hewing 9"}));
    const Collector& mira = col(5);
    EXPECT_EQ(std::tuple(mira.Location, mira.Request, mira.Rewards.size()),
              std::tuple(QString(""), QStringLiteral("2 Reed Whistles"), size_t(2)));
    EXPECT_EQ(mira.Rewards.back().HandMask, -1);
    EXPECT_EQ(data.warnedLines(), (std::vector<int>{13}));
    // Identifiers no header defines: no location, no rewards beyond entry 0.
    EXPECT_EQ(std::pair(col(4).X, col(4).Rewards.size()), std::pair(-1, size_t(1)));
}

TEST_F(CollectorFiles, MalformedHeadersSkipTheirWholeBlock)
{
    data.write(data.folder(1) + "Collectors.txt", "1\tOnly two\nloc\nreq\nR\t1\n\n"
                                                  "0\tZero\t1\nloc\nreq\nR\t1\n\n"
                                                  "2\tGood\t1\nloc\n1 Req\nR\t1\n\n"
                                                  "3\tLevel\t1\t300\nloc\nreq\nR\t1\n\n"
                                                  "4\tCut short\t1\nloc");
    load();
    EXPECT_EQ(data.warnedLines(), (std::vector<int>{1, 6, 16, 21}));
    EXPECT_EQ(table.highest(), 2);
    // The block of identifier 0 is not kept, but its request is a request type.
    ASSERT_EQ(table.RequestTypes.size(), 2u);
    EXPECT_EQ(table.RequestTypes[1].Name, "req");
    EXPECT_EQ(col(2).Rewards.size(), 2u);
}

TEST(GreenFiles, LinesTrimmedCommentsSkippedAndShortLinesWarned)
{
    DataFolder data;
    data.addCampaign(1, QStringLiteral("Dawnreach"));
    data.write(data.folder(1) + "Greens.txt", "  ; indented comment\r\n"
                                              "   \r\n"
                                              " Blade of Dusk \t Gorrak \t Armor +5 \t\r\n"
                                              "Lonely\r\n");
    modGreens::Tables g;
    modGreens::LoadGreens(data.ctx, data.campaigns, g);
    ASSERT_EQ(g.count(), 1);
    EXPECT_EQ(std::tuple(g.Greens[1].Name, g.Greens[1].Boss, g.Greens[1].EliteNumber),
              std::tuple(QStringLiteral("Blade of Dusk"), QStringLiteral("Gorrak"), -1));
    EXPECT_EQ(g.Greens[1].Stats, (std::vector<QString>{"", "Armor +5", ""}));
    EXPECT_EQ(data.warnedLines(), (std::vector<int>{4}));
}

} // namespace

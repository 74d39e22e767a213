#include "../core/TestFiles.h"

#include "elite/modCharacters.h"
#include "elite/modElite.h"
#include "layers/modGreens.h"

#include <thread>

namespace {

using modElite::EliteSkill;

class EliteFiles : public ::testing::Test {
protected:
    EliteFiles()
    {
        data.addCampaign(1, QStringLiteral("Dawnreach"));
        data.addCampaign(2, QStringLiteral("Emberwake"));
        characters.Characters.resize(4); // highest character 3
    }
    void loadList() { modElite::LoadEliteList(data.ctx, data.campaigns, characters, elite); }
    void loadLocations() { modElite::LoadEliteLocations(data.ctx, data.campaigns, greens, elite); }
    const EliteSkill& skill(int n) const { return elite.EliteSkills.at(static_cast<size_t>(n)); }

    DataFolder data;
    modCharacters::Tables characters;
    modElite::Tables elite;
    modGreens::Tables greens;
};

TEST_F(EliteFiles, PicturesLookedUpInTheBackgroundAnswerAsInLine)
{
    QByteArray first;
    for (int n = 1; n <= 100; ++n) {
        first += QByteArray::number(n) + "\t1\tSkill\ta\tb\t0\t0\t5\t1\t0\td\n";
        if (n % 2 == 0)
            data.write(data.folder(1) + QString::asprintf("imgElite/%04d.jpg", n), n == 10 ? "" : "x");
    }
    data.write(data.folder(1) + "EliteList.txt", first);
    data.write(data.folder(2) + "EliteList.txt", "20\t1\tAgain\ta\tb\t0\t0\t5\t1\t0\td\n"
                                                 "30\t1\tAgain\ta\tb\t0\t0\t5\t1\t0\td\n"
                                                 "40\t1\tShort again\n");
    data.write(data.folder(2) + "imgElite/0030.jpg", "x");

    // Checked by a thread of their own, or shared with a thread that offers
    // its help before the catalogue is read (as the start-up load's second
    // thread does).
    modElite::PictureChecks pictures;
    modElite::LoadEliteList(data.ctx, data.campaigns, characters, elite, pictures);
    pictures.finish(elite);
    modElite::Tables helped;
    {
        modElite::PictureChecks shared(modElite::PictureChecks::Helpers::Callers);
        std::thread helper([&shared] { shared.help(); });
        modElite::LoadEliteList(data.ctx, data.campaigns, characters, helped, shared);
        helper.join();
        shared.finish(helped);
    }

    // Even numbers have a picture, but for an empty picture file (10), a
    // redefinition where no picture is (20) or by a short record (40); 30's
    // redefinition has its own.
    for (int n = 0; n <= 100; ++n) {
        QString expected;
        if (n == 30)
            expected = data.ctx.path(data.folder(2) + "imgElite/0030.jpg");
        else if (n > 0 && n % 2 == 0 && n != 10 && n != 20 && n != 40)
            expected = data.ctx.path(data.folder(1) + QString::asprintf("imgElite/%04d.jpg", n));
        EXPECT_EQ(skill(n).Picture, expected) << "elite " << n;
        EXPECT_EQ(helped.EliteSkills[static_cast<size_t>(n)].Picture, skill(n).Picture) << "elite " << n;
    }
}

TEST(PictureChecks, HelpersWaitingForACatalogueThatNeverCameAreReleased)
{
    modElite::PictureChecks pictures(modElite::PictureChecks::Helpers::Callers);
    pictures.add(1, QStringLiteral("/nowhere/"), QStringLiteral("/nowhere/0001.jpg"));
    std::thread helper([&pictures] { pictures.help(); });
    pictures.abandon();
    helper.join(); // returns: nothing was left to look up
}

// Truncation of negatives, the switch of format, the reset per file, the note column.
TEST_F(EliteFiles, LocationCoordinatesFollowTheFormatVersionOfThePrecedingLines)
{
    data.write(data.folder(1) + "EliteList.txt", "1\t1\tSkill\n");
    data.write(data.folder(1) + "EliteLocations.txt",
               "1\t3\t-3007\t14\tBoss\t\t0\tfirst format\n" // truncated toward zero
               ";[Version]2.0\n"
               "1\t3\t1500\t3007\tBoss\t\t4\n"
               "1\t1\t0\t0\tB\t\t0\tfirst\\nsecond\n"
               "1\t1\t0\t0\tC\t\t0\tnote\textra\n");                                // nine fields: no note
    data.write(data.folder(2) + "EliteLocations.txt", "1\t1\t30\t45\tBoss\t\t0\n"); // version resets per file
    loadList();
    loadLocations();
    const auto& locs = skill(1).Locations;
    ASSERT_EQ(locs.size(), 6u);
    EXPECT_EQ(std::tuple(locs[1].X, locs[1].Y, locs[1].Note), std::tuple(-200, 0, QStringLiteral("first format")));
    EXPECT_EQ(
        (std::array{locs[2].X, locs[2].Y, locs[2].Zone, locs[2].Left, locs[2].Top, locs[2].Right, locs[2].Bottom}),
        (std::array{1500, 3007, 4, 1494, 3001, 1506, 3013}));
    EXPECT_EQ(std::tuple(locs[3].Note, locs[4].Note), std::tuple(QStringLiteral("first\r\nsecond"), QString()));
    EXPECT_EQ((std::array{locs[5].X, locs[5].Y, int(locs[5].Campaign)}), (std::array{2, 3, 2}));
}

TEST_F(EliteFiles, GreensLinkUnlessTheBossAppearsOnlyAtTimes)
{
    data.write(data.folder(1) + "Greens.txt", "Blade\t  Gorrak the Vile \tArmor +5\n"
                                              "Staff\tVaddeth Stickleback\n"
                                              "Wand\tGORRAK THE VILE\n");
    data.write(data.folder(1) + "EliteList.txt", "1\t1\tSkill\n");
    data.write(data.folder(1) + "EliteLocations.txt", ";[Version]2.0\n"
                                                      "1\t1\t0\t0\t gorrak the vile\t\t0\n"
                                                      "0\t1\t0\t0\tVaddeth Stickleback\tD\t0\tonly during nights\n"
                                                      "1\t2\t0\t0\tGorrak the Vile\t\t0\n");
    modGreens::LoadGreens(data.ctx, data.campaigns, greens);
    loadList();
    loadLocations();
    EXPECT_EQ(skill(1).Locations[1].Greens, (std::vector<int32_t>{0, 1, 3}));
    EXPECT_EQ(skill(0).Locations[1].Greens, (std::vector<int32_t>{0, 2})) << "this boss is always linked";
    // A boss standing in two places points to the last one.
    EXPECT_EQ(std::pair(greens.Greens[1].EliteNumber, greens.Greens[1].LocationIndex), std::pair(1, 2));
    EXPECT_EQ(greens.Greens[1].Stats, (std::vector<QString>{"", "Armor +5"}));
}

} // namespace

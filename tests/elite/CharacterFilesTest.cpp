#include "../core/TestFiles.h"

#include "elite/modCharacters.h"
#include "elite/modElite.h"

namespace {

TEST(CharacterFiles, SaveWritesNamedCharactersInOrderRoundTripsAndRefusesTabs)
{
    DataFolder data;
    modCharacters::Tables ch;
    ch.Characters = {"", "Asha", "", QString::fromUtf8("Börn €"), QString::fromUtf8("Ω")};
    QString error;
    ASSERT_TRUE(modCharacters::SaveCharacters(data.ctx.appFolder, ch, &error)) << error.toStdString();
    const QByteArray saved("01\tAsha\r\n03\tB\xf6rn \x80\r\n04\t?\r\n");
    EXPECT_EQ(data.read("Personal/Characters.txt"), saved);

    modCharacters::Tables back;
    modCharacters::LoadCharacters(data.ctx, back);
    EXPECT_EQ(back.Characters, (std::vector<QString>{"", "Asha", "", QString::fromUtf8("Börn €"), "?"}));

    ch.Characters = {"", "Asha", "Bad\tName"};
    EXPECT_FALSE(modCharacters::SaveCharacters(data.ctx.appFolder, ch, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(data.read("Personal/Characters.txt"), saved) << "the old file is kept";
}

TEST(CapturedElites, SaveWritesFourDigitsAscendingNeverTruncatesAndReportsFailures)
{
    DataFolder data;
    modCharacters::Tables characters;
    characters.Characters = {"", "Asha", "", ""}; // 2 and 3 unnamed
    modElite::Tables elite;
    elite.EliteSkills.resize(12346);
    for (auto& s : elite.EliteSkills)
        s.Captured.assign(4, false);
    const auto captured = [&](int n, int c) { return bool(elite.EliteSkills[size_t(n)].Captured[size_t(c)]); };
    for (int n : {42, 7, 12345})
        elite.EliteSkills[static_cast<size_t>(n)].Captured[2] = true;
    elite.EliteSkills[9].Captured[1] = true; // another character's capture stays out
    QString error;
    ASSERT_TRUE(modCharacters::SaveCapturedElites(data.ctx.appFolder, 2, elite, &error)) << error.toStdString();
    EXPECT_EQ(data.read("Personal/Char02CapElite.txt"), QByteArray("0007\r\n0042\r\n12345\r\n"));

    for (auto& s : elite.EliteSkills)
        s.Captured.assign(4, false);
    modCharacters::LoadCapturedElites(data.ctx, characters, elite);
    EXPECT_TRUE(captured(7, 2));
    EXPECT_TRUE(captured(12345, 2));
    EXPECT_FALSE(captured(2345, 2));

    DataFolder blocked;
    blocked.write("Personal", "not a folder");
    EXPECT_FALSE(modCharacters::SaveCapturedElites(blocked.ctx.appFolder, 1, elite, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(modCharacters::SaveCapturedElites(data.ctx.appFolder, 100, elite, &error)) << "no character 100";
}

} // namespace

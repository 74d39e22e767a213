// The start-up load with every record file made of arbitrary bytes: nothing
// may crash or hang, and the tables keep the invariants the layers rely on.
#include "../core/TestFiles.h"

#include "world/LoadAllData.h"

#include <random>

namespace {

// Bytes drawn mostly from what record files are made of, so that the
// generator reaches deep into the parsers, with any byte now and then.
QByteArray Garbage(std::mt19937& rng, int length)
{
    static const char alphabet[] = "0123456789\t\t\t\n\n\r ;.-+eE[]Version{#ENTER#}\\nDonly during";
    std::uniform_int_distribution<int> pick(0, sizeof alphabet - 2);
    std::uniform_int_distribution<int> anyByte(0, 255);
    std::uniform_int_distribution<int> percent(0, 99);
    QByteArray out;
    for (int i = 0; i < length; ++i)
        out += percent(rng) < 5 ? char(anyByte(rng)) : alphabet[pick(rng)];
    return out;
}

TEST(ArbitraryBytes, LoadersSkipWhatTheyCannotReadAndKeepTheirTablesConsistent)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        DataFolder data;
        data.addCampaign(0, QStringLiteral("Core"));
        data.addCampaign(3, QStringLiteral("Emberwake"));
        for (const char* file : {"EliteList.txt", "EliteLocations.txt", "Professions.txt", "Collectors.txt",
                                 "CollectorsLocations.txt", "Greens.txt", "PetsList.txt", "PetsLocations.txt"}) {
            data.write(data.folder(0) + file, "1\t1\tSeed\tA\tB\t0\t0\t0\t1\t0\tD\n" + Garbage(rng, 400));
            data.write(data.folder(3) + file, Garbage(rng, 400));
        }
        data.write("Campaign.03.Emberwake/Treasures.txt", Garbage(rng, 300));
        data.write("Personal/Characters.txt", "1\tA\n2\tB\n" + Garbage(rng, 100));
        data.write("Personal/Notes.txt", Garbage(rng, 400));
        data.write("Personal/Char01CapElite.txt", Garbage(rng, 100));
        data.write("Personal/Char02OpenedTreasures.txt", Garbage(rng, 100));
        data.write("Data/Language.txt", "9\tAll\r\n");

        World world;
        ASSERT_TRUE(LoadProgramFolder(world, data.path(), StartupOptions{.readOnly = true}));
        const auto& [characters, elite, greens, collectors, treasures, notes] =
            std::tie(world.characters, world.elite, world.greens, world.collectors, world.treasures, world.notes);
        ASSERT_FALSE(world.diagnostics.empty()) << "the bytes never reached a parser";
        ASSERT_TRUE(elite.EliteSkills.at(1).Defined) << "a good line among bad ones is still read";
        ASSERT_LE(characters.highest(), modCharacters::kMaxCharacterNumber);
        for (const auto& skill : elite.EliteSkills) {
            ASSERT_EQ(skill.Captured.size(), size_t(characters.highest()) + 1);
            ASSERT_FALSE(skill.Locations.empty());
            for (const auto& loc : skill.Locations)
                ASSERT_EQ(loc.Greens.front(), 0);
        }
        // Every back-reference of a green item names a location that lists it.
        for (int g = 1; g <= greens.count(); ++g) {
            const auto& item = greens.Greens[size_t(g)];
            if (item.EliteNumber == -1)
                continue;
            ASSERT_LE(item.EliteNumber, elite.highest());
            const auto& locs = elite.EliteSkills[size_t(item.EliteNumber)].Locations;
            ASSERT_LT(size_t(item.LocationIndex), locs.size());
            const auto& list = locs[size_t(item.LocationIndex)].Greens;
            ASSERT_NE(std::find(list.begin(), list.end(), g), list.end());
        }
        for (const auto& col : collectors.Collectors)
            ASSERT_FALSE(col.Rewards.empty());
        for (const auto& t : treasures.Treasures)
            ASSERT_LE(t.OpenedOn.size(), size_t(characters.highest()) + 1);

        // What was read can be written and read back.
        ASSERT_TRUE(modNotes::SaveNotes(data.path(), notes));
        modNotes::Tables back;
        modNotes::LoadNotes(data.ctx, back);
        auto saved = [](const modNotes::Tables& t) {
            return std::count_if(t.Notes.begin() + 1, t.Notes.end(),
                                 [](const auto& n) { return !n.ShortDesc.isEmpty(); });
        };
        ASSERT_EQ(saved(back), saved(notes));
    }
}

} // namespace

#include "../TestWorld.h"
#include "../core/TestFiles.h"

#include "layers/modNotes.h"
#include "layers/modPets.h"

namespace {

TEST(PetFiles, CatalogueFromTheCoreCampaignAndPlacesFromEveryCampaign)
{
    DataFolder data;
    data.addCampaign(0, QStringLiteral("Core"));
    data.addCampaign(2, QStringLiteral("Emberwake"));
    data.write(data.folder(0) + "PetsList.txt",
               "; pets\n"
               "03\tReedloper\tfast\n"
               "5\tGlimmerbeak\n"         // no detail
               "../x\tEscape\tbad\n"      // identifier 0 and no picture name
               "7/../../etc\tSneaky\td\n" // reads as 7, but no usable picture name
               "\n");
    data.write(data.folder(0) + "PetsLocations.txt", "3\t1\t10\t100\t200\n");
    data.write(data.folder(2) + "PetsLocations.txt",
               "3\t2\t11\t30\t40\tfirst\\nsecond\n"
               "3\t2\t11\t30\t40\tnote\textra\n" // seven fields: no note
               "4\t1\t1\t1\t1\n"                 // no pet 4
               "5\t300\t1\t1\t1\n"               // region beyond a byte
               "5\t1\t1\t1\n");
    modPets::Tables pets;
    modPets::LoadPets(data.ctx, data.campaigns, pets);
    modPets::LoadPetPlaces(data.ctx, data.campaigns, pets);

    ASSERT_EQ(pets.highest(), 7);
    const modPets::Pet& loper = pets.Pets[3];
    EXPECT_EQ(std::pair(loper.Name, loper.Detail), std::pair(QStringLiteral("Reedloper"), QStringLiteral("fast")));
    ASSERT_EQ(loper.Places.size(), 4u);
    const modPets::PetPlace& p1 = loper.Places[1];
    EXPECT_EQ((std::array{int(p1.Campaign), int(p1.Region), p1.Zone, p1.X, p1.Y}), (std::array{0, 1, 10, 100, 200}));
    EXPECT_EQ((std::array{p1.Left, p1.Top, p1.Right, p1.Bottom}), (std::array{93, 193, 107, 207}));
    EXPECT_EQ(loper.Places[2].Campaign, 2);
    EXPECT_TRUE(loper.Places[3].Note.isEmpty() && pets.Pets[5].Detail.isEmpty() && pets.Pets[7].Picture.isEmpty());
    EXPECT_EQ(data.warnedLines(), (std::vector<int>{4, 5, 3, 4, 5})) << "PetsList.txt, then PetsLocations.txt";
    EXPECT_EQ(data.diagnostics.items()[2].file, data.folder(2) + "PetsLocations.txt");
}

TEST(NoteFiles, SaveSkipsDeletedNotesKeepsTheFileReadableAndRoundTrips)
{
    DataFolder data;
    TestWorld t;
    t.note(QString::fromUtf8("Café"), "first\r\nsecond", 1, 2, 10, -20);
    t.note("", "deleted", 0, 0, 0, 0);
    t.note("Tab\there", "a\tb\nc\rd", 3, 4, 5, 6); // tabs and lone line ends cannot stay as they are
    QString error;
    ASSERT_TRUE(modNotes::SaveNotes(data.ctx.appFolder, t.world.notes, &error)) << error.toStdString();
    EXPECT_EQ(data.read("Personal/Notes.txt"), QByteArray("Caf\xe9\tfirst{#ENTER#}second\t10\t-20\t1\t2\r\n"
                                                          "Tab here\ta b{#ENTER#}c{#ENTER#}d\t5\t6\t3\t4\r\n"));

    modNotes::Tables back;
    modNotes::LoadNotes(data.ctx, back);
    ASSERT_EQ(back.count(), 2);
    EXPECT_EQ(
        std::tuple(back.Notes[1].ShortDesc, back.Notes[1].Body, back.Notes[1].Top, back.Notes[2].Body),
        std::tuple(QString::fromUtf8("Café"), QStringLiteral("first\r\nsecond"), -27, QStringLiteral("a b\r\nc\r\nd")));
    EXPECT_TRUE(data.diagnostics.empty());
}

} // namespace

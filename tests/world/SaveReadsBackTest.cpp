// Personal files read and saved again give back what was read, whatever the
// file held: cases the record fuzzer found, each with the bytes it wrote.
#include "../core/TestFiles.h"

#include "elite/modCharacters.h"
#include "layers/modNotes.h"
#include "layers/modTreasures.h"

namespace {

TEST(SaveReadsBack, ACharacterNameWithALoneCarriageReturnDoesNotBlockTheSave)
{
    DataFolder data;
    data.write("Personal/Characters.txt", "01\tAsha\r\n40\tBo\rb\r\n"); // only CR LF ends a line
    modCharacters::Tables characters;
    modCharacters::LoadCharacters(data.ctx, characters);
    ASSERT_EQ(characters.Characters.at(40), "Bo\rb");
    QString error;
    ASSERT_TRUE(modCharacters::SaveCharacters(data.path(), characters, &error)) << error.toStdString();
    EXPECT_EQ(data.read("Personal/Characters.txt"), QByteArray("01\tAsha\r\n40\tBo\rb\r\n"));
}

// A line kept as it stood that starts with the bytes of the UTF-8 mark: saved
// first, it must not make the file read as UTF-8 (which drops the mark and
// changes every other letter).
TEST(SaveReadsBack, AKeptLineStartingWithTheUtf8MarkStaysWindows1252)
{
    const QByteArray kept = "\xEF\xBB\xBF caf\xE9";
    const struct {
        const char* file;
        QByteArray content;
        std::function<QStringList(DataFolder&)> loadSaveLoad;
    } rows[] = {
        {"Personal/Characters.txt", "\r\n" + kept + "\r\n01\tB\xF6rn\r\n",
         [](DataFolder& d) {
             modCharacters::Tables t;
             modCharacters::LoadCharacters(d.ctx, t);
             EXPECT_TRUE(modCharacters::SaveCharacters(d.path(), t));
             modCharacters::LoadCharacters(d.ctx, t);
             return t.Unread << t.Characters.at(1);
         }},
        {"Personal/Notes.txt", "\r\n" + kept + "\r\nCaf\xE9\t\t1\t2\t3\t4\r\n",
         [](DataFolder& d) {
             modNotes::Tables t;
             modNotes::LoadNotes(d.ctx, t);
             EXPECT_TRUE(modNotes::SaveNotes(d.path(), t));
             modNotes::LoadNotes(d.ctx, t);
             return t.Unread << t.Notes.at(1).ShortDesc;
         }},
        {"Personal/Char01OpenedTreasures.txt", "\r\n" + kept + "\r\n0009\t\xE9\r\n",
         [](DataFolder& d) {
             modCharacters::Tables characters;
             characters.Characters = {"", "A"};
             modTreasures::Tables t;
             modTreasures::LoadOpenedTreasures(d.ctx, characters, t);
             EXPECT_TRUE(modTreasures::SaveOpenedTreasures(d.path(), 1, t));
             modTreasures::LoadOpenedTreasures(d.ctx, characters, t);
             return t.UnreadOpened[1];
         }},
    };
    const QString keptText = QString::fromUtf8("ï»¿ café");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        DataFolder data;
        data.write(row.file, row.content);
        const QStringList back = row.loadSaveLoad(data);
        ASSERT_EQ(back.size(), 2);
        EXPECT_EQ(back[0], keptText);
        EXPECT_TRUE(back[1].contains(QChar(0xE9)) || back[1].contains(QChar(0xF6))) << back[1].toStdString();
        EXPECT_TRUE(data.read(row.file).startsWith("\r\n\xEF\xBB\xBF"));
    }
}

} // namespace

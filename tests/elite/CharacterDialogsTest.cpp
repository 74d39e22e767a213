// The character dialogs' rules without a window: numbering, names, the
// editor's list and selection buttons, the capture dialog's list, and saves
// that change the tables only after their files were written.
#include "../core/TestFiles.h"
#include "elite/modCharacterDialogs.h"

#include <gtest/gtest.h>

using namespace modCharacterDialogs;

namespace {

modCharacters::Tables Named(std::initializer_list<const char*> names)
{
    modCharacters::Tables t;
    for (const char* n : names)
        t.Characters.push_back(QString::fromUtf8(n));
    return t;
}

// Characters 1 Ayla, 2 (deleted), 3 Bren; five skills over two campaigns and
// two professions; two treasures.
struct Tables {
    modCharacters::Tables characters = Named({"Ayla", "", "Bren"});
    modElite::Tables elite;
    modProfessions::Tables professions;
    modTreasures::Tables treasures;

    Tables()
    {
        professions.Professions.resize(3);
        professions.Professions[1].Abbreviation = QStringLiteral("W");
        professions.Professions[2].Abbreviation = QStringLiteral("R");
        elite.EliteSkills.resize(6);
        //                 campaign, profession
        const int kinds[6][2] = {{0, 0}, {1, 1}, {1, 2}, {2, 1}, {2, 2}, {1, 1}};
        for (int n = 1; n <= 5; ++n) {
            auto& s = elite.EliteSkills[n];
            s.Name = QStringLiteral("Skill %1").arg(n);
            s.Defined = true;
            s.Campaign = static_cast<uint8_t>(kinds[n][0]);
            s.Profession = static_cast<uint8_t>(kinds[n][1]);
        }
        for (auto& s : elite.EliteSkills)
            s.Captured.assign(4, false);
        treasures.Treasures.resize(3);
        for (auto& t : treasures.Treasures)
            t.OpenedOn.assign(4, std::nullopt);
    }
    CharacterTables refs() { return {characters, elite, treasures}; }
};

std::vector<int> Numbers(const std::vector<PanelEntry>& entries)
{
    std::vector<int> out;
    for (const auto& e : entries)
        out.push_back(e.data);
    return out;
}

TEST(CharacterDialogs, NewCharacterTakesTheLowestFreeNumber)
{
    modCharacters::Tables full;
    full.Characters.assign(100, QStringLiteral("x"));
    modCharacters::Tables fullButFifty = full;
    fullButFifty.Characters[50].clear();
    modCharacters::Tables ninetyEight;
    ninetyEight.Characters.assign(99, QStringLiteral("x"));
    const struct {
        const char* name;
        modCharacters::Tables characters;
        std::optional<int> expected;
    } rows[] = {
        {"no characters", {}, 1},
        {"2 deleted between 1 and 3", Named({"A", "", "C"}), 2},
        {"1 to 3 named", Named({"A", "B", "C"}), 4},
        {"98 named: the 99th", ninetyEight, 99},
        {"99 named: refused", full, std::nullopt},
        {"99 named, 50 deleted", fullButFifty, 50},
    };
    for (const auto& row : rows)
        EXPECT_EQ(NewCharacterNumber(row.characters), row.expected) << row.name;
}

TEST(CharacterDialogs, NamesAreCheckedCaseBlindAndForTheFiles)
{
    const auto characters = Named({"Ayla", "", "Bren"});
    const struct {
        const char* name;
        int current;
        QString text;
        NameProblem expected;
    } rows[] = {
        {"empty", -1, QString(), NameProblem::Empty},
        {"another's name in other case", -1, QStringLiteral("AYLA"), NameProblem::Taken},
        {"renaming to another's name", 3, QStringLiteral("ayla"), NameProblem::Taken},
        {"own name in other case", 1, QStringLiteral("AYLA"), NameProblem::None},
        {"a deleted number has no name", -1, QStringLiteral("Cor"), NameProblem::None},
        {"tab", -1, QStringLiteral("A\tB"), NameProblem::LineBreakOrTab},
        {"line break", 1, QStringLiteral("A\r\nB"), NameProblem::LineBreakOrTab},
        {"Western letters and the euro", -1, QString::fromUtf8("Zoë €"), NameProblem::None},
        {"Greek letter", -1, QString::fromUtf8("Ωmega"), NameProblem::NotWindows1252},
        {"emoji", -1, QString::fromUtf8("Ayla 🐉"), NameProblem::NotWindows1252},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CheckName(characters, row.current, row.text), row.expected) << row.name;
}

TEST(CharacterDialogs, SelectionButtonsChangeOnlyTheListedSkills)
{
    Tables t;
    // Skills 1 and 4 captured to begin with.
    const std::vector<bool> start{false, true, false, false, true, false};
    const struct {
        const char* name;
        int campaign, profession;
        Selection selection;
        std::vector<int> listed;
        std::vector<bool> expected;
    } rows[] = {
        {"invert, campaign 1", 1, -1, Selection::Invert, {1, 2, 5}, {false, false, true, false, true, true}},
        {"select all, profession 2", -1, 2, Selection::SelectAll, {2, 4}, {false, true, true, false, true, false}},
        {"deselect all, campaign 2 profession 1", 2, 1, Selection::DeselectAll, {3}, start},
        {"deselect all, no filter", -1, -1, Selection::DeselectAll, {1, 2, 3, 4, 5}, std::vector<bool>(6, false)},
        {"a campaign without skills", 7, -1, Selection::SelectAll, {}, start},
    };
    for (const auto& row : rows) {
        const auto listed = EditorEliteEntries(t.elite, t.professions, row.campaign, row.profession);
        EXPECT_EQ(Numbers(listed), row.listed) << row.name;
        auto working = start;
        ApplySelection(working, listed, row.selection);
        EXPECT_EQ(working, row.expected) << row.name;
    }
    EXPECT_EQ(EditorEliteEntries(t.elite, t.professions, 1, 2).front().text, QStringLiteral("Skill 2 [R]"));
}

TEST(CharacterDialogs, CaptureDialogListsNamedCharactersWithoutTheSkill)
{
    Tables t;
    t.characters.Characters.push_back(QStringLiteral("Cato")); // 4, beyond the flags
    t.elite.EliteSkills[2].Captured[1] = true;
    t.elite.EliteSkills[3].Captured[1] = t.elite.EliteSkills[3].Captured[3] = true;
    t.elite.EliteSkills[4].Captured[2] = true; // a deleted number's flag
    const struct {
        const char* name;
        int elite;
        std::vector<int> expected;
    } rows[] = {
        {"nobody captured it", 1, {1, 3, 4}},
        {"Ayla captured it", 2, {3, 4}},
        {"captured by two", 3, {4}},
        {"only the deleted number", 4, {1, 3, 4}},
        {"no such skill", 9, {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Numbers(UncapturedCharacters(t.characters, t.elite, row.elite)), row.expected) << row.name;
}

TEST(CharacterDialogs, SavingNewCharactersFillsTheGapThenGrowsEveryTable)
{
    ProgramFolder folder;
    Tables t;
    std::vector<bool> working(6, false);
    working[2] = working[5] = true;
    const auto first = SaveCharacter(folder.path(), t.refs(), -1, QStringLiteral("Cato"), working);
    ASSERT_EQ(first.number, 2) << first.error.toStdString();
    EXPECT_EQ(folder.read("Personal/Characters.txt"), "01\tAyla\r\n02\tCato\r\n03\tBren\r\n");
    EXPECT_EQ(folder.read("Personal/Char02CapElite.txt"), "0002\r\n0005\r\n");
    EXPECT_TRUE(t.elite.EliteSkills[5].Captured[2]);

    const auto second = SaveCharacter(folder.path(), t.refs(), -1, QStringLiteral("Dara"), {});
    ASSERT_EQ(second.number, 4);
    EXPECT_EQ(t.characters.highest(), 4);
    for (const auto& s : t.elite.EliteSkills)
        EXPECT_EQ(s.Captured.size(), 5u);
    for (const auto& tr : t.treasures.Treasures)
        EXPECT_EQ(tr.OpenedOn.size(), 5u);
    EXPECT_EQ(folder.read("Personal/Char04CapElite.txt"), "");

    const auto taken = SaveCharacter(folder.path(), t.refs(), -1, QStringLiteral("dara"), {});
    EXPECT_EQ(taken.problem, NameProblem::Taken);
    EXPECT_FALSE(taken.number);
}

TEST(CharacterDialogs, AFailedWriteChangesNeitherFilesNorTables)
{
    // A folder standing in a file's place makes its write fail: either the
    // list cannot be written, or it is and the new character's captured
    // skills cannot be, so that the list is put back.
    const struct {
        const char* name;
        int current;
        const char* blocked;
    } rows[] = {{"renaming, the list blocked", 1, "Personal/Characters.txt"},
                {"a new character, its captured skills blocked", -1, "Personal/Char02CapElite.txt"}};
    for (const auto& row : rows) {
        ProgramFolder folder;
        const QByteArray list = "01\tAyla\r\n03\tBren\r\n";
        folder.write("Personal/Char01CapElite.txt", "0001\r\n");
        if (!QString::fromLatin1(row.blocked).endsWith(QLatin1String("Characters.txt")))
            folder.write("Personal/Characters.txt", list);
        QDir().mkpath(folder.path(row.blocked));
        Tables t;
        t.elite.EliteSkills[1].Captured[1] = true;
        const Tables before = t;
        const std::vector<bool> working(6, true);
        const SaveResult result =
            SaveCharacter(folder.path(), t.refs(), row.current, QStringLiteral("Cato"), working);
        EXPECT_FALSE(result.number) << row.name;
        EXPECT_FALSE(result.error.isEmpty()) << row.name;
        if (QFileInfo(folder.path("Personal/Characters.txt")).isFile())
            EXPECT_EQ(folder.read("Personal/Characters.txt"), list) << row.name;
        EXPECT_EQ(folder.read("Personal/Char01CapElite.txt"), "0001\r\n") << row.name;
        EXPECT_EQ(t.characters.Characters, before.characters.Characters) << row.name;
        for (int n = 0; n <= 5; ++n)
            EXPECT_EQ(t.elite.EliteSkills[n].Captured, before.elite.EliteSkills[n].Captured) << row.name << n;
    }

    ProgramFolder folder;
    QDir().mkpath(folder.path("Personal/Char01CapElite.txt"));
    Tables t;
    t.elite.EliteSkills[4].Captured[3] = true;
    EXPECT_FALSE(MarkCaptured(folder.path(), t.elite, 2, 1));
    EXPECT_FALSE(t.elite.EliteSkills[2].Captured[1]);
    EXPECT_TRUE(MarkCaptured(folder.path(), t.elite, 2, 3));
    EXPECT_EQ(folder.read("Personal/Char03CapElite.txt"), "0002\r\n0004\r\n");
}

TEST(CharacterDialogs, DeletingRemovesExactlyTheCharactersFilesAndFlags)
{
    ProgramFolder folder;
    for (const char* file : {"Personal/Char01CapElite.txt", "Personal/Char01OpenedTreasures.txt",
                             "Personal/Char03CapElite.txt", "Personal/Char03OpenedTreasures.txt"})
        folder.write(file, "0001\r\n");
    Tables t;
    t.elite.EliteSkills[1].Captured[1] = t.elite.EliteSkills[1].Captured[3] = true;
    t.treasures.Treasures[1].OpenedOn[1] = t.treasures.Treasures[1].OpenedOn[3] = QDate(2010, 2, 1);

    QString error;
    ASSERT_TRUE(DeleteCharacter(folder.path(), t.refs(), 1, &error)) << error.toStdString();
    EXPECT_EQ(folder.read("Personal/Characters.txt"), "03\tBren\r\n");
    EXPECT_FALSE(QFileInfo::exists(folder.path("Personal/Char01CapElite.txt")));
    EXPECT_FALSE(QFileInfo::exists(folder.path("Personal/Char01OpenedTreasures.txt")));
    EXPECT_EQ(folder.read("Personal/Char03CapElite.txt"), "0001\r\n");
    EXPECT_EQ(folder.read("Personal/Char03OpenedTreasures.txt"), "0001\r\n");
    EXPECT_FALSE(t.elite.EliteSkills[1].Captured[1]);
    EXPECT_TRUE(t.elite.EliteSkills[1].Captured[3]);
    EXPECT_FALSE(t.treasures.Treasures[1].OpenedOn[1]);
    EXPECT_TRUE(t.treasures.Treasures[1].OpenedOn[3]);
    EXPECT_EQ(NewCharacterNumber(t.characters), 1);

    // The list cannot be written: the character stays, with its files.
    QFile::remove(folder.path("Personal/Characters.txt"));
    QDir().mkpath(folder.path("Personal/Characters.txt"));
    EXPECT_FALSE(DeleteCharacter(folder.path(), t.refs(), 3));
    EXPECT_EQ(t.characters.Characters[3], QStringLiteral("Bren"));
    EXPECT_TRUE(t.elite.EliteSkills[1].Captured[3]);
    EXPECT_EQ(folder.read("Personal/Char03CapElite.txt"), "0001\r\n");
}

} // namespace

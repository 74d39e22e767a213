// The character dialogs' rules without a window: names, the capture
// dialog's list, and saves that change the tables only after their files
// were written.
#include "../TestWorld.h"
#include "../core/TestFiles.h"
#include "elite/modCharacterDialogs.h"
#include "records/FileChangeHook.h"

#include <QDir>

#include <functional>

#include <gtest/gtest.h>

using namespace modCharacterDialogs;

namespace {

// The world of CharacterWorld() and the tables the dialogs change.
struct Tables : TestWorld {
    Tables() : TestWorld(CharacterWorld()) {}
    CharacterTables refs() { return {world.characters, world.elite, world.treasures}; }
};

TEST(CharacterDialogs, NamesAreCheckedCaseBlindAndForTheFiles)
{
    const auto characters = Tables().world.characters;
    const struct {
        const char* name;
        int current;
        const char* text;
        NameProblem expected;
    } rows[] = {
        {"empty", -1, "", NameProblem::Empty},
        {"another's name in other case", -1, "AYLA", NameProblem::Taken},
        {"own name in other case", 1, "AYLA", NameProblem::None},
        {"tab", -1, "A\tB", NameProblem::LineBreakOrTab},
        {"Western letters and the euro", -1, "Zoë €", NameProblem::None},
        {"emoji", -1, "Ayla 🐉", NameProblem::NotWindows1252},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CheckName(characters, row.current, QString::fromUtf8(row.text)), row.expected) << row.name;
}

TEST(CharacterDialogs, TheEditorsFilterBoxNarrowsTheListAndTheButtonsActOnWhatIsListed)
{
    const World w = Tables().world; // "Skill 1 [H]", "Skill 2 [R]", ..., "Skill 5 [H]"; 3 and 4 of campaign 2
    const struct {
        const char* filter;
        int campaign;
        std::vector<int> listed;    // in elite number order
        std::vector<bool> selected; // after Select all, 1 and 3 ticked before
    } cases[] = {
        {"r]", -1, {2, 4}, {false, true, true, true, true, false}},
        {" SKILL 1 ", -1, {1}, {false, true, false, true, false, false}},
        {"skill", 2, {3, 4}, {false, true, false, true, true, false}},
    };
    for (const auto& c : cases) {
        const auto listed = EditorEliteEntries(w.elite, w.professions, c.campaign, -1, QString::fromLatin1(c.filter));
        EXPECT_EQ(DataOf(listed), c.listed) << c.filter;
        std::vector<bool> working = {false, true, false, true, false, false};
        ApplySelection(working, listed, Selection::SelectAll);
        EXPECT_EQ(working, c.selected) << c.filter << ": skills filtered out keep their ticks";
    }
}

TEST(CharacterDialogs, CaptureDialogListsNamedCharactersWithoutTheSkill)
{
    Tables t;
    t.world.characters.Characters.push_back(QStringLiteral("Cato")); // 4, beyond the flags
    t.world.elite.EliteSkills[2].Captured[1] = true;
    t.world.elite.EliteSkills[4].Captured[2] = true; // the deleted number's flag
    EXPECT_EQ(DataOf(UncapturedCharacters(t.world.characters, t.world.elite, 2)), (std::vector<int>{3, 4}));
    EXPECT_EQ(DataOf(UncapturedCharacters(t.world.characters, t.world.elite, 4)), (std::vector<int>{1, 3, 4}));
    EXPECT_TRUE(UncapturedCharacters(t.world.characters, t.world.elite, 9).empty());
}

TEST(CharacterDialogs, NewCharactersFillTheGapThenGrowEveryTable)
{
    ProgramFolder folder;
    Tables t;
    std::vector<bool> working(6, false);
    working[2] = working[5] = true;
    ASSERT_EQ(SaveCharacter(folder.path(), t.refs(), -1, QStringLiteral("Cato"), working).number, 2);
    EXPECT_EQ(folder.read("Personal/Characters.txt"), "01\tAyla\r\n02\tCato\r\n03\tBren\r\n");
    EXPECT_EQ(folder.read("Personal/Char02CapElite.txt"), "0002\r\n0005\r\n");

    ASSERT_EQ(SaveCharacter(folder.path(), t.refs(), -1, QStringLiteral("Dara"), {}).number, 4);
    for (const auto& s : t.world.elite.EliteSkills)
        EXPECT_EQ(s.Captured.size(), 5u);
    for (const auto& tr : t.world.treasures.Treasures)
        EXPECT_EQ(tr.OpenedOn.size(), 5u);
    EXPECT_EQ(SaveCharacter(folder.path(), t.refs(), -1, QStringLiteral("dara"), {}).problem, NameProblem::Taken);

    // The hundredth character is refused and writes nothing.
    t.world.characters.Characters.resize(100, QStringLiteral("x"));
    const QByteArray list = folder.read("Personal/Characters.txt");
    EXPECT_TRUE(SaveCharacter(folder.path(), t.refs(), -1, QStringLiteral("Eno"), {}).full);
    EXPECT_EQ(folder.read("Personal/Characters.txt"), list);
    EXPECT_FALSE(QFileInfo::exists(folder.path("Personal/Char00CapElite.txt")));
}

TEST(CharacterDialogs, AFailedWriteChangesNeitherFilesNorTables)
{
    // A folder in a file's place makes its write fail: the new character's
    // captured skills, or the list after them (the captures file is then
    // taken back).
    for (const char* blocked : {"Personal/Characters.txt", "Personal/Char02CapElite.txt"}) {
        ProgramFolder folder;
        const QByteArray list = "01\tAyla\r\n03\tBren\r\n";
        if (QByteArray(blocked) != "Personal/Characters.txt")
            folder.write("Personal/Characters.txt", list);
        QDir().mkpath(folder.path(blocked));
        Tables t;
        t.world.elite.UnreadCaptures[2] = {QStringLiteral("0042")}; // read at start-up for the free number
        const Tables before = t;
        const auto result =
            SaveCharacter(folder.path(), t.refs(), -1, QStringLiteral("Cato"), std::vector<bool>(6, true));
        EXPECT_FALSE(result.number || result.error.isEmpty()) << blocked;
        if (QFileInfo(folder.path("Personal/Characters.txt")).isFile()) {
            EXPECT_EQ(folder.read("Personal/Characters.txt"), list) << blocked;
        } else {
            EXPECT_FALSE(folder.exists("Personal/Char02CapElite.txt")) << "no captures for an unlisted number";
        }
        EXPECT_EQ(t.world.characters.Characters, before.world.characters.Characters) << blocked;
        for (int n = 0; n <= 5; ++n)
            EXPECT_EQ(t.world.elite.EliteSkills[n].Captured, before.world.elite.EliteSkills[n].Captured)
                << blocked << n;
        EXPECT_EQ(t.world.elite.UnreadCaptures, before.world.elite.UnreadCaptures) << blocked;
        // A capture is not kept either when its file cannot be written.
        QDir().mkpath(folder.path("Personal/Char01CapElite.txt"));
        EXPECT_FALSE(MarkCaptured(folder.path(), t.world.elite, 2, 1));
        EXPECT_FALSE(t.world.elite.EliteSkills[2].Captured[1]);
    }
}

TEST(CharacterDialogs, DeletingRemovesExactlyTheCharactersFilesAndFlags)
{
    ProgramFolder folder;
    for (const char* file : {"Personal/Char01CapElite.txt", "Personal/Char01OpenedTreasures.txt",
                             "Personal/Char03CapElite.txt", "Personal/Char03OpenedTreasures.txt"})
        folder.write(file, "0001\r\n");
    Tables t;
    t.world.elite.EliteSkills[1].Captured[1] = t.world.elite.EliteSkills[1].Captured[3] = true;
    t.world.treasures.Treasures[1].OpenedOn[1] = t.world.treasures.Treasures[1].OpenedOn[3] = QDate(2010, 2, 1);

    ASSERT_EQ(DeleteCharacter(folder.path(), t.refs(), 1), DeleteResult::Deleted);
    EXPECT_EQ(folder.read("Personal/Characters.txt"), "03\tBren\r\n");
    EXPECT_EQ(QDir(folder.path("Personal")).entryList(QDir::Files),
              (QStringList{"Char03CapElite.txt", "Char03OpenedTreasures.txt", "Characters.txt"}));
    EXPECT_FALSE(t.world.elite.EliteSkills[1].Captured[1] || t.world.treasures.Treasures[1].OpenedOn[1]);
    EXPECT_TRUE(t.world.elite.EliteSkills[1].Captured[3] && t.world.treasures.Treasures[1].OpenedOn[3]);

    // The list cannot be written: the character stays, with its files.
    QFile::remove(folder.path("Personal/Characters.txt"));
    QDir().mkpath(folder.path("Personal/Characters.txt"));
    QString error;
    EXPECT_EQ(DeleteCharacter(folder.path(), t.refs(), 3, &error), DeleteResult::NothingChanged);
    EXPECT_TRUE(error.contains(QStringLiteral("Characters.txt"))) << error.toStdString();
    EXPECT_EQ(t.world.characters.Characters[3], QStringLiteral("Bren"));
    EXPECT_TRUE(t.world.elite.EliteSkills[1].Captured[3]);
    EXPECT_EQ(folder.read("Personal/Char03CapElite.txt"), "0001\r\n");

    // A file that can be neither removed nor emptied: the character is gone
    // from the list all the same, and the result says a file was left.
    QDir(folder.path("Personal/Characters.txt")).removeRecursively();
    QFile::remove(folder.path("Personal/Char03OpenedTreasures.txt"));
    folder.mkdir("Personal/Char03OpenedTreasures.txt/inside");
    error.clear();
    EXPECT_EQ(DeleteCharacter(folder.path(), t.refs(), 3, &error), DeleteResult::FilesLeft);
    EXPECT_TRUE(error.contains(QStringLiteral("Char03OpenedTreasures.txt"))) << error.toStdString();
    EXPECT_EQ(folder.read("Personal/Characters.txt"), "");
    EXPECT_FALSE(folder.exists("Personal/Char03CapElite.txt"));
}

// Deleting a character whose files are links removes the links, never the
// files they lead to.
TEST(CharacterDialogs, DeletingACharacterRemovesItsLinksNotTheirTargets)
{
    ProgramFolder folder;
    folder.write("synced/Char01CapElite.txt", "0001\r\n");
    folder.write("Personal/Characters.txt", "01\tAyla\r\n03\tBren\r\n");
    ASSERT_TRUE(QFile::link(folder.path("synced/Char01CapElite.txt"), folder.path("Personal/Char01CapElite.txt")));
    ASSERT_TRUE(QFile::link(folder.path("synced"), folder.path("Personal/Char01OpenedTreasures.txt")));
    Tables t;
    ASSERT_EQ(DeleteCharacter(folder.path(), t.refs(), 1), DeleteResult::Deleted);
    EXPECT_FALSE(QFileInfo(folder.path("Personal/Char01CapElite.txt")).isSymLink());
    EXPECT_FALSE(QFileInfo(folder.path("Personal/Char01OpenedTreasures.txt")).isSymLink());
    EXPECT_EQ(folder.read("synced/Char01CapElite.txt"), "0001\r\n");
}

TEST(CharacterDialogs, ANewCharacterInheritsNothingItsNumberHeld)
{
    // Number 2 is free, but files were left for it and read at start-up.
    ProgramFolder folder;
    folder.write("Personal/Char02CapElite.txt", "0001\r\n0042\r\n");
    folder.write("Personal/Char02OpenedTreasures.txt", "0001\t01022010\r\n0009\t01022010\r\n");
    Tables t;
    t.world.elite.EliteSkills[1].Captured[2] = true;
    t.world.elite.UnreadCaptures[2] = {QStringLiteral("0042")};
    t.world.treasures.Treasures[1].OpenedOn[2] = QDate(2010, 2, 1);
    t.world.treasures.UnreadOpened[2] = {QStringLiteral("0009\t01022010")};
    for (int c : {1, 3}) { // what Ayla and Bren hold
        t.world.elite.UnreadCaptures[c] = {QStringLiteral("0077")};
        t.world.treasures.UnreadOpened[c] = {QStringLiteral("0008\t01022010")};
    }
    std::vector<bool> working(6, false);
    working[3] = true;
    ASSERT_EQ(SaveCharacter(folder.path(), t.refs(), -1, QStringLiteral("Cato"), working).number, 2);
    EXPECT_EQ(folder.read("Personal/Char02CapElite.txt"), "0003\r\n");
    EXPECT_FALSE(folder.exists("Personal/Char02OpenedTreasures.txt"));
    EXPECT_FALSE(t.world.treasures.Treasures[1].OpenedOn[2]);
    // What the number held stays in the run's safety copy, and set aside
    // under names the program does not read (kept also when no safety copy
    // could be made).
    const QStringList copies = QDir(folder.path("Personal/Backup")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(folder.read(QStringLiteral("Personal/Backup/%1/Char02OpenedTreasures.txt").arg(copies[0])),
              "0001\t01022010\r\n0009\t01022010\r\n");
    const QStringList setAside = QDir(folder.path("Personal")).entryList({QStringLiteral("Char02*.set-aside-*.txt")});
    ASSERT_EQ(setAside.size(), 2);
    EXPECT_EQ(folder.read(QStringLiteral("Personal/") + setAside[0]), "0001\r\n0042\r\n");
    EXPECT_EQ(folder.read(QStringLiteral("Personal/") + setAside[1]), "0001\t01022010\r\n0009\t01022010\r\n");

    // Ayla deleted: her number goes to the next new character, empty-handed;
    // Bren keeps his.
    ASSERT_EQ(DeleteCharacter(folder.path(), t.refs(), 1), DeleteResult::Deleted);
    EXPECT_EQ(t.world.elite.UnreadCaptures, (std::map<int, QStringList>{{3, {QStringLiteral("0077")}}}));
    EXPECT_EQ(t.world.treasures.UnreadOpened, (std::map<int, QStringList>{{3, {QStringLiteral("0008\t01022010")}}}));
    ASSERT_EQ(SaveCharacter(folder.path(), t.refs(), -1, QStringLiteral("Dara"), {}).number, 1);
    EXPECT_EQ(folder.read("Personal/Char01CapElite.txt"), "");
}

TEST(CharacterDialogs, AFailedSafetyCopyIsToldOnceAfterASaveThatWentOn)
{
    EXPECT_EQ(modCharacters::TakeBackupNotice(), QString()) << "nothing failed yet";
    ProgramFolder folder;
    folder.write("Personal/Characters.txt", "01\tAyla\r\n");
    folder.write("Personal/Backup", "a file where the copies' folder belongs");
    Tables t;
    ASSERT_EQ(SaveCharacter(folder.path(), t.refs(), -1, QStringLiteral("Cato"), {}).number, 2);
    const QString notice = modCharacters::TakeBackupNotice();
    EXPECT_TRUE(notice.startsWith(QStringLiteral("The safety copy of your personal files could not be made")))
        << notice.toStdString();
    EXPECT_TRUE(notice.contains(modCharacters::BackupProblem()));
    EXPECT_EQ(modCharacters::TakeBackupNotice(), QString()) << "once per run";
}

// ---- Saves stopped between two files ---------------------------------------

// The folder as the last start found it: Ayla (1) and Bren (3) with their
// captures and chests, files left for the free number 2, and a note.
const std::vector<std::pair<const char*, QByteArray>> kStored = {
    {"Characters.txt", "01\tAyla\r\n03\tBren\r\n"},
    {"Char01CapElite.txt", "0001\r\n0002\r\n"},
    {"Char01OpenedTreasures.txt", "0001\t01022010\r\n"},
    {"Char02CapElite.txt", "0004\r\n"},
    {"Char03CapElite.txt", "0003\r\n"},
    {"Char03OpenedTreasures.txt", "0002\t03042011\r\n"},
    {"Notes.txt", "Ford\tshallow\t1\t2\t1\t1\r\n"},
};

QByteArray Stored(const char* name)
{
    for (const auto& [file, bytes] : kStored)
        if (QByteArray(file) == name)
            return bytes;
    return {};
}

void ExpectAsStored(const ProgramFolder& folder, std::initializer_list<const char*> files)
{
    for (const char* file : files)
        EXPECT_EQ(folder.read(QStringLiteral("Personal/") + QLatin1String(file)), Stored(file)) << file;
}

// The tables as loaded from kStored.
Tables LoadedTables()
{
    Tables t;
    t.world.elite.EliteSkills[1].Captured[1] = t.world.elite.EliteSkills[2].Captured[1] = true;
    t.world.elite.EliteSkills[4].Captured[2] = true;
    t.world.elite.EliteSkills[3].Captured[3] = true;
    t.world.treasures.Treasures[1].OpenedOn[1] = QDate(2010, 2, 1);
    t.world.treasures.Treasures[2].OpenedOn[3] = QDate(2011, 4, 3);
    return t;
}

int g_changes = 0;
int g_stopAfter = 0;

void StopAtTheKthChange(const QString&)
{
    if (++g_changes == g_stopAfter)
        _exit(3); // as a crash would: no clean-up, no further write
}

// Every safety copy of the folder holds the stored files whole.
void ExpectCompleteCopies(const ProgramFolder& folder)
{
    const QDir backups(folder.path("Personal/Backup"));
    for (const QString& copy : backups.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (copy.startsWith(u'.'))
            continue;
        for (const auto& [file, bytes] : kStored)
            EXPECT_EQ(folder.read(QStringLiteral("Personal/Backup/%1/%2").arg(copy, QLatin1String(file))), bytes)
                << copy.toStdString() << " " << file;
    }
}

// True when some file of Personal/ (its own name or a set-aside one) holds `bytes`.
bool KeptInPersonal(const ProgramFolder& folder, const QByteArray& bytes)
{
    for (const QString& name : QDir(folder.path("Personal")).entryList(QDir::Files))
        if (folder.read(QStringLiteral("Personal/") + name) == bytes)
            return true;
    return false;
}

// Each save stopped after its first, second, ... change on the disk: what
// the next start reads keeps every stored record, and the save's own records
// are either all there or not named yet.
TEST(InterruptedSaves, AStopAfterAnyFileLosesNothingStored)
{
    struct Row {
        const char* name;
        std::function<bool(const QString& folder)> save;
        std::function<void(const ProgramFolder& folder)> check;
    };
    const std::vector<Row> rows = {
        {"a new character with its captures",
         [](const QString& f) {
             Tables t = LoadedTables();
             std::vector<bool> working(6, false);
             working[3] = working[5] = true;
             return SaveCharacter(f, t.refs(), -1, QStringLiteral("Cato"), working).number == 2;
         },
         [](const ProgramFolder& folder) {
             const QByteArray list = folder.read("Personal/Characters.txt");
             if (list == "01\tAyla\r\n02\tCato\r\n03\tBren\r\n") {
                 EXPECT_EQ(folder.read("Personal/Char02CapElite.txt"), "0003\r\n0005\r\n") << "listed, so saved";
             } else {
                 EXPECT_EQ(list, Stored("Characters.txt"));
             }
             EXPECT_TRUE(KeptInPersonal(folder, Stored("Char02CapElite.txt"))) << "what number 2 held";
             ExpectAsStored(folder, {"Char01CapElite.txt", "Char01OpenedTreasures.txt", "Char03CapElite.txt",
                                     "Char03OpenedTreasures.txt", "Notes.txt"});
         }},
        {"a character renamed, its captures changed",
         [](const QString& f) {
             Tables t = LoadedTables();
             std::vector<bool> working(6, false);
             working[1] = working[3] = true;
             return SaveCharacter(f, t.refs(), 3, QStringLiteral("Brenna"), working).number == 3;
         },
         [](const ProgramFolder& folder) {
             const QByteArray list = folder.read("Personal/Characters.txt");
             EXPECT_TRUE(list == Stored("Characters.txt") || list == "01\tAyla\r\n03\tBrenna\r\n") << list.data();
             const QByteArray captures = folder.read("Personal/Char03CapElite.txt");
             EXPECT_TRUE(captures == Stored("Char03CapElite.txt") || captures == "0001\r\n0003\r\n");
             ExpectAsStored(folder, {"Char01CapElite.txt", "Char01OpenedTreasures.txt", "Char02CapElite.txt",
                                     "Char03OpenedTreasures.txt", "Notes.txt"});
         }},
        {"a character deleted",
         [](const QString& f) {
             Tables t = LoadedTables();
             return DeleteCharacter(f, t.refs(), 1) == DeleteResult::Deleted;
         },
         [](const ProgramFolder& folder) {
             const QByteArray list = folder.read("Personal/Characters.txt");
             if (list == Stored("Characters.txt")) {
                 SCOPED_TRACE("still listed, so still whole");
                 ExpectAsStored(folder, {"Char01CapElite.txt", "Char01OpenedTreasures.txt"});
             } else {
                 EXPECT_EQ(list, "03\tBren\r\n");
             }
             ExpectAsStored(folder, {"Char03CapElite.txt", "Char03OpenedTreasures.txt", "Notes.txt"});
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        int stops = 0;
        for (int k = 1; k < 100; ++k) {
            SCOPED_TRACE(k);
            ProgramFolder folder;
            for (const auto& [file, bytes] : kStored)
                folder.write(QStringLiteral("Personal/") + QLatin1String(file), bytes);
            const int status = RunInChild([&] {
                g_stopAfter = k;
                records::AfterFileChange = StopAtTheKthChange;
                return row.save(folder.path()) ? 0 : 1;
            });
            ASSERT_TRUE(status == 0 || status == 3) << status;
            row.check(folder);
            ExpectCompleteCopies(folder);
            if (status == 0)
                break; // the save ended before its k-th change
            ++stops;
        }
        EXPECT_GT(stops, 2) << "stopped after the copy's files and after each of the save's own";
    }
}

} // namespace

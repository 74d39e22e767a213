// Every writer of the program's own files, made to fail: the old file stays
// byte for byte and the system's reason comes back. The file system is
// filled by a file-size limit, which holds for every user (a folder without
// write permission does not stop root).
#include "../TestWorld.h"
#include "../core/TestFiles.h"

#include "core/modOptions.h"
#include "elite/modCharacters.h"
#include "elite/modElite.h"
#include "layers/modNotes.h"
#include "layers/modTreasures.h"

#include <QDateTime>
#include <QRegularExpression>

#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

// A world with something to write in every personal table, each file longer
// than the old content below.
const World& Saved()
{
    static const TestWorld saved = [] {
        TestWorld t;
        t.characters({nullptr, "Asha the Wanderer", "Bo of the Reeds"});
        for (int n = 1; n <= 9; ++n) {
            t.skill(n, QStringLiteral("Skill"), 1);
            t.world.treasures.Treasures[size_t(t.chest(QStringLiteral("Chest"), 1, 0, 0, 0))].OpenedOn[1] =
                QDate(2010, 2, 1);
        }
        for (auto& skill : t.world.elite.EliteSkills)
            skill.Captured = {false, true};
        t.note(QStringLiteral("Bridge over the Reedwater"), QStringLiteral("first\r\nsecond"), 1, 1, 0, 0);
        return t;
    }();
    return saved.world;
}

const struct Writer {
    const char* name;
    const char* file;
    bool (*save)(const QString& appFolder, QString* error);
} kWriters[] = {
    {"options", "Data/Options.txt",
     [](const QString& f, QString* e) { return modOptions::SaveOptions(f, {}, false, e); }},
    {"characters", "Personal/Characters.txt",
     [](const QString& f, QString* e) { return modCharacters::SaveCharacters(f, Saved().characters, e); }},
    {"captured elites", "Personal/Char01CapElite.txt",
     [](const QString& f, QString* e) { return modCharacters::SaveCapturedElites(f, 1, Saved().elite, e); }},
    {"opened treasures", "Personal/Char01OpenedTreasures.txt",
     [](const QString& f, QString* e) { return modTreasures::SaveOpenedTreasures(f, 1, Saved().treasures, e); }},
    {"notes", "Personal/Notes.txt",
     [](const QString& f, QString* e) { return modNotes::SaveNotes(f, Saved().notes, e); }},
};

const QByteArray kOld = "the old content\r\n";

// Runs `check` once per writer, in a program folder of its own.
template <typename Check>
void ForEachWriter(Check check)
{
    for (const Writer& w : kWriters) {
        SCOPED_TRACE(w.name);
        ProgramFolder data;
        data.mkdir("Personal/Backup");
        check(w, data);
    }
}

TEST(PersonalWrites, AFullFileSystemKeepsTheOldFileAndSaysWhy)
{
    ForEachWriter([](const Writer& w, const ProgramFolder& data) {
        data.write(w.file, kOld);
        const QString folder = QFileInfo(data.path(w.file)).path();
        const QStringList before = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        QString error;
        bool saved = true;
        {
            const FileSizeLimit limit(kOld.size() - 1);
            ASSERT_TRUE(limit.ok());
            saved = w.save(data.path(), &error);
        }
        EXPECT_FALSE(saved);
        EXPECT_TRUE(error.contains(QString::fromLocal8Bit(std::strerror(EFBIG)))) << error.toStdString();
        EXPECT_EQ(data.read(w.file), kOld);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), before) << "no temporary file is left";
        // Without the limit the same save goes through.
        EXPECT_TRUE(w.save(data.path(), &error)) << error.toStdString();
        EXPECT_NE(data.read(w.file), kOld);
    });
}

TEST(PersonalWrites, AFolderWithoutWritePermissionKeepsTheOldFileAndSaysWhy)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root, whom folder permissions do not stop; the file-size case covers the writers";
    ForEachWriter([](const Writer& w, const ProgramFolder& data) {
        data.write(w.file, kOld);
        const QByteArray folder = QFile::encodeName(QFileInfo(data.path(w.file)).path());
        ASSERT_EQ(chmod(folder.constData(), 0555), 0);
        QString error;
        EXPECT_FALSE(w.save(data.path(), &error));
        chmod(folder.constData(), 0755);
        EXPECT_TRUE(error.contains(QString::fromLocal8Bit(std::strerror(EACCES)))) << error.toStdString();
        EXPECT_EQ(data.read(w.file), kOld);
    });
}

// A personal file kept elsewhere (a synced folder) through a link: every
// writer writes through the link, which stays, and leaves nothing beside it.
TEST(PersonalWrites, ALinkToARegularFileIsWrittenThroughAndKept)
{
    ForEachWriter([](const Writer& w, const ProgramFolder& data) {
        const QString file = w.file;
        data.write("synced/kept.txt", kOld);
        data.mkdir(QFileInfo(file).path());
        ASSERT_TRUE(QFile::link(data.path("synced/kept.txt"), data.path(file)));
        QString error;
        ASSERT_TRUE(w.save(data.path(), &error)) << error.toStdString();
        EXPECT_TRUE(QFileInfo(data.path(file)).isSymLink()) << "the link stays";
        const QByteArray written = data.read("synced/kept.txt");
        EXPECT_NE(written, kOld);
        EXPECT_TRUE(written.endsWith("\r\n")) << written.toStdString();
        EXPECT_EQ(QDir(data.path("synced")).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("kept.txt")})
            << "no temporary file is left beside the target";
    });
}

// A link that leads to no regular file counts as a missing file: read as
// none (with a diagnostic), replaced by a regular file when saved; what it
// pointed to is not touched.
TEST(PersonalWrites, ALinkToNoRegularFileCountsAsMissing)
{
    struct Row {
        const char* name;
        std::function<void(ProgramFolder&)> make; // makes "elsewhere" what the link leads to
    };
    const std::vector<Row> rows = {
        {"nothing", [](ProgramFolder&) {}},
        {"a FIFO",
         [](ProgramFolder& d) { ASSERT_EQ(mkfifo(QFile::encodeName(d.path("elsewhere")).constData(), 0644), 0); }},
        {"a folder", [](ProgramFolder& d) { d.mkdir(QStringLiteral("elsewhere/inside")); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DataFolder data;
        row.make(data);
        data.mkdir("Personal");
        ASSERT_TRUE(QFile::link(data.path("elsewhere"), data.path("Personal/Notes.txt")));
        modNotes::Tables notes;
        modNotes::LoadNotes(data.ctx, notes);
        EXPECT_EQ(notes.count(), 0);
        ASSERT_EQ(data.diagnostics.size(), 1u);
        EXPECT_TRUE(data.diagnostics.items()[0].message.contains(QStringLiteral("link"))) << row.name;

        auto& note = notes.Notes.emplace_back();
        note.ShortDesc = QStringLiteral("Ford");
        QString error;
        ASSERT_TRUE(modNotes::SaveNotes(data.path(), notes, &error)) << error.toStdString();
        EXPECT_FALSE(QFileInfo(data.path("Personal/Notes.txt")).isSymLink());
        EXPECT_EQ(data.read("Personal/Notes.txt"), "Ford\t\t0\t0\t0\t0\r\n");
    }
}

// Reading follows a link to a regular file, and the save after it keeps it.
TEST(PersonalRecords, APersonalFolderFileLinkedIntoAnotherFolderIsReadAndSavedThroughIt)
{
    DataFolder data;
    data.write("synced/Notes.txt", "Ford\tshallow{#ENTER#}at dawn\t10\t20\t1\t2\r\n");
    data.mkdir("Personal");
    ASSERT_TRUE(QFile::link(QStringLiteral("../synced/Notes.txt"), data.path("Personal/Notes.txt")));
    modNotes::Tables notes;
    modNotes::LoadNotes(data.ctx, notes);
    ASSERT_EQ(notes.count(), 1);
    EXPECT_EQ(notes.Notes[1].Body, QStringLiteral("shallow\r\nat dawn"));
    EXPECT_TRUE(data.diagnostics.empty());
    notes.Notes[1].X = 11;
    QString error;
    ASSERT_TRUE(modNotes::SaveNotes(data.path(), notes, &error)) << error.toStdString();
    EXPECT_EQ(QFileInfo(data.path("Personal/Notes.txt")).symLinkTarget(),
              QFileInfo(data.path("synced/Notes.txt")).absoluteFilePath());
    EXPECT_EQ(data.read("synced/Notes.txt"), "Ford\tshallow{#ENTER#}at dawn\t11\t20\t1\t2\r\n");
    // The safety copy holds the file the link led to.
    const QStringList copies = QDir(data.path("Personal/Backup")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(data.read("Personal/Backup/" + copies[0] + QStringLiteral("/Notes.txt")),
              "Ford\tshallow{#ENTER#}at dawn\t10\t20\t1\t2\r\n");
}

// Names of the safety copies, as the clean-up sees them: real folders whose
// names are dates.
QStringList Copies(const QString& backups)
{
    QStringList copies;
    const QRegularExpression dated(QStringLiteral(R"(^\d{4}-\d\d-\d\d_\d{6}(_\d+)?$)"));
    for (const QString& name : QDir(backups).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (dated.match(name).hasMatch() && !QFileInfo(backups + u'/' + name).isSymLink())
            copies << name;
    return copies;
}

const QDateTime kMorning(QDate(2026, 12, 7), QTime(3, 0, 0));

// Makes `count` safety copies, `step` seconds apart from kMorning on.
void MakeCopies(const ProgramFolder& data, int count, qint64 step = 1)
{
    for (int i = 0; i < count; ++i) {
        QString error;
        ASSERT_TRUE(modCharacters::BackupPersonalFolder(data.path(), kMorning.addSecs(i * step), &error))
            << error.toStdString();
    }
}

// The first personal save of a run makes a copy; a copy that cannot be made
// does not stop the save.
TEST(PersonalBackup, ACopyThatCannotBeMadeDoesNotStopTheSave)
{
    ProgramFolder blocked;
    blocked.write("Personal/Notes.txt", kOld);
    blocked.write("Personal/Backup", "a file where the copies go");
    QString error;
    EXPECT_TRUE(modNotes::SaveNotes(blocked.path(), modNotes::Tables{}, &error)) << error.toStdString();
    EXPECT_EQ(blocked.read("Personal/Notes.txt"), "");
    EXPECT_TRUE(modCharacters::BackupProblem().contains(QStringLiteral("Backup")))
        << modCharacters::BackupProblem().toStdString();
}

// What the player keeps in Personal/Backup, or where it leads, is never
// removed by the clean-up: links (even named as copies), files, folders of
// other names. Only the oldest real copies go, and never the one just made.
TEST(PersonalBackup, TheCleanUpRemovesOnlyItsOwnCopiesNeverThroughALink)
{
    struct Row {
        const char* name;
        bool backupIsALink; // Personal/Backup leads to "home/"
    };
    for (const Row row : {Row{"Backup a folder", false}, Row{"Backup a link to a folder", true}}) {
        SCOPED_TRACE(row.name);
        ProgramFolder data;
        data.write("Personal/Notes.txt", kOld);
        data.write("Personal/Characters.txt", "01\tAsha\r\n");
        data.write("outside/letter.txt", "keep me");
        data.write("outside/sub/photo.jpg", "keep me too");
        data.write("home/Desktop/todo.txt", "desk");
        data.write("home/Documents/2001-01-01_000000/tax.txt", "tax");
        data.write("home/1999-01-01_000000", "a file named as a copy");
        data.mkdir("home/2020-01-01_000000_2/inner"); // a copy of old, made by an old version
        data.mkdir("home/9999-12-31_235959");         // a copy from a clock far ahead
        const QString backups = data.path("home");
        if (row.backupIsALink)
            ASSERT_TRUE(QFile::link(backups, data.path("Personal/Backup")));
        else
            ASSERT_TRUE(QDir().rename(backups, data.path("Personal/Backup")));
        const QString seen = data.path("Personal/Backup");
        for (const char* link : {"0000-old", "2000-01-01_000000", "2000-01-01_000001"})
            ASSERT_TRUE(QFile::link(data.path("outside"), seen + u'/' + QString::fromLatin1(link)));
        ASSERT_TRUE(QFile::link(data.path("outside/letter.txt"), seen + QStringLiteral("/2000-01-02_000000")));

        MakeCopies(data, 12);
        QStringList expected{QStringLiteral("9999-12-31_235959")};
        for (int i = 3; i < 12; ++i)
            expected.insert(expected.size() - 1, kMorning.addSecs(i).toString(QStringLiteral("yyyy-MM-dd_HHmmss")));
        EXPECT_EQ(Copies(seen), expected) << "the old-version copy and the three oldest went";
        EXPECT_EQ(data.read("Personal/Backup/2026-12-07_030011/Notes.txt"), kOld);
        EXPECT_EQ(data.read("Personal/Backup/2026-12-07_030011/Characters.txt"), "01\tAsha\r\n");
        EXPECT_EQ(data.read("outside/letter.txt"), "keep me");
        EXPECT_EQ(data.read("outside/sub/photo.jpg"), "keep me too");
        for (const char* link : {"0000-old", "2000-01-01_000000", "2000-01-01_000001", "2000-01-02_000000"})
            EXPECT_TRUE(QFileInfo(seen + u'/' + QString::fromLatin1(link)).isSymLink()) << link;
        EXPECT_EQ(data.read("Personal/Backup/Desktop/todo.txt"), "desk");
        EXPECT_EQ(data.read("Personal/Backup/Documents/2001-01-01_000000/tax.txt"), "tax");
        EXPECT_EQ(data.read("Personal/Backup/1999-01-01_000000"), "a file named as a copy");
        EXPECT_EQ(QFileInfo(seen).isSymLink(), row.backupIsALink) << "the copies were made where the link leads";
    }
}

// A copy is whole or absent: one that fails leaves neither its dated folder
// nor its temporary one, and a temporary copy left by an interrupted run is
// cleared by the next.
TEST(PersonalBackup, ACopyIsCompleteOrAbsent)
{
    ProgramFolder data;
    data.write("Personal/Characters.txt", "01\tAsha\r\n");
    data.write("Personal/Notes.txt", QByteArray(6000, 'n'));
    data.write("Personal/Backup/.copying-2026-12-06_220000/Characters.txt", "01\tAsha\r\n");
    data.write("Personal/Backup/.copying-mine/diary.txt", "the player's");
    QString error;
    {
        const FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.ok());
        EXPECT_FALSE(modCharacters::BackupPersonalFolder(data.path(), kMorning, &error));
    }
    EXPECT_TRUE(error.contains(QStringLiteral("Notes.txt"))) << error.toStdString();
    EXPECT_EQ(QDir(data.path("Personal/Backup")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral(".copying-mine")});
    ASSERT_TRUE(modCharacters::BackupPersonalFolder(data.path(), kMorning, &error)) << error.toStdString();
    EXPECT_EQ(data.read("Personal/Backup/2026-12-07_030000/Notes.txt"), QByteArray(6000, 'n'));
}

// Ten runs on a disk without room for a copy: each save goes through, each
// run tells the player once, and the ten complete copies made before stay.
TEST(PersonalBackup, TenRunsWithoutRoomKeepTheTenCompleteCopies)
{
    ProgramFolder data;
    data.write("Personal/Characters.txt", "01\tAsha\r\n");
    data.write("Personal/Notes.txt", QByteArray(6000, 'n'));
    MakeCopies(data, modCharacters::kKeptBackups, -86400);
    const QString backups = data.path("Personal/Backup");
    const QStringList before = Copies(backups);
    ASSERT_EQ(before.size(), modCharacters::kKeptBackups);
    for (int run = 1; run <= 10; ++run) {
        SCOPED_TRACE(run);
        const int told = RunInChild([&] {
            const FileSizeLimit limit(4096);
            modCharacters::Tables characters;
            characters.Characters = {QString(), QStringLiteral("Asha"), QStringLiteral("Bo")};
            if (!limit.ok() || !modCharacters::SaveCharacters(data.path(), characters))
                return 2;
            const QString notice = modCharacters::TakeBackupNotice();
            return notice.contains(QStringLiteral("Notes.txt")) && modCharacters::TakeBackupNotice().isEmpty() ? 0 : 1;
        });
        EXPECT_EQ(told, 0) << "the save goes through and the failed copy is told once";
        EXPECT_EQ(Copies(backups), before);
        for (const QString& copy : before) {
            EXPECT_EQ(data.read("Personal/Backup/" + copy + "/Notes.txt"), QByteArray(6000, 'n'));
            EXPECT_EQ(data.read("Personal/Backup/" + copy + "/Characters.txt"), "01\tAsha\r\n");
        }
    }
    EXPECT_EQ(data.read("Personal/Characters.txt"), "01\tAsha\r\n02\tBo\r\n");
}

} // namespace

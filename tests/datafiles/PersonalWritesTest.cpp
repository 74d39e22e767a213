// Every writer of the program's own files, made to fail: the old file stays
// byte for byte and the system's reason comes back. The file system is
// filled by a file-size limit, which holds for every user (a folder without
// write permission does not stop root).
#include "../core/TestFiles.h"

#include "core/modOptions.h"
#include "elite/modCharacters.h"
#include "elite/modElite.h"
#include "layers/modNotes.h"
#include "layers/modTreasures.h"

#include <QDateTime>

#include <array>
#include <climits>

#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Save = std::function<bool(const QString& appFolder, QString* error)>;

struct Writer {
    const char* name;
    const char* file;
    Save save;
};

std::vector<Writer> Writers()
{
    static modCharacters::Tables characters = [] {
        modCharacters::Tables t;
        t.Characters = {"", "Asha the Wanderer", "Bo of the Reeds"};
        return t;
    }();
    static modElite::Tables elite = [] {
        modElite::Tables t;
        t.EliteSkills.resize(40);
        for (auto& s : t.EliteSkills)
            s.Captured = {false, true};
        return t;
    }();
    static modTreasures::Tables treasures = [] {
        modTreasures::Tables t;
        t.Treasures.resize(10);
        for (auto& c : t.Treasures)
            c.OpenedOn = {std::nullopt, QDate(2010, 2, 1)};
        return t;
    }();
    static modNotes::Tables notes = [] {
        modNotes::Tables t;
        auto& n = t.Notes.emplace_back();
        n.ShortDesc = QStringLiteral("Bridge over the Reedwater");
        n.Body = QStringLiteral("first\r\nsecond");
        return t;
    }();
    return {
        {"options", "Data/Options.txt",
         [](const QString& folder, QString* e) { return modOptions::SaveOptions(folder, {}, false, e); }},
        {"characters", "Personal/Characters.txt",
         [](const QString& folder, QString* e) { return modCharacters::SaveCharacters(folder, characters, e); }},
        {"captured elites", "Personal/Char01CapElite.txt",
         [](const QString& folder, QString* e) { return modCharacters::SaveCapturedElites(folder, 1, elite, e); }},
        {"opened treasures", "Personal/Char01OpenedTreasures.txt",
         [](const QString& folder, QString* e) { return modTreasures::SaveOpenedTreasures(folder, 1, treasures, e); }},
        {"notes", "Personal/Notes.txt",
         [](const QString& folder, QString* e) { return modNotes::SaveNotes(folder, notes, e); }},
    };
}

const QByteArray kOld = "the old content\r\n";

TEST(PersonalWrites, AFullFileSystemKeepsTheOldFileAndSaysWhy)
{
    for (const Writer& w : Writers()) {
        SCOPED_TRACE(w.name);
        ProgramFolder data;
        data.write(QString::fromLatin1(w.file), kOld);
        data.mkdir(QStringLiteral("Personal/Backup"));
        const QString folder = QFileInfo(data.path(QString::fromLatin1(w.file))).path();
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
        EXPECT_EQ(data.read(QString::fromLatin1(w.file)), kOld);
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), before) << "no temporary file is left";
        // Without the limit the same save goes through.
        EXPECT_TRUE(w.save(data.path(), &error)) << error.toStdString();
        EXPECT_NE(data.read(QString::fromLatin1(w.file)), kOld);
    }
}

TEST(PersonalWrites, AFolderWithoutWritePermissionKeepsTheOldFileAndSaysWhy)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root, whom folder permissions do not stop; the file-size case covers the writers";
    for (const Writer& w : Writers()) {
        SCOPED_TRACE(w.name);
        ProgramFolder data;
        data.write(QString::fromLatin1(w.file), kOld);
        data.mkdir(QStringLiteral("Personal/Backup"));
        const QByteArray folder = QFile::encodeName(QFileInfo(data.path(QString::fromLatin1(w.file))).path());
        ASSERT_EQ(chmod(folder.constData(), 0555), 0);
        QString error;
        EXPECT_FALSE(w.save(data.path(), &error));
        chmod(folder.constData(), 0755);
        EXPECT_TRUE(error.contains(QString::fromLocal8Bit(std::strerror(EACCES)))) << error.toStdString();
        EXPECT_EQ(data.read(QString::fromLatin1(w.file)), kOld);
    }
}

TEST(PersonalWrites, ALinkInPlaceOfTheFileIsReplacedNotWrittenThrough)
{
    ProgramFolder data;
    data.write(QStringLiteral("elsewhere.txt"), kOld);
    data.mkdir(QStringLiteral("Data"));
    ASSERT_TRUE(QFile::link(data.path(QStringLiteral("elsewhere.txt")), data.path(QStringLiteral("Data/Options.txt"))));
    QString error;
    ASSERT_TRUE(modOptions::SaveOptions(data.path(), {}, false, &error)) << error.toStdString();
    EXPECT_EQ(data.read(QStringLiteral("elsewhere.txt")), kOld);
    EXPECT_FALSE(QFileInfo(data.path(QStringLiteral("Data/Options.txt"))).isSymLink());
    EXPECT_TRUE(data.read(QStringLiteral("Data/Options.txt")).startsWith("[OLD SELECTION]\r\n"));
}

// What a load cannot use is written back unchanged, ahead of what it read.
TEST(PersonalRecords, NoLineIsLostByALoadAndASave)
{
    DataFolder data;
    data.write("Personal/Notes.txt", "; my notes\r\n"
                                     "Edge\tfirst{#ENTER#}second\t2147483647\t-2147483648\t255\t0\r\n"
                                     "Big\tcampaign\t1\t2\t300\t4\r\n");
    data.write("Personal/Characters.txt", "\xEF\xBB\xBF"
                                          "01\tB\xC3\xB6rn\r\n150\tToo far\r\n");
    data.write("Personal/Char01CapElite.txt", "0002\r\n0099\r\n");
    modNotes::Tables notes;
    modNotes::LoadNotes(data.ctx, notes);
    modCharacters::Tables characters;
    modCharacters::LoadCharacters(data.ctx, characters);
    modElite::Tables elite;
    elite.EliteSkills.resize(6);
    modCharacters::LoadCapturedElites(data.ctx, characters, elite);

    ASSERT_EQ(notes.count(), 1);
    const modNotes::MapNote& n = notes.Notes[1];
    EXPECT_EQ((std::array{n.X, n.Y, int(n.Campaign)}), (std::array{INT32_MAX, INT32_MIN, 255}));
    EXPECT_EQ((std::array{n.Left, n.Top, n.Right, n.Bottom}),
              (std::array{INT32_MAX - 7, INT32_MIN, INT32_MAX, INT32_MIN + 7}));
    EXPECT_EQ(characters.Characters, (std::vector<QString>{"", QString::fromUtf8("Börn")}))
        << "the mark is no part of the name";
    EXPECT_EQ(elite.EliteSkills[2].Captured, (std::vector<bool>{false, true}));

    QString error;
    ASSERT_TRUE(modNotes::SaveNotes(data.ctx.appFolder, notes, &error)) << error.toStdString();
    ASSERT_TRUE(modCharacters::SaveCharacters(data.ctx.appFolder, characters, &error)) << error.toStdString();
    ASSERT_TRUE(modCharacters::SaveCapturedElites(data.ctx.appFolder, 1, elite, &error)) << error.toStdString();
    EXPECT_EQ(data.read("Personal/Notes.txt"), "; my notes\r\n"
                                               "Big\tcampaign\t1\t2\t300\t4\r\n"
                                               "Edge\tfirst{#ENTER#}second\t2147483647\t-2147483648\t255\t0\r\n");
    EXPECT_EQ(data.read("Personal/Characters.txt"), "150\tToo far\r\n01\tB\xF6rn\r\n");
    EXPECT_EQ(data.read("Personal/Char01CapElite.txt"), "0099\r\n0002\r\n");
}

TEST(PersonalBackup, CopiesThePersonalFolderAndKeepsTheNewestTen)
{
    ProgramFolder data;
    data.write(QStringLiteral("Personal/Notes.txt"), kOld);
    data.write(QStringLiteral("Personal/Characters.txt"), "01\tAsha\r\n");
    const QDateTime start(QDate(2026, 12, 7), QTime(3, 0, 0));
    for (int i = 0; i < 12; ++i) {
        QString error;
        ASSERT_TRUE(modCharacters::BackupPersonalFolder(data.path(), start.addSecs(i), &error)) << error.toStdString();
    }
    const QStringList copies =
        QDir(data.path(QStringLiteral("Personal/Backup"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(copies.size(), modCharacters::kKeptBackups);
    EXPECT_EQ(copies.front(), "2026-12-07_030002") << "the two oldest went";
    EXPECT_EQ(data.read(QStringLiteral("Personal/Backup/2026-12-07_030011/Notes.txt")), kOld);
    EXPECT_EQ(data.read(QStringLiteral("Personal/Backup/2026-12-07_030011/Characters.txt")), "01\tAsha\r\n");

    // The first personal save of a run makes one more, once; a copy that
    // cannot be made does not stop the save.
    ProgramFolder blocked;
    blocked.write(QStringLiteral("Personal/Notes.txt"), kOld);
    blocked.write(QStringLiteral("Personal/Backup"), "a file where the copies go");
    QString error;
    EXPECT_TRUE(modNotes::SaveNotes(blocked.path(), modNotes::Tables{}, &error)) << error.toStdString();
    EXPECT_EQ(blocked.read(QStringLiteral("Personal/Notes.txt")), "");
    EXPECT_TRUE(modCharacters::BackupProblem().contains(QStringLiteral("Backup")))
        << modCharacters::BackupProblem().toStdString();
}

} // namespace

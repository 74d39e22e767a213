// The updater's window-free logic: dates, the choice of new packages and
// the summary, the progress text, folders, server entries, publishing.
#include "TestSupport.h"

#include "update/modInternet.h"
#include "update/modPublish.h"
#include "update/modUpdate.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace modUpdate;
using namespace testing_support;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Dates are day, month and the last four characters; anything unreadable
// counts as the default date.
TEST(LastUpdate, FileIsReadBackAndFallsBackToTheDefault)
{
    struct Row {
        const char* name;
        const char* content; // nullptr = no file
        QDate expected;
    } rows[] = {
        {"missing file", nullptr, QDate(2007, 3, 28)},
        {"written date", "14-07-2009\r\n", QDate(2009, 7, 14)},
        {"spaces around", "  14-07-2009 \r\n", QDate(2009, 7, 14)},
        {"no line end", "01-02-2010", QDate(2010, 2, 1)},
        {"unreadable", "yesterday\r\n", QDate(2007, 3, 28)},
        {"impossible date", "31-02-2010\r\n", QDate(2007, 3, 28)},
        {"too short", "1-1-2008\r\n", QDate(2007, 3, 28)},
        {"year taken from the end", "05-11-xx2008\r\n", QDate(2008, 11, 5)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        QTemporaryDir dir;
        const QString app = dir.path() + u'/';
        if (r.content) {
            ASSERT_TRUE(WriteAll(app + kLastUpdateFile, r.content));
        }
        EXPECT_EQ(ReadLastUpdate(app), r.expected);
    }
}

TEST(LastUpdate, WrittenAsDayMonthYearWithCrLf)
{
    QTemporaryDir dir;
    const QString app = dir.path() + u'/';
    QDir().mkpath(app + QStringLiteral("Personal"));
    ASSERT_TRUE(WriteLastUpdate(app, QDate(2009, 7, 4)));
    EXPECT_EQ(ReadAll(app + kLastUpdateFile), QByteArray("04-07-2009\r\n"));
}

TEST(SelectNewFiles, ChoosesLinesDatedAfterTheLastUpdate)
{
    const QString digest = QStringLiteral("00112233445566778899aabbccddeeff00112233445566778899AABBCCDDEEFF");
    const QString list = QStringLiteral("same.krb;100;28-03-2007;Data\r\n"
                                        "next.krb;200;29-03-2007;Campaign.01.Thornmere\\;%1\r\n"
                                        "old.krb;300;01-01-2006;Data\r\n"
                                        "short.krb;400;01-01-2010\r\n"
                                        "baddate.krb;500;2010-01-01;Data\r\n"
                                        "\r\n"
                                        "root.krb;50.6 bytes;01-01-2010;; ;extra;fields\r\n")
                             .arg(digest);
    const FileListChoice c = SelectNewFiles(list, QDate(2007, 3, 28));
    ASSERT_EQ(c.NewFiles.size(), 2u);
    EXPECT_EQ(c.NewFiles[0].PackageName, QStringLiteral("next.krb"));
    EXPECT_EQ(c.NewFiles[0].DestinationFolder, QStringLiteral("Campaign.01.Thornmere/"));
    EXPECT_EQ(c.NewFiles[0].Size, 200);
    EXPECT_EQ(c.NewFiles[0].Sha256, QByteArray::fromHex(digest.toLatin1()));
    EXPECT_EQ(c.NewFiles[1].PackageName, QStringLiteral("root.krb"));
    EXPECT_EQ(c.NewFiles[1].DestinationFolder, QString());
    EXPECT_EQ(c.NewFiles[1].Size, 51);
    EXPECT_TRUE(c.NewFiles[1].Sha256.isEmpty()) << "a blank fifth field gives no digest";
    EXPECT_EQ(c.TotalDownloadSize, 251);
    EXPECT_FALSE(c.Unsafe);
    EXPECT_EQ(c.Diagnostics.size(), 2) << c.Diagnostics.join(u'\n').toStdString();
}

TEST(SelectNewFiles, FlagsPackagesThatWouldLeaveTheirFolder)
{
    struct Row {
        const char* name;
        const char* line;
        bool unsafe;
    } rows[] = {
        {"plain", "a.krb;1;01-01-2010;Campaign.01.X\\Sub", false},
        {"empty destination", "a.krb;1;01-01-2010;", false},
        {"name climbs", "..\\a.krb;1;01-01-2010;Data", true},
        {"name with a folder", "sub/a.krb;1;01-01-2010;Data", true},
        {"destination climbs", "a.krb;1;01-01-2010;..\\..", true},
        {"destination climbs later", "a.krb;1;01-01-2010;Data/../../x", true},
        {"absolute destination", "a.krb;1;01-01-2010;/etc", true},
        {"drive letter", "a.krb;1;01-01-2010;C:\\Windows", true},
        {"old unsafe line is not chosen", "..\\a.krb;1;01-01-2006;Data", false},
        {"fifth field is no digest", "a.krb;1;01-01-2010;Data;not-a-digest", true},
        {"digest one digit short",
         "a.krb;1;01-01-2010;Data;0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcde", true},
        {"blank fifth field", "a.krb;1;01-01-2010;Data; ", false},
        {"sizes add up past 64 bits", "a.krb;9e18;01-01-2010;Data\r\nb.krb;9e18;01-01-2010;Data", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(SelectNewFiles(QString::fromLatin1(r.line), QDate(2007, 3, 28)).Unsafe, r.unsafe);
    }
}

TEST(SummaryText, SizeSwitchesFromKilobytesToMegabytesAboveOneMegabyte)
{
    const QLocale c = QLocale::c();
    const QString head =
        kCrLf + QStringLiteral("New files found. Continue the download process to upgrade your Wayloom.") + kCrLf;
    struct Row {
        const char* name;
        qint64 total;
        int files;
        const char* last; // "" = no summary
    } rows[] = {
        {"nothing", 0, 2, ""},
        {"exactly one megabyte", 1048576, 1, "1024 KB in 1 files"},
        {"one byte more", 1048577, 1, "1 MB in 1 files"},
        {"half rounds to even", qint64{1024} * 5 / 4 * 1, 1, "1.2 KB in 1 files"}, // 1.25 -> 1.2
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const QString expected = *r.last ? head + QString::fromLatin1(r.last) : QString();
        EXPECT_EQ(SummaryText(r.total, r.files, c), expected);
    }
    EXPECT_TRUE(SummaryText(1572864, 3, QLocale(QLocale::German)).endsWith(QStringLiteral("1,5 MB in 3 files")))
        << "the summary uses the system's decimal separator";
}

TEST(ProgressText, ShowsCountTotalAndPercent)
{
    struct Row {
        const char* name;
        qint64 count;
        qint64 total;
        const char* text;
    } rows[] = {
        {"kilobytes", 12800, 307200, "12.5 / 300KB [4%]"},
        {"complete", 307200, 307200, "300 / 300KB [100%]"},
        {"count passes the total", 400000, 307200, "300 / 300KB [100%]"},
        {"exactly one megabyte counted", 1048576, 2097152, "1024 / 2048KB [50%]"},
        {"one byte more", 1048577, 2097152, "1 / 2MB [50%]"},
        {"percent half rounds to even", 5, 1000, "0 / 1KB [0%]"},
        {"percent half rounds up to even", 15, 1000, "0 / 1KB [2%]"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(ProgressText(r.count, r.total), QString::fromLatin1(r.text));
    }
}

TEST(ProgressBarWidth, ScalesToTheBoxAndMayPassIt)
{
    EXPECT_EQ(ProgressBarWidth(0, 100, 300), 0);
    EXPECT_EQ(ProgressBarWidth(50, 100, 300), 150);
    EXPECT_EQ(ProgressBarWidth(1, 2, 5), 2) << "2.5 rounds to even";
    EXPECT_EQ(ProgressBarWidth(200, 100, 300), 600);
    EXPECT_EQ(ProgressBarWidth(5, 0, 300), 0);
}

TEST(MakePath, CreatesEveryMissingFolder)
{
    QTemporaryDir dir;
    const QString base = dir.path();
    EXPECT_TRUE(MakePath(base + QStringLiteral("/a/b/c/")));
    EXPECT_TRUE(QFileInfo(base + QStringLiteral("/a/b/c")).isDir());
    EXPECT_TRUE(MakePath(base + QStringLiteral("/a/b"))) << "existing folder";
    ASSERT_TRUE(WriteAll(base + QStringLiteral("/file"), "x"));
    EXPECT_FALSE(MakePath(base + QStringLiteral("/file/sub"))) << "a file is in the way";
}

TEST(Servers, ServersFileReplacesTheBuiltInEntries)
{
    QTemporaryDir dir;
    const QString app = dir.path() + u'/';
    ASSERT_TRUE(WriteAll(app + QStringLiteral("Data/Servers.txt"), "Local test\t127.0.0.1:8080\tfiles\r\n"
                                                                   "; a comment\r\n"
                                                                   "broken line without tabs\r\n"
                                                                   "Mirror\tmirror.example/sub/\t\\Wayloom\\\r\n"
                                                                   "Root\thost\t\r\n"
                                                                   "No address\t\tWayloom\r\n"
                                                                   "Secure\tHTTPS://secure.example:8443/\tWayloom\r\n"
                                                                   "Other scheme\tftp://files.example\tWayloom\r\n"));
    QStringList diagnostics;
    const auto servers = modInternet::LoadServers(app, &diagnostics);
    ASSERT_EQ(servers.size(), 4u);
    EXPECT_EQ(diagnostics.size(), 3);
    EXPECT_EQ(servers[0].Text, QStringLiteral("Local test"));
    EXPECT_EQ(modInternet::ServerAddress(servers[0], QStringLiteral("files.krb")).toString(),
              QStringLiteral("http://127.0.0.1:8080/files/files.krb"));
    EXPECT_EQ(modInternet::ServerAddress(servers[1], QStringLiteral("my pack.krb")).toString(QUrl::FullyEncoded),
              QStringLiteral("http://mirror.example/sub/Wayloom/my%20pack.krb"));
    EXPECT_EQ(modInternet::ServerAddress(servers[2], QStringLiteral("a.krb")).toString(),
              QStringLiteral("http://host/a.krb"));
    EXPECT_EQ(modInternet::ServerAddress(servers[3], QStringLiteral("a.krb")).toString(),
              QStringLiteral("https://secure.example:8443/Wayloom/a.krb"));

    ASSERT_TRUE(WriteAll(app + QStringLiteral("Data/Servers.txt"), "nothing usable\r\n"));
    EXPECT_EQ(modInternet::LoadServers(app).size(), 3u) << "no usable entry keeps the built-in ones";
    EXPECT_EQ(modInternet::LoadServers(app)[0].Folder, QStringLiteral("files"));
}

class Publishing : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_base = m_dir.path() + u'/';
        ASSERT_TRUE(WriteAll(m_base + QStringLiteral("src/Zones.txt"), "zone data"));
        ASSERT_TRUE(WriteAll(m_base + QStringLiteral("src/Regions.txt"), "region data"));
        ASSERT_TRUE(WriteAll(m_base + QStringLiteral("src/sub/ignored.txt"), "not packed"));
        ASSERT_TRUE(WriteAll(m_base + QStringLiteral("empty.txt"), ""));
    }
    bool Publish(const QByteArray& manifest, QString* output)
    {
        WriteAll(m_base + QStringLiteral("manifest.txt"), manifest);
        return RunPublish(m_base + QStringLiteral("manifest.txt"), m_base + QStringLiteral("out"), output);
    }
    QTemporaryDir m_dir;
    QString m_base;
};

TEST_F(Publishing, RefusesABadManifestAndWritesNoFileList)
{
    struct Row {
        const char* name;
        const char* manifest;
    } rows[] = {
        {"too few fields", "a.krb\t01-01-2009\tData\r\n"},
        {"bad date", "a.krb\t2009-01-01\tData\tsrc\r\n"},
        {"name with a folder", "x/a.krb\t01-01-2009\tData\tsrc\r\n"},
        {"destination climbs", "a.krb\t01-01-2009\t..\\Data\tsrc\r\n"},
        {"missing source", "a.krb\t01-01-2009\tData\tnothere.txt\r\n"},
        {"listed twice", "a.krb\t01-01-2009\tData\tsrc\r\nA.krb\t01-01-2009\tData\tempty.txt\r\n"},
        {"nothing listed", "; only a comment\r\n"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        QDir(m_base + QStringLiteral("out")).removeRecursively();
        QString output;
        EXPECT_FALSE(Publish(r.manifest, &output));
        EXPECT_FALSE(output.isEmpty()) << "the reason is told";
        EXPECT_FALSE(QFile::exists(m_base + QStringLiteral("out/files.krb")));
    }
}

} // namespace

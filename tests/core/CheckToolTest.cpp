// wayloom-check end to end on the fixture world under tests/data/fixture.

#include "TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

struct CheckRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CheckRun Check(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(WAYLOOM_CHECK_EXE), args);
    CheckRun r;
    if (!p.waitForFinished(60000))
        return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

const QString kFixture = QStringLiteral(WAYLOOM_FIXTURE_DIR);

// The loaders' own tests own the readings; the tool's promise is one JSON
// document of every table on stdout and the diagnostics on stderr.
TEST(CheckJson, OneDocumentOnStdoutDiagnosticsOnStderr)
{
    const CheckRun r = Check({QStringLiteral("--json"), kFixture});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const struct {
        const char* key;
        qsizetype entries;
    } tables[] = {{"campaigns", 4}, {"eliteSkills", 8}, {"professions", 2}, {"collectors", 3},
                  {"pets", 3},      {"notes", 2},       {"characters", 3},  {"colourTable", 9}};
    for (const auto& t : tables)
        EXPECT_EQ(doc.value(QString::fromLatin1(t.key)).toArray().size(), t.entries) << t.key;
    EXPECT_EQ(doc.value(QStringLiteral("notes")).toArray().at(0).toObject().value(QStringLiteral("body")),
              QJsonValue(QStringLiteral("Line one\r\nLine two")));
    EXPECT_EQ(doc.value(QStringLiteral("options")).toObject().value(QStringLiteral("Region")), QJsonValue(3));
    EXPECT_TRUE(doc.value(QStringLiteral("lastUpdateText")).toString().startsWith(QStringLiteral("05 ")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("Campaign.01.Ashfall/Zones.txt:6: ")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("Data/Language.txt:8: ")));
}

TEST(CheckSummary, DiagnosticsThenOneSummaryLine)
{
    const CheckRun r = Check({kFixture});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines.contains(QStringLiteral("Campaign.01.Ashfall/Zones.txt:7: zone number is not a 16-bit integer")));
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("campaigns 4, regions ")));
    EXPECT_TRUE(lines.last().contains(QStringLiteral("characters 2")));
}

TEST(CheckSummary, ReadOnlyOnTheFolder)
{
    ProgramFolder dir;
    dir.write("Data/Language.txt", "9\tAll\r\n");
    dir.write("Data/Char01CapElite.txt", "0001\r\n");
    dir.write("update.dat", "new updater");
    const CheckRun r = Check({dir.path()});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_FALSE(dir.exists("Personal"));
    EXPECT_TRUE(dir.exists("update.dat"));
}

} // namespace

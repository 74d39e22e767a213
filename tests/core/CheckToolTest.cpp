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

class CheckJson : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_run = new CheckRun(Check({QStringLiteral("--json"), kFixture}));
        s_doc = new QJsonObject(QJsonDocument::fromJson(s_run->out.toUtf8()).object());
    }
    static void TearDownTestSuite()
    {
        delete s_run;
        delete s_doc;
    }
    static QJsonValue at(const QString& path)
    {
        // "a/0/b": object keys and array indexes.
        QJsonValue v = *s_doc;
        for (const QString& part : path.split(u'/')) {
            v = v.isArray() ? v.toArray().at(part.toInt()) : v.toObject().value(part);
        }
        return v;
    }
    static QJsonObject find(const QString& table, const QString& key, const QJsonValue& value)
    {
        for (const QJsonValue& v : s_doc->value(table).toArray())
            if (v.toObject().value(key) == value)
                return v.toObject();
        return {};
    }
    static inline CheckRun* s_run = nullptr;
    static inline QJsonObject* s_doc = nullptr;
};

TEST_F(CheckJson, OneDocumentOnStdoutDiagnosticsOnStderr)
{
    ASSERT_EQ(s_run->exitCode, 0) << s_run->err.toStdString();
    EXPECT_FALSE(s_doc->isEmpty());
    EXPECT_TRUE(s_run->err.contains(QStringLiteral("Campaign.01.Ashfall/Zones.txt:6: ")));
    EXPECT_TRUE(s_run->err.contains(QStringLiteral("Data/Language.txt:8: ")));
    for (const char* key : {"campaigns", "professions", "eliteSkills", "greens", "collectors", "requestTypes",
                            "treasures", "pets", "notes", "characters", "options", "lastUpdateText",
                            "colourTable", "language"})
        EXPECT_TRUE(s_doc->contains(QString::fromLatin1(key))) << key;
}

TEST_F(CheckJson, CampaignsRegionsAndZones)
{
    EXPECT_EQ(at("campaigns").toArray().size(), 4);
    EXPECT_EQ(at("campaigns/2/name").toString(), QStringLiteral("Name"));
    EXPECT_EQ(at("campaigns/1/regions").toArray().size(), 12);
    EXPECT_EQ(at("campaigns/1/regions/0/number").toInt(), 1);
    EXPECT_EQ(at("campaigns/1/regions/0/imagePath").toString(), QStringLiteral("Campaign.01.Ashfall/01.jpg"));
    EXPECT_EQ(at("campaigns/1/regions/1/name").toString(), QString());
    EXPECT_EQ(at("campaigns/1/regions/1/imagePath").toString(), QString());
    const QJsonArray zones = at("campaigns/1/regions/0/zones").toArray();
    ASSERT_EQ(zones.size(), 3);
    EXPECT_EQ(zones[1].toObject().value("name").toString(), QStringLiteral("Scorched Field"));
    EXPECT_EQ(zones[1].toObject().value("number").toInt(), 2);
    EXPECT_EQ(zones[1].toObject().value("iconFlag").toInt(), 1);
    EXPECT_EQ(at("campaigns/1/regions/3/zones/0/x").toInt(), 40); // 40.5 to even
}

TEST_F(CheckJson, SettingsTextsAndColours)
{
    EXPECT_EQ(at("options/Campaign").toInt(), 2);
    EXPECT_EQ(at("options/Region").toInt(), 3);
    EXPECT_EQ(at("options/Zone").toInt(), 0);
    EXPECT_EQ(at("options/ShowGreens").toInt(), 0);
    EXPECT_EQ(at("options/AllElite").toBool(), false);
    EXPECT_EQ(at("options/RightClickNeeded").toInt(), 2);
    EXPECT_EQ(at("options/AlwaysOnTop").toInt(), 0);
    EXPECT_EQ(at("lastUpdateText").toString().left(3), QStringLiteral("05 "));
    EXPECT_EQ(at("colourTable").toArray().size(), 9);
    EXPECT_EQ(at("colourTable/4").toString(), QStringLiteral("#cc7b3c"));
    EXPECT_EQ(at("language/9").toString(), QStringLiteral("All"));
    EXPECT_EQ(at("language/5").toString(), QStringLiteral("First line\r\nSecond line"));
    EXPECT_EQ(at("language/100").toString(), QStringLiteral("Price \u20AC caf\u00E9 \u201Cquoted\u201D"));
    EXPECT_FALSE(at("language").toObject().contains(QStringLiteral("50")));
}

TEST_F(CheckJson, EliteCatalogueLocationsAndCaptures)
{
    const QJsonArray skills = at("eliteSkills").toArray();
    ASSERT_EQ(skills.size(), 8); // 0..7, gaps included
    EXPECT_EQ(at("eliteSkills/3/defined").toBool(), false);
    EXPECT_EQ(at("eliteSkills/2/name").toString(), QStringLiteral("Lantern Mending"));
    EXPECT_EQ(at("eliteSkills/7/captured").toArray(), QJsonArray({1}));
    // Version 1.0 coordinates are fifteenths of a pixel, truncated.
    EXPECT_EQ(at("eliteSkills/1/locations/0/x").toInt(), 200);
    EXPECT_EQ(at("eliteSkills/1/locations/0/y").toInt(), 100);
    EXPECT_EQ(at("eliteSkills/1/locations/0/left").toInt(), 194);
    // After the version line, pixels as written.
    EXPECT_EQ(at("eliteSkills/7/locations/0/x").toInt(), 41);
    EXPECT_EQ(at("eliteSkills/0/locations/0/note").toString(), QStringLiteral("Note line one\r\nline two"));
}

TEST_F(CheckJson, GreensLinkedToTheirBosses)
{
    const QJsonObject axe = find("greens", "name", QStringLiteral("Grash's Axe"));
    // Marker type "D" keeps the second Grash location from linking.
    EXPECT_EQ(axe.value("eliteNumber").toInt(), 1);
    EXPECT_EQ(axe.value("locationIndex").toInt(), 1);
    const QJsonObject wand = find("greens", "name", QStringLiteral("Vaddeth's Wand"));
    EXPECT_EQ(wand.value("eliteNumber").toInt(), 7); // always linked, marker "D" or not
    const QJsonObject mask = find("greens", "name", QStringLiteral("Festival Mask"));
    EXPECT_EQ(mask.value("eliteNumber").toInt(), -1); // "only during" note
    EXPECT_EQ(find("greens", "name", QStringLiteral("Orphan Shield")).value("locationIndex").toInt(), -1);
}

TEST_F(CheckJson, CollectorsAndRequestTypes)
{
    const QJsonObject ossa = find("collectors", "id", 1);
    EXPECT_EQ(ossa.value("isLowLevel").toInt(), 1);
    EXPECT_EQ(ossa.value("rewards").toArray().size(), 2); // blank-only line inside the block
    EXPECT_EQ(ossa.value("x").toInt(), 150);
    const QJsonObject korr = find("collectors", "id", 3);
    EXPECT_EQ(korr.value("isLowLevel").toInt(), 0); // five header fields: high level
    EXPECT_EQ(at("collectors").toArray().size(), 3);
    const QJsonArray types = at("requestTypes").toArray();
    ASSERT_EQ(types.size(), 2);
    EXPECT_EQ(types[0].toObject().value("name").toString(), QStringLiteral("Wolf Pelts"));
}

TEST_F(CheckJson, TreasuresPetsNotesAndCharacters)
{
    EXPECT_EQ(at("treasures/0/openedOn/1").toString(), QStringLiteral("2010-02-01"));
    EXPECT_EQ(at("treasures/1/openedOn/1").toString(), QStringLiteral("2010-02-01")); // day 32 carries
    EXPECT_FALSE(at("treasures/2/openedOn").toObject().contains(QStringLiteral("1"))); // 7 characters
    EXPECT_EQ(at("treasures/2/openedOn/3").toString(), QStringLiteral("2011-08-15"));
    EXPECT_EQ(at("pets/0/picture").toString(), QStringLiteral("Campaign.00.Core/imgPets/01.jpg"));
    EXPECT_EQ(at("pets").toArray().size(), 3);
    EXPECT_EQ(at("pets/2/places/0/note").toString(), QStringLiteral("Under the\r\nbridge"));
    EXPECT_EQ(at("notes/0/body").toString(), QStringLiteral("Line one\r\nLine two"));
    EXPECT_EQ(at("notes").toArray().size(), 2);
    EXPECT_EQ(at("notes/1/shortDesc").toString(), QStringLiteral("Trimmed"));
    EXPECT_EQ(at("characters").toArray().size(), 3);
    EXPECT_EQ(at("characters/2/name").toString(), QStringLiteral("Tovin"));
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

TEST(CheckSummary, AFolderWithoutLanguageFileCannotBeUsed)
{
    ProgramFolder dir;
    dir.write("Data/Options.txt", "Region=1\r\n");
    const CheckRun r = Check({dir.path()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("Can't load language file.")));
    EXPECT_TRUE(r.out.isEmpty());
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

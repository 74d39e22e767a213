// wayloom-check end to end on the fixture world under tests/data/fixture.

#include "TestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

// Failed comparisons print the JSON value.
inline void PrintTo(const QJsonValue& v, std::ostream* os)
{
    *os << QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact).toStdString();
}

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
    // "a/0/b": object keys and array indexes; "a/key=value" the element of
    // array a whose key has that value; a final "#" the number of elements.
    static QJsonValue at(const QString& path)
    {
        QJsonValue v = *s_doc;
        for (const QString& part : path.split(u'/')) {
            const qsizetype eq = part.indexOf(u'=');
            if (part == u"#") {
                v = v.toArray().size();
            } else if (eq > 0) {
                QJsonValue found;
                for (const auto& e : v.toArray())
                    if (e.toObject().value(part.left(eq)).toVariant().toString() == part.mid(eq + 1))
                        found = e;
                v = found;
            } else {
                v = v.isArray() ? v.toArray().at(part.toInt()) : v.toObject().value(part);
            }
        }
        return v;
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
}

TEST_F(CheckJson, TheQuirksOfTheFixtureWorld)
{
    const struct {
        const char* path;
        QJsonValue expected;
    } cases[] = {
        // Every top-level key of the document has its rows; the quirks the
        // loaders' own tests own (campaign folder names, gaps, request types,
        // opened-date carries) are left to them.
        // Campaigns, regions (picture named as written), zones (file order,
        // off-map and bad lines skipped, halves to even).
        {"campaigns/#", 4},
        {"campaigns/1/regions/#", 12},
        {"campaigns/1/regions/0/number", 1},
        {"campaigns/1/regions/0/imagePath", "Campaign.01.Ashfall/01.jpg"},
        {"campaigns/1/regions/1/name", ""},
        {"campaigns/1/regions/0/zones/#", 3},
        {"campaigns/1/regions/0/zones/1/name", "Scorched Field"},
        {"campaigns/1/regions/0/zones/1/number", 2},
        {"campaigns/1/regions/0/zones/1/iconFlag", 1},
        {"campaigns/1/regions/3/zones/0/x", 40},
        // Options: later lines win, keys case-sensitive, Zone always 0,
        // halves to even, an out-of-range value keeps the default.
        {"options/Campaign", 2},
        {"options/Region", 3},
        {"options/Zone", 0},
        {"options/ShowGreens", 0},
        {"options/AllElite", false},
        {"options/RightClickNeeded", 2},
        {"options/AlwaysOnTop", 0},
        {"colourTable/#", 9},
        {"colourTable/4", "#cc7b3c"},
        // Language: "\n" and Windows-1252.
        {"language/5", "First line\r\nSecond line"},
        {"language/100", "Price \u20AC caf\u00E9 \u201Cquoted\u201D"},
        // Professions: a colour that is no number skips the line.
        {"professions/#", 2},
        {"professions/0/colour", 255},
        {"professions/0/attributes/1", "Shieldcraft"},
        // Elite catalogue, captures, locations: version 1.0 in
        // fifteenths of a pixel (truncated), pixels after the version line.
        {"eliteSkills/#", 8},
        {"eliteSkills/2/name", "Lantern Mending"},
        {"eliteSkills/7/captured", QJsonArray({1})},
        {"eliteSkills/1/locations/0/x", 200},
        {"eliteSkills/1/locations/0/y", 100},
        {"eliteSkills/1/locations/0/left", 194},
        {"eliteSkills/7/locations/0/x", 41},
        {"eliteSkills/0/locations/0/note", "Note line one\r\nline two"},
        // Greens: marker "D" keeps Grash's second place from linking, Vaddeth
        // is always linked, an "only during" note never.
        {"greens/name=Grash's Axe/eliteNumber", 1},
        {"greens/name=Grash's Axe/locationIndex", 1},
        {"greens/name=Vaddeth's Wand/eliteNumber", 7},
        {"greens/name=Festival Mask/eliteNumber", -1},
        {"greens/name=Orphan Shield/locationIndex", -1},
        // Collectors: four header fields low level, five high.
        {"collectors/#", 3},
        {"collectors/id=1/isLowLevel", 1},
        {"collectors/id=1/x", 150},
        {"collectors/id=3/isLowLevel", 0},
        // Opened treasures, per character.
        {"treasures/0/openedOn/1", "2010-02-01"},
        {"treasures/2/openedOn/3", "2011-08-15"},
        // Pets, notes and characters.
        {"pets/#", 3},
        {"pets/0/picture", "Campaign.00.Core/imgPets/01.jpg"},
        {"pets/2/places/0/note", "Under the\r\nbridge"},
        {"notes/#", 2},
        {"notes/0/body", "Line one\r\nLine two"},
        {"notes/1/shortDesc", "Trimmed"},
        {"characters/#", 3},
        {"characters/2/name", "Tovin"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(at(QString::fromUtf8(c.path)), c.expected) << c.path;
    EXPECT_TRUE(at("lastUpdateText").toString().startsWith(QStringLiteral("05 ")));
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

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
        // One or two rows per top-level key of the document: the quirks
        // belong to the loaders' own tests.
        {"campaigns/#", 4},
        {"options/Region", 3},
        {"language/100", "Price \u20AC caf\u00E9 \u201Cquoted\u201D"},
        {"eliteSkills/#", 8},
        {"eliteSkills/1/locations/0/x", 200},
        {"greens/name=Festival Mask/eliteNumber", -1},
        {"notes/0/body", "Line one\r\nLine two"},
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

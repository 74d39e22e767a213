// The options file and the last update date.

#include "TestFiles.h"

#include "core/modOptions.h"

using modOptions::Settings;

namespace {

struct Loaded {
    records::Diagnostics diagnostics;
    Settings settings;
    QString lastUpdate;
};

Loaded LoadFrom(const ProgramFolder& dir)
{
    modLanguage::LanguageStrings language;
    language.set(78, QStringLiteral("Never"));
    Loaded out;
    modOptions::LoadOptions(LoadContext{dir.path(), &out.diagnostics}, language, out.settings, out.lastUpdate,
                            QLocale::c());
    return out;
}

Loaded LoadOptionsText(const QByteArray& text)
{
    ProgramFolder dir;
    dir.write("Data/Options.txt", text);
    return LoadFrom(dir);
}

TEST(Options, LineRules)
{
    const struct {
        const char* name;
        const char* text;
        Settings expected;
    } cases[] = {
        {"blank around the key breaks it", "Region =3\r\nREGION=4\r\n", {}},
        {"halves to even", "RightClickNeeded=2.5\r\nPosX=3.5\r\n", {.PosX = 4, .RightClickNeeded = 2}},
        {"booleans from -1 and 0", "AllElite=0\r\nLegend=-1\r\n", {.AllElite = false, .Legend = true}},
        {"unknown keys and sections ignored", "[X]\r\nColour=4\r\nShowGreens=0\r\n", {.ShowGreens = 0}},
    };
    for (const auto& c : cases) {
        const Loaded w = LoadOptionsText(c.text);
        EXPECT_EQ(w.settings, c.expected) << c.name;
        EXPECT_TRUE(w.diagnostics.empty()) << c.name;
    }
}

TEST(Options, OutOfRangeValuesKeepTheDefaultWithADiagnostic)
{
    const Loaded w = LoadOptionsText("AlwaysOnTop=300\r\nShowElites=-1\r\nRightClickNeeded=70000\r\n"
                                     "PosX=99999999999\r\nno equals sign\r\nCollectorLevel=1\r\n"
                                     "ShowNotes=0abc\r\n"); // the strict settings take whole numbers only
    EXPECT_EQ(w.settings, Settings{.CollectorLevel = 1});
    ASSERT_EQ(w.diagnostics.size(), 6u);
    EXPECT_EQ(w.diagnostics.items()[4].line, 5);
    EXPECT_EQ(w.diagnostics.items()[0].file, QStringLiteral("Data/Options.txt"));
}

TEST(Options, SavedLinesInTheirOrderAndReadBack)
{
    Settings s;
    std::tie(s.Campaign, s.Region, s.Zone, s.Profession, s.SecondaryProfession, s.Character, s.PosX, s.PosY, s.DimX,
             s.DimY, s.LegendX, s.LegendY, s.RightClickNeeded) =
        std::tuple(2, 3, 1, 3, 5, 2, -15, 240, 9000, 6000, 500, 600, 0);
    std::tie(s.AllElite, s.Legend, s.ShowElites, s.ShowGreens, s.AlwaysOnTop, s.CollectorLevel) =
        std::tuple(false, true, 0, 0, 1, 1);
    const QStringList expected = {
        "[OLD SELECTION]",  "Campaign=2",         "Region=3",
        "Zone=1",           "Profession=3",       "SecondaryProfession=5",
        "AllElite=0",       "Character=2",        "Legend=-1",
        "PosX=-15",         "PosY=240",           "DimX=9000",
        "DimY=6000",        "ShowElites=0",       "ShowCollectors=1",
        "ShowGreens=0",     "ShowNotes=1",        "LegendX=500",
        "LegendY=600",      "RightClickNeeded=0", "AlwaysOnTop=1",
        "CollectorLevel=1",
    };
    EXPECT_EQ(modOptions::OptionsLines(s, false), expected);
    EXPECT_EQ(modOptions::OptionsLines(s, true).mid(9, 4), QStringList({"PosX=-1", "PosY=-1", "DimX=-1", "DimY=-1"}));
    const QStringList outOfRange =
        modOptions::OptionsLines(Settings{.RightClickNeeded = 7, .CollectorLevel = 9}, false);
    EXPECT_EQ(outOfRange[19], QStringLiteral("RightClickNeeded=2"));
    EXPECT_EQ(outOfRange[21], QStringLiteral("CollectorLevel=0"));

    ProgramFolder dir;
    dir.mkdir("Data");
    QString error;
    ASSERT_TRUE(modOptions::SaveOptions(dir.path(), s, false, &error)) << error.toStdString();
    EXPECT_EQ(dir.read("Data/Options.txt"),
              (expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1());
    Settings back = s;
    back.Zone = 0; // a saved zone always comes back as the first entry
    EXPECT_EQ(LoadFrom(dir).settings, back);
}

// The map's and the route's keys: optional, read per region, written only
// when set (the zoom when not 100 %).
TEST(Options, MapAndRouteKeys)
{
    const struct {
        const char* name;
        const char* text;
        Settings expected;
        std::size_t diagnostics;
    } cases[] = {
        {"an older file without them", "Campaign=2\r\nLargeMarkers=1\r\n", {.Campaign = 2, .LargeMarkers = 1}, 0},
        {"zoom to fit and the overview", "MapZoom=0\r\nOverviewInset=1\r\n", {.MapZoom = 0, .OverviewInset = 1}, 0},
        {"starts per region, switch and every layer",
         "RouteStart3_1=120,450\r\nRouteStart1_12= 7 , 9\r\nShowRoute=1\r\nRouteEveryLayer=1\r\n",
         {.ShowRoute = 1, .RouteEveryLayer = 1, .RouteStarts = {{{3, 1}, QPoint(120, 450)}, {{1, 12}, QPoint(7, 9)}}},
         0},
        {"the later line of a region wins",
         "RouteStart3_1=1,2\r\nRouteStart3_1=5,6\r\n",
         {.RouteStarts = {{{3, 1}, QPoint(5, 6)}}},
         0},
        {"malformed starts skipped, each with a diagnostic",
         "RouteStart3_1=120\r\nRouteStart3=1,2\r\nRouteStart256_1=1,2\r\nRouteStartx_1=1,2\r\n"
         "RouteStart1_1=1,2y\r\nRouteStart1_-1=1,2\r\nRouteStart1_256=1,2\r\n",
         {},
         7},
    };
    for (const auto& c : cases) {
        const Loaded w = LoadOptionsText(c.text);
        EXPECT_EQ(w.settings, c.expected) << c.name;
        EXPECT_EQ(w.diagnostics.size(), c.diagnostics) << c.name;
    }

    EXPECT_TRUE(modOptions::OptionsLines(Settings{}, false).filter(QStringLiteral("Route")).isEmpty());
    Settings s{.Campaign = 3, .MapZoom = 0, .OverviewInset = 1, .ShowRoute = 1, .RouteEveryLayer = 1};
    s.RouteStarts = {{{3, 1}, QPoint(120, 450)}, {{1, 12}, QPoint(-7, 9)}};
    EXPECT_EQ(modOptions::OptionsLines(s, false).mid(22),
              QStringList({"MapZoom=0", "OverviewInset=1", "ShowRoute=1", "RouteEveryLayer=1", "RouteStart1_12=-7,9",
                           "RouteStart3_1=120,450"}));
    ProgramFolder dir;
    dir.mkdir("Data");
    ASSERT_TRUE(modOptions::SaveOptions(dir.path(), s, false));
    Settings back = s;
    back.Zone = 0; // a saved zone always comes back as the first entry
    EXPECT_EQ(LoadFrom(dir).settings, back);
}

// Without an options file every setting keeps its default.
TEST(LastUpdate, DateTextFromTheFirstLine)
{
    const struct {
        const char* name;
        const char* file; // null: none
        const char* text;
        bool diagnostic;
    } cases[] = {
        {"no file", nullptr, "Never", false},
        {"day month year", "05/03/2007\r\n", "05 Mar 2007", false},
        {"separators not checked", "  28x12-1999  \r\nignored\r\n", "28 Dec 1999", false},
        {"single digit parts do not line up", "5/3/2007", "Never", true},
        {"a year below 1000 keeps four digits", "05/03/0999", "05 Mar 0999", false},
        {"no such date", "31/02/2007", "Never", true},
    };
    for (const auto& c : cases) {
        ProgramFolder dir;
        if (c.file)
            dir.write("Personal/LastUpdate.txt", c.file);
        const Loaded w = LoadFrom(dir);
        EXPECT_EQ(w.settings, Settings{}) << c.name;
        EXPECT_EQ(w.lastUpdate, QString::fromLatin1(c.text)) << c.name;
        EXPECT_EQ(w.diagnostics.size(), c.diagnostic ? 1u : 0u) << c.name;
    }
}

} // namespace

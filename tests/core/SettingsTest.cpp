// The options file, the last update date and the colour table.

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

TEST(Options, DefaultsWithoutAFile)
{
    ProgramFolder dir;
    const Loaded w = LoadFrom(dir);
    EXPECT_EQ(w.settings, Settings{});
    EXPECT_EQ(w.settings.Region, -1);
    EXPECT_TRUE(w.settings.AllElite);
    EXPECT_EQ(w.settings.CollectorLevel, 2);
    EXPECT_EQ(w.lastUpdate, QStringLiteral("Never"));
}

TEST(Options, LineRules)
{
    const struct {
        const char* name;
        const char* text;
        Settings expected;
    } cases[] = {
        {"only the region", "[OLD SELECTION]\r\nRegion=3\r\n", [] { Settings s; s.Region = 3; return s; }()},
        {"zone line always gives 0", "Zone=4\r\n", [] { Settings s; s.Zone = 0; return s; }()},
        {"zone line with junk gives 0", "Zone=abc\r\n", [] { Settings s; s.Zone = 0; return s; }()},
        {"keys are case-sensitive", "region=3\r\nREGION=4\r\n", Settings{}},
        {"blank around the key breaks it", "Region =3\r\n", Settings{}},
        {"blank around the line is trimmed", "   Region=3   \r\n", [] { Settings s; s.Region = 3; return s; }()},
        {"later line wins", "Campaign=1\r\nCampaign=2\r\n", [] { Settings s; s.Campaign = 2; return s; }()},
        {"value read by leading number", "Campaign= 7 apples\r\n", [] { Settings s; s.Campaign = 7; return s; }()},
        {"halves to even", "RightClickNeeded=2.5\r\nPosX=3.5\r\n",
         [] { Settings s; s.RightClickNeeded = 2; s.PosX = 4; return s; }()},
        {"booleans from -1 and 0", "AllElite=0\r\nLegend=-1\r\n",
         [] { Settings s; s.AllElite = false; s.Legend = true; return s; }()},
        {"any other number is true", "Legend=5\r\n", [] { Settings s; s.Legend = true; return s; }()},
        {"unknown keys and sections ignored", "[X]\r\nColour=4\r\nShowGreens=0\r\n",
         [] { Settings s; s.ShowGreens = 0; return s; }()},
        {"only the first = splits", "Region=3=4\r\n", [] { Settings s; s.Region = 3; return s; }()},
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
                                     "PosX=99999999999\r\nno equals sign\r\nCollectorLevel=1\r\n");
    Settings expected;
    expected.CollectorLevel = 1;
    EXPECT_EQ(w.settings, expected);
    ASSERT_EQ(w.diagnostics.size(), 5u);
    EXPECT_EQ(w.diagnostics.items()[4].line, 5);
    EXPECT_EQ(w.diagnostics.items()[0].file, QStringLiteral("Data/Options.txt"));
}

TEST(Options, SavedLinesInTheirOrder)
{
    Settings s;
    s.Campaign = 2;
    s.Region = 3;
    s.Zone = 1;
    s.AllElite = false;
    s.Legend = true;
    s.PosX = 120;
    s.PosY = 240;
    s.DimX = 9000;
    s.DimY = 6000;
    s.ShowGreens = 0;
    s.RightClickNeeded = 7;
    s.CollectorLevel = 9;
    const QStringList expected = {
        "[OLD SELECTION]", "Campaign=2", "Region=3", "Zone=1", "Profession=0", "SecondaryProfession=0",
        "AllElite=0", "Character=0", "Legend=-1", "PosX=120", "PosY=240", "DimX=9000", "DimY=6000",
        "ShowElites=1", "ShowCollectors=1", "ShowGreens=0", "ShowNotes=1", "LegendX=-1", "LegendY=-1",
        "RightClickNeeded=2", "AlwaysOnTop=0", "CollectorLevel=0",
    };
    EXPECT_EQ(modOptions::OptionsLines(s, false), expected);

    const QStringList maximised = modOptions::OptionsLines(s, true);
    EXPECT_EQ(maximised.mid(9, 4), QStringList({"PosX=-1", "PosY=-1", "DimX=-1", "DimY=-1"}));
}

TEST(Options, SaveThenLoadGivesTheSameSettings)
{
    ProgramFolder dir;
    dir.mkdir("Data");
    Settings s;
    s.Campaign = 1;
    s.Region = 4;
    s.Profession = 3;
    s.SecondaryProfession = 5;
    s.AllElite = false;
    s.Character = 2;
    s.Legend = true;
    s.PosX = -15;
    s.PosY = 30;
    s.DimX = 12000;
    s.DimY = 9000;
    s.ShowElites = 0;
    s.ShowNotes = 0;
    s.LegendX = 500;
    s.LegendY = 600;
    s.RightClickNeeded = 0;
    s.AlwaysOnTop = 1;
    s.CollectorLevel = 1;
    QString error;
    ASSERT_TRUE(modOptions::SaveOptions(dir.path(), s, false, &error)) << error.toStdString();
    EXPECT_TRUE(dir.read("Data/Options.txt").startsWith("[OLD SELECTION]\r\nCampaign=1\r\n"));

    Settings expected = s;
    expected.Zone = 0; // a saved zone always comes back as the first entry
    EXPECT_EQ(LoadFrom(dir).settings, expected);
}

TEST(Options, AFailedSaveIsReported)
{
    ProgramFolder dir;
    dir.write("Data", "a file where the folder should be");
    QString error;
    EXPECT_FALSE(modOptions::SaveOptions(dir.path(), Settings{}, false, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(LastUpdate, DateTextFromTheFirstLine)
{
    const struct {
        const char* name;
        const char* file;
        const char* text;
        bool diagnostic;
    } cases[] = {
        {"day month year", "05/03/2007\r\n", "05 Mar 2007", false},
        {"separators not checked", "  28x12-1999  \r\nignored\r\n", "28 Dec 1999", false},
        {"single digit parts do not line up", "5/3/2007", "Never", true},
        {"blank first line", "   \r\n05/03/2007\r\n", "Never", false},
        {"no such date", "31/02/2007", "Never", true},
        {"not a date", "yesterday", "Never", true},
    };
    for (const auto& c : cases) {
        ProgramFolder dir;
        dir.write("Personal/LastUpdate.txt", c.file);
        const Loaded w = LoadFrom(dir);
        EXPECT_EQ(w.lastUpdate, QString::fromLatin1(c.text)) << c.name;
        EXPECT_EQ(w.diagnostics.size(), c.diagnostic ? 1u : 0u) << c.name;
    }
}

TEST(ColourTable, FixedColours)
{
    modOptions::ColourTable colours;
    modOptions::InitColourTable(colours);
    EXPECT_EQ(colours[0], QColor(255, 219, 93));
    EXPECT_EQ(colours[4], QColor(204, 123, 60));
    EXPECT_EQ(colours[6], QColor(0, 0, 0));
    EXPECT_EQ(colours[8], QColor(176, 176, 176));
}

} // namespace

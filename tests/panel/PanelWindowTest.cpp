// The program started offscreen on a copy of the demo world: start-up, the
// elite tab's wiring to the map window, quitting and restarting.
#include "app/WayloomProgram.h"
#include "mapview/MapGeometry.h"
#include "mapview/frmMap.h"
#include "panel/PanelLayout.h"
#include "panel/frmMenu.h"
#include "panel/modEliteTab.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The demo world's program folder copied (data only) into a temporary folder,
// so that the tests may write options and personal files.
class ProgramCopy {
public:
    ProgramCopy()
    {
        const QDir source(QStringLiteral(WAYLOOM_TEST_PROGRAM_DIR));
        // The campaign folders are only read: linked, not copied. What a run
        // of the program left there (settings, personal files) stays behind.
        for (const QString& entry : source.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString target = QDir(m_dir.path()).filePath(entry);
            if (entry == QLatin1String("Personal"))
                continue;
            if (!entry.startsWith(QStringLiteral("Campaign.")) || !QFile::link(source.filePath(entry), target))
                CopyTree(source.filePath(entry), target);
        }
        QFile::remove(path() + QStringLiteral("Data/Options.txt"));
    }
    QString path() const { return m_dir.path() + QLatin1Char('/'); }

    void write(const QString& relative, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(path() + relative).path());
        QFile f(path() + relative);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& relative) const
    {
        QFile f(path() + relative);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    static void CopyTree(const QString& from, const QString& to)
    {
        QDir().mkpath(to);
        QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString target = to + file.mid(from.size());
            if (it.fileInfo().isDir())
                QDir().mkpath(target);
            else
                QFile::copy(file, target);
        }
    }
    QTemporaryDir m_dir;
};

// A started program whose messages and end are recorded instead of shown.
struct Started {
    explicit Started(const ProgramCopy& folder) : program(std::make_unique<WayloomProgram>(folder.path()))
    {
        program->showError = [this](const QString& text, bool offerCancel) {
            errors << text;
            cancelOffered << offerCancel;
        };
        program->endProgram = [this] { ended = true; };
        program->openWithShell = [this](const QString& target) {
            opened << target;
            return true;
        };
        program->startDetached = [this](const QString& target) {
            started << target;
            return false;
        };
        result = program->Main();
    }
    frmMenu& menu() { return *program->menu(); }
    frmMap& map() { return *program->map(); }
    World& world() { return program->world(); }

    std::unique_ptr<WayloomProgram> program;
    WayloomProgram::StartResult result{};
    QStringList errors, opened, started;
    QList<bool> cancelOffered;
    bool ended = false;
};

int IndexOfData(const QComboBox* combo, int data)
{
    return combo->findData(data);
}

// The first campaign (by number, above 0) that has a region with at least one
// elite boss, and that region.
std::pair<int, int> RegionWithBosses(const World& w)
{
    for (int e = 1; e <= w.elite.highest(); ++e)
        for (std::size_t i = 1; i < w.elite.EliteSkills[e].Locations.size(); ++i) {
            const auto& l = w.elite.EliteSkills[e].Locations[i];
            if (l.Campaign > 0 && modCampaigns::RegionExists(w.campaigns, l.Campaign, l.Region) &&
                w.campaigns[l.Campaign].Regions[l.Region].Zones.size() > 1)
                return {l.Campaign, l.Region};
        }
    return {-1, -1};
}

void ClickRow(QListWidget* list, int row)
{
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

TEST(PanelWindow, StartUpFillsTheListsAndComesUpWithTheSavedSelection)
{
    ProgramCopy folder;
    Started first(folder);
    ASSERT_EQ(first.result, WayloomProgram::StartResult::Started) << first.errors.join('\n').toStdString();
    const auto [c, r] = RegionWithBosses(first.world());
    ASSERT_GE(c, 1) << "the demo world has a region with elite bosses";
    const int campaignIndex = IndexOfData(first.menu().cmbCampaign, c);
    first.program.reset();

    folder.write(QStringLiteral("Data/Options.txt"),
                 QStringLiteral("[OLD SELECTION]\r\nCampaign=%1\r\nRegion=1\r\nProfession=1\r\nAllElite=0\r\n")
                     .arg(campaignIndex)
                     .toLatin1());
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    auto& m = s.menu();
    EXPECT_TRUE(m.isVisible());
    EXPECT_TRUE(s.map().isVisible());
    EXPECT_EQ(m.cmbCampaign->currentIndex(), campaignIndex);
    EXPECT_EQ(m.cmbRegion->currentIndex(), 1);
    EXPECT_TRUE(m.cmbRegion->isEnabled());
    EXPECT_EQ(m.cmbZone->currentIndex(), 0);
    EXPECT_EQ(m.cmbProfession->currentIndex(), 1);
    EXPECT_TRUE(m.cmbSecondaryProfession->isEnabled());
    EXPECT_TRUE(m.optCapture[1]->isChecked());
    EXPECT_TRUE(m.cmbCharacter->isEnabled());
    // The map shows the region that the saved selection names.
    EXPECT_EQ(s.map().CurrentCampaign(), c);
    EXPECT_EQ(s.map().CurrentRegion(), m.cmbRegion->currentData().toInt());
    // The list and its count agree with the state the map reads.
    EXPECT_EQ(m.lstElite->count(), s.program->panel().lstElite.size());
    EXPECT_TRUE(m.lblTot->text().endsWith(QStringLiteral(": ") + QString::number(m.lstElite->count())));
    EXPECT_TRUE(s.program->panel().Ready);
}

TEST(PanelWindow, ChoosingCampaignRegionAndZoneNarrowsTheLists)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    auto& m = s.menu();
    const World& w = s.world();
    const auto [c, r] = RegionWithBosses(w);
    ASSERT_GE(c, 1);

    const int all = m.lstElite->count();
    EXPECT_FALSE(m.cmbRegion->isEnabled());
    EXPECT_FALSE(m.cmbZone->isEnabled());

    m.cmbCampaign->setCurrentIndex(IndexOfData(m.cmbCampaign, c));
    const int inCampaign = m.lstElite->count();
    EXPECT_LE(inCampaign, all);
    EXPECT_TRUE(m.cmbRegion->isEnabled());

    m.cmbRegion->setCurrentIndex(IndexOfData(m.cmbRegion, r));
    const int inRegion = m.lstElite->count();
    EXPECT_LE(inRegion, inCampaign);
    EXPECT_GT(inRegion, 0);
    EXPECT_EQ(s.map().CurrentCampaign(), c);
    EXPECT_EQ(s.map().CurrentRegion(), r);
    const auto& zones = w.campaigns[c].Regions[r].Zones;
    EXPECT_EQ(m.cmbZone->count(), static_cast<int>(zones.size())); // first entry + every zone
    EXPECT_TRUE(m.cmbZone->isEnabled());
    // Every listed skill has a boss in the chosen region (or is a campaign-0 skill).
    for (int i = 0; i < m.lstElite->count(); ++i) {
        const auto& skill = w.elite.EliteSkills[m.lstElite->item(i)->data(Qt::UserRole).toInt()];
        bool here = false;
        for (std::size_t k = 1; k < skill.Locations.size(); ++k)
            here |= skill.Locations[k].Campaign == c && skill.Locations[k].Region == r;
        EXPECT_TRUE(here) << skill.Name.toStdString();
    }

    // A zone with bosses: the list narrows and its first skill is chosen.
    int zoneEntry = -1;
    for (int i = 1; i < m.cmbZone->count() && zoneEntry < 0; ++i) {
        const int zoneId = zones[m.cmbZone->itemData(i).toInt()].Id;
        for (int e = 1; e <= w.elite.highest() && zoneEntry < 0; ++e)
            for (std::size_t k = 1; k < w.elite.EliteSkills[e].Locations.size(); ++k) {
                const auto& l = w.elite.EliteSkills[e].Locations[k];
                if (l.Campaign == c && l.Region == r && l.Zone == zoneId)
                    zoneEntry = i;
            }
    }
    ASSERT_GT(zoneEntry, 0) << "the region has a zone with a boss";
    m.cmbZone->setCurrentIndex(zoneEntry);
    EXPECT_LE(m.lstElite->count(), inRegion);
    EXPECT_GT(m.lstElite->count(), 0);
    EXPECT_EQ(m.lstElite->currentRow(), 0);
    EXPECT_GT(m.lstLocations->count(), 0);

    // The name box narrows further; a text matching nothing empties the list.
    QTest::keyClicks(m.txtEliteName, QStringLiteral("qqzx no such skill"));
    EXPECT_EQ(m.lstElite->count(), 0);
    EXPECT_FALSE(m.lstLocations->isEnabled());

    // Back to all campaigns: region and zone lists empty and disabled.
    m.txtEliteName->clear();
    m.cmbCampaign->setCurrentIndex(0);
    EXPECT_EQ(m.cmbRegion->count(), 0);
    EXPECT_FALSE(m.cmbZone->isEnabled());
    EXPECT_EQ(m.lstElite->count(), all);
}

TEST(PanelWindow, ClickingASkillListsItsPlacesSwitchesTheMapAndCentresIt)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    auto& m = s.menu();
    const World& w = s.world();
    m.cmbCampaign->setCurrentIndex(0); // nothing narrows the places
    ASSERT_GT(m.lstElite->count(), 0);

    // Every skill of the list, one after the other: its places, the map, the centring.
    const int rows = std::min(m.lstElite->count(), 12);
    for (int row = 0; row < rows; ++row) {
        ClickRow(m.lstElite, row);
        const int elite = m.lstElite->item(row)->data(Qt::UserRole).toInt();
        const auto& skill = w.elite.EliteSkills[elite];
        ASSERT_EQ(m.lstLocations->count(), static_cast<int>(skill.Locations.size()) - 1) << "nothing is filtered";
        EXPECT_TRUE(m.lstLocations->isEnabled());
        ASSERT_EQ(m.lstLocations->currentRow(), 0);

        for (int place = 0; place < m.lstLocations->count(); ++place) {
            if (place > 0)
                ClickRow(m.lstLocations, place);
            const auto& l = skill.Locations[m.lstLocations->item(place)->data(Qt::UserRole).toInt()];
            EXPECT_EQ(s.map().CurrentCampaign(), l.Campaign);
            EXPECT_EQ(s.map().CurrentRegion(), l.Region);
            if (!s.map().MapLoaded())
                continue;
            const QPoint expected = mapview::CenterMapOnOffsets(l.X, l.Y, s.map().Canvas().ViewSize(),
                                                                s.map().Canvas().MapSize());
            EXPECT_EQ(QPoint(s.map().MapOffsetX(), s.map().MapOffsetY()), expected)
                << skill.Name.toStdString() << " place " << place;
        }
    }
}

TEST(PanelWindow, BossTextLimitsThePlacesListed)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    auto& m = s.menu();
    const World& w = s.world();
    m.cmbCampaign->setCurrentIndex(0);
    // A skill with two or more places: its first boss's name limits the places.
    for (int row = 0; row < m.lstElite->count(); ++row) {
        const auto& skill = w.elite.EliteSkills[m.lstElite->item(row)->data(Qt::UserRole).toInt()];
        if (skill.Locations.size() < 3 || skill.Locations[1].Boss == skill.Locations[2].Boss)
            continue;
        const QString boss = skill.Locations[1].Boss.toUpper();
        QTest::keyClicks(m.txtEliteBossName, boss);
        for (int i = 0; i < m.lstElite->count(); ++i)
            if (&w.elite.EliteSkills[m.lstElite->item(i)->data(Qt::UserRole).toInt()] == &skill)
                ClickRow(m.lstElite, i);
        ASSERT_GT(m.lstLocations->count(), 0);
        for (int i = 0; i < m.lstLocations->count(); ++i) {
            const auto& l = skill.Locations[m.lstLocations->item(i)->data(Qt::UserRole).toInt()];
            EXPECT_TRUE(l.Boss.contains(boss, Qt::CaseInsensitive));
        }
        EXPECT_LT(m.lstLocations->count(), static_cast<int>(skill.Locations.size()) - 1);
        return;
    }
    GTEST_SKIP() << "no skill with two different bosses";
}

TEST(PanelWindow, TabsOfTheOtherRowSwapTheRows)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    auto& m = s.menu();
    const int front = m.lblTab[0]->y();
    const int back = m.lblTab[3]->y();
    ASSERT_GT(front, back);
    EXPECT_TRUE(m.picTab[0]->isVisible());

    QTest::mouseClick(m.lblTab[4], Qt::LeftButton);
    EXPECT_EQ(m.lblTab[4]->y(), front);
    EXPECT_EQ(m.lblTab[3]->y(), front);
    EXPECT_EQ(m.lblTab[1]->y(), back);
    EXPECT_EQ(m.chkShowObject[4]->y(), front + PanelLayout::kShowBoxOffset);
    EXPECT_TRUE(m.picTab[4]->isVisible());
    EXPECT_FALSE(m.picTab[0]->isVisible());
    EXPECT_EQ(s.program->panel().ActiveTab, 4);

    QTest::mouseClick(m.lblTab[3], Qt::LeftButton); // same row: no swap
    EXPECT_EQ(m.lblTab[3]->y(), front);
    EXPECT_EQ(m.picFalseBorder->x(), m.lblTab[3]->x() + 1);

    // A show box writes the state the map reads.
    m.chkShowObject[0]->setChecked(false);
    EXPECT_FALSE(s.program->panel().chkShowObject[0]);
}

TEST(PanelWindow, QuittingWritesTheOptionsAndASecondStartRestoresThem)
{
    ProgramCopy folder;
    int campaignIndex = 0, regionIndex = 0;
    {
        Started s(folder);
        ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
        auto& m = s.menu();
        const auto [c, r] = RegionWithBosses(s.world());
        campaignIndex = IndexOfData(m.cmbCampaign, c);
        m.cmbCampaign->setCurrentIndex(campaignIndex);
        regionIndex = IndexOfData(m.cmbRegion, r);
        m.cmbRegion->setCurrentIndex(regionIndex);
        m.cmbZone->setCurrentIndex(m.cmbZone->count() - 1);
        m.chkShowObject[2]->setChecked(false);
        m.optCapture[1]->setChecked(true);
        QTest::mouseClick(m.cmdQuit, Qt::LeftButton);
        EXPECT_TRUE(s.ended);
        EXPECT_FALSE(m.isVisible());
    }
    const QList<QByteArray> lines = folder.read(QStringLiteral("Data/Options.txt")).split('\n');
    ASSERT_GE(lines.size(), 20);
    EXPECT_EQ(lines[0], "[OLD SELECTION]\r");
    EXPECT_EQ(lines[1], QStringLiteral("Campaign=%1\r").arg(campaignIndex).toLatin1());
    EXPECT_EQ(lines[2], QStringLiteral("Region=%1\r").arg(regionIndex).toLatin1());
    EXPECT_TRUE(lines.contains("AllElite=0\r"));
    EXPECT_TRUE(lines.contains("ShowGreens=0\r"));

    Started again(folder);
    ASSERT_EQ(again.result, WayloomProgram::StartResult::Started);
    EXPECT_EQ(again.menu().cmbCampaign->currentIndex(), campaignIndex);
    EXPECT_EQ(again.menu().cmbRegion->currentIndex(), regionIndex);
    EXPECT_EQ(again.menu().cmbZone->currentIndex(), 0); // a start always comes up with all zones
    EXPECT_TRUE(again.menu().optCapture[1]->isChecked());
    EXPECT_FALSE(again.menu().chkShowObject[2]->isChecked());
}

TEST(PanelWindow, SettingsThatCannotBeWrittenAreReportedAndTheProgramStillEnds)
{
    ProgramCopy folder;
    QFile::remove(folder.path() + QStringLiteral("Data/Options.txt"));
    QDir().mkpath(folder.path() + QStringLiteral("Data/Options.txt")); // a folder where the file goes
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    s.program->QuitProgram();
    EXPECT_TRUE(s.ended);
    ASSERT_EQ(s.errors.size(), 1);
    EXPECT_TRUE(s.errors[0].startsWith(QStringLiteral("The settings could not be saved")));
}

TEST(PanelWindow, ASecondCopyEndsSilently)
{
    ProgramCopy folder;
    Started first(folder);
    ASSERT_EQ(first.result, WayloomProgram::StartResult::Started);
    Started second(folder);
    EXPECT_EQ(second.result, WayloomProgram::StartResult::AlreadyRunning);
    EXPECT_TRUE(second.errors.isEmpty());
    EXPECT_EQ(second.program->menu(), nullptr);
}

TEST(PanelWindow, StartUpMessagesEndTheProgram)
{
    {
        ProgramCopy folder;
        QFile::remove(folder.path() + QStringLiteral("Data/Language.txt"));
        Started s(folder);
        EXPECT_EQ(s.result, WayloomProgram::StartResult::NoLanguageFile);
        ASSERT_EQ(s.errors.size(), 1);
        EXPECT_TRUE(s.errors[0].startsWith(QStringLiteral("Can't load language file.")));
        EXPECT_EQ(s.program->menu(), nullptr);
    }
    {
        ProgramCopy folder;
        QDir().mkpath(folder.path() + QStringLiteral("Campaign.05.Fifth"));
        Started s(folder);
        EXPECT_EQ(s.result, WayloomProgram::StartResult::FifthCampaign);
        EXPECT_EQ(s.errors, QStringList{QStringLiteral("I haven't released chapert 5 yet... how can you have it?")});
        EXPECT_EQ(s.cancelOffered, QList<bool>{true});
    }
}

TEST(PanelWindow, UpdaterAndDocumentsGoThroughTheShell)
{
    ProgramCopy folder;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    s.menu().OnMenuEntryClick(2, 5);
    EXPECT_EQ(s.opened, QStringList{folder.path() + QStringLiteral("Data/History.txt")});
    s.menu().OnMenuEntryClick(2, 4); // nothing
    EXPECT_FALSE(s.ended);
    // The updater is missing from the copy: the program quits all the same.
    s.menu().OnMenuEntryClick(2, 0);
    ASSERT_EQ(s.started.size(), 1);
    EXPECT_TRUE(s.started[0].startsWith(folder.path()));
    EXPECT_TRUE(s.ended);
    EXPECT_FALSE(folder.read(QStringLiteral("Data/Options.txt")).isEmpty());
}

} // namespace

int main(int argc, char** argv)
{
    // Windows are created off screen, also when the tests are only listed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

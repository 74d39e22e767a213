// The character, capture and chest dialogs on the running program, offscreen,
// over a copy of the demo world: each main path, its refusals, failed saves,
// and a restart that finds what was saved.
#include "app/WayloomProgram.h"
#include "core/TextNumbers.h"
#include "elite/frmCharacterList.h"
#include "elite/frmManageCharacter.h"
#include "elite/frmMarkEliteAsCaptured.h"
#include "layers/frmMarkTreasureAsOpened.h"
#include "mapview/frmMap.h"
#include "panel/frmMenu.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <set>

namespace {

// The demo world's program folder in a temporary folder: campaign folders
// linked, Data copied without a left-over Options.txt, Personal as given.
class ProgramCopy {
public:
    explicit ProgramCopy(const QByteArray& characters = {})
    {
        const QDir source(QStringLiteral(WAYLOOM_TEST_PROGRAM_DIR));
        for (const QString& entry : source.entryList({QStringLiteral("Campaign.*")}, QDir::Dirs))
            QFile::link(source.filePath(entry), path() + entry);
        QDir().mkpath(path() + QStringLiteral("Data"));
        for (const QString& file : QDir(source.filePath(QStringLiteral("Data"))).entryList(QDir::Files))
            if (file != QLatin1String("Options.txt"))
                QFile::copy(source.filePath(QStringLiteral("Data/") + file), path() + QStringLiteral("Data/") + file);
        if (!characters.isEmpty())
            write(QStringLiteral("Personal/Characters.txt"), characters);
    }
    QString path() const { return m_dir.path() + QLatin1Char('/'); }
    QByteArray read(const QString& relative) const
    {
        QFile f(path() + relative);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool exists(const QString& relative) const { return QFile::exists(path() + relative); }
    void write(const QString& relative, const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(path() + relative).path());
        QFile f(path() + relative);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

private:
    QTemporaryDir m_dir;
};

struct Started {
    explicit Started(const ProgramCopy& folder) : program(std::make_unique<WayloomProgram>(folder.path()))
    {
        program->showError = [](const QString&, bool) {};
        program->endProgram = [] {};
        program->openWithShell = [](const QString&) { return true; };
        program->startDetached = [](const QString&) { return false; };
        result = program->Main();
    }
    ~Started() { program->QuitProgram(); }
    frmMenu& menu() { return *program->menu(); }
    World& world() { return program->world(); }

    std::unique_ptr<WayloomProgram> program;
    WayloomProgram::StartResult result{};
};

// Answers every message box that shows while it lives (with `answer`, else
// the box's only button) and keeps its text.
struct MessageBoxes {
    QStringList texts;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    QTimer timer;

    MessageBoxes()
    {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible())
                    continue;
                texts << box->text();
                QAbstractButton* button = box->button(answer);
                (button ? button : box->buttons().constFirst())->click();
            }
        });
        timer.start();
    }
};

// Runs `act` on the dialog of type D once it shows (dialogs run modally).
template <class D>
void WhenShown(std::function<void(D&)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<D*>(w);
            if (!dialog || !dialog->isVisible())
                continue;
            timer->stop();
            timer->deleteLater();
            act(*dialog);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog was left open";
                dialog->reject();
            }
            return;
        }
    });
    timer->start();
}

// Keeps a file from being replaced while it lives (the immutable attribute
// holds for root too); false when the file system has no such attribute.
class ImmutableFile {
public:
    explicit ImmutableFile(const QString& path) : m_path(QFile::encodeName(path)) { m_set = change(true); }
    ~ImmutableFile()
    {
        if (m_set)
            change(false);
    }
    bool set() const { return m_set; }

private:
    bool change(bool on)
    {
        const int fd = ::open(m_path.constData(), O_RDONLY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return ok;
    }
    QByteArray m_path;
    bool m_set = false;
};

void ClickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

int RowOfData(const QListWidget* list, int data)
{
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(Qt::UserRole).toInt() == data)
            return i;
    return -1;
}

const QByteArray kTwoCharacters = "01\tAyla\r\n02\tBren\r\n";

TEST(DialogWindows, CharactersAreCreatedRefusedDeletedAndFoundAfterARestart)
{
    ProgramCopy folder;
    MessageBoxes boxes;
    int campaignSkills = -1;
    {
        Started s(folder);
        ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
        const auto& t = s.world().language;
        WhenShown<frmCharacterList>([&](frmCharacterList& list) {
            EXPECT_EQ(list.lstCharacters->count(), 0);
            EXPECT_FALSE(list.cmdDelete->isEnabled());
            // Ayla with the first two skills captured.
            WhenShown<frmManageCharacter>([](frmManageCharacter& e) {
                QTest::keyClicks(e.txtName, QStringLiteral("Ayla"));
                e.lstElite->item(0)->setCheckState(Qt::Checked);
                e.lstElite->item(1)->setCheckState(Qt::Checked);
                QTest::mouseClick(e.cmdSave, Qt::LeftButton);
            });
            QTest::mouseClick(list.cmdCreate, Qt::LeftButton);
            // Bren with every skill of the first campaign.
            WhenShown<frmManageCharacter>([&](frmManageCharacter& e) {
                QTest::keyClicks(e.txtName, QStringLiteral("Bren"));
                ClickRow(e.lstCampaign, 1);
                campaignSkills = e.lstElite->count();
                QTest::mouseClick(e.cmdSelectAll, Qt::LeftButton);
                QTest::mouseClick(e.cmdSave, Qt::LeftButton);
            });
            QTest::mouseClick(list.cmdCreate, Qt::LeftButton);
            // A third one named like the first, in other letter case: refused.
            WhenShown<frmManageCharacter>([&](frmManageCharacter& e) {
                QTest::keyClicks(e.txtName, QStringLiteral("AYLA"));
                QTest::mouseClick(e.cmdSave, Qt::LeftButton);
                EXPECT_EQ(boxes.texts.value(0), t(Text::NameTaken));
                EXPECT_TRUE(e.isVisible());
                EXPECT_EQ(e.txtName->text(), QStringLiteral("AYLA"));
                QTest::mouseClick(e.cmdCancel, Qt::LeftButton);
            });
            QTest::mouseClick(list.cmdCreate, Qt::LeftButton);
            ASSERT_EQ(list.lstCharacters->count(), 2);
            EXPECT_TRUE(folder.exists(QStringLiteral("Personal/Char01CapElite.txt")));

            // Ayla deleted after the question; her number is the next one's.
            ClickRow(list.lstCharacters, 0);
            QTest::mouseClick(list.cmdDelete, Qt::LeftButton);
            EXPECT_EQ(boxes.texts.value(1), t(Text::DeleteCharacterQuestion) + QStringLiteral(" Ayla ?"));
            EXPECT_EQ(list.lstCharacters->count(), 1);
            EXPECT_FALSE(folder.exists(QStringLiteral("Personal/Char01CapElite.txt")));
            QTest::mouseClick(list.cmdCancel, Qt::LeftButton);
        });
        s.menu().OnMenuEntryClick(1, 8);
        EXPECT_EQ(folder.read(QStringLiteral("Personal/Characters.txt")), "02\tBren\r\n");
        EXPECT_EQ(s.menu().cmbCharacter->count(), 2);
        EXPECT_EQ(s.menu().cmbCharacter->itemData(1).toInt(), 2);
        EXPECT_GT(campaignSkills, 0);
    }
    const QList<QByteArray> lines = folder.read(QStringLiteral("Personal/Char02CapElite.txt")).split('\n');
    EXPECT_EQ(lines.size() - 1, campaignSkills);

    Started again(folder);
    ASSERT_EQ(again.result, WayloomProgram::StartResult::Started);
    const auto& w = again.world();
    EXPECT_EQ(w.characters.Characters, (std::vector<QString>{QString(), QString(), QStringLiteral("Bren")}));
    int captured = 0;
    for (const auto& skill : w.elite.EliteSkills) {
        captured += skill.Captured.size() > 2 && skill.Captured[2];
        EXPECT_FALSE(skill.Captured.size() > 1 && skill.Captured[1]);
    }
    EXPECT_EQ(captured, campaignSkills);
}

TEST(DialogWindows, ASkillCapturedFromTheListOrTheMapLeavesTheNotYetCapturedList)
{
    ProgramCopy folder(kTwoCharacters);
    MessageBoxes boxes;
    std::vector<int> marked;
    {
        Started s(folder);
        ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
        auto& m = s.menu();
        m.optCapture[1]->setChecked(true);
        m.cmbCharacter->setCurrentIndex(m.cmbCharacter->findData(2));
        const int before = m.lstElite->count();
        ASSERT_GT(before, 2);

        // From the list: Bren, the character the panel filters on, is chosen.
        WhenShown<frmMarkEliteAsCaptured>([&](frmMarkEliteAsCaptured& d) {
            EXPECT_EQ(d.lstCharacters->count(), 2);
            ASSERT_NE(d.lstCharacters->currentItem(), nullptr);
            EXPECT_EQ(d.lstCharacters->currentItem()->data(Qt::UserRole).toInt(), 2);
            EXPECT_TRUE(d.cmdSave->isEnabled());
            marked.push_back(d.EliteNumber());
            QTest::mouseClick(d.cmdSave, Qt::LeftButton);
        });
        ClickRow(m.lstElite, 0);
        QTest::mouseDClick(m.lstElite->viewport(), Qt::LeftButton, {},
                           m.lstElite->visualItemRect(m.lstElite->item(0)).center());
        ASSERT_EQ(marked.size(), 1u);
        EXPECT_EQ(m.lstElite->count(), before - 1);
        EXPECT_EQ(RowOfData(m.lstElite, marked[0]), -1);

        // From the map: the first listed skill's boss, on the map centred on it.
        ClickRow(m.lstElite, 0);
        ASSERT_GT(m.lstLocations->count(), 0);
        const int elite = m.lstElite->item(0)->data(Qt::UserRole).toInt();
        const auto& place =
            s.world().elite.EliteSkills[elite].Locations[m.lstLocations->currentItem()->data(Qt::UserRole).toInt()];
        frmMap& map = *s.program->map();
        ASSERT_TRUE(map.MapLoaded());
        WhenShown<frmMarkEliteAsCaptured>([&](frmMarkEliteAsCaptured& d) {
            EXPECT_EQ(d.windowTitle(),
                      QStringLiteral("Elite: ") + s.world().elite.EliteSkills[d.EliteNumber()].Name);
            marked.push_back(d.EliteNumber());
            d.lstCharacters->setCurrentRow(RowOfData(d.lstCharacters, 2));
            QTest::mouseClick(d.cmdSave, Qt::LeftButton);
        });
        map.PointerDoubleClick(mapview::PointerButton::Left,
                               QPointF(place.X + map.MapOffsetX(), place.Y + map.MapOffsetY()), QPoint());
        ASSERT_EQ(marked.size(), 2u) << "a double click on the boss opens the dialog";
        EXPECT_EQ(RowOfData(m.lstElite, marked[1]), -1);
        EXPECT_EQ(m.lstElite->count(), before - 2);
    }
    EXPECT_TRUE(boxes.texts.isEmpty());
    QByteArray expected;
    for (int n : std::set<int>(marked.begin(), marked.end()))
        expected += QByteArray::number(n).rightJustified(4, '0') + "\r\n";
    EXPECT_EQ(folder.read(QStringLiteral("Personal/Char02CapElite.txt")), expected);

    Started again(folder);
    for (int n : marked) {
        EXPECT_TRUE(again.world().elite.EliteSkills[n].Captured[2]);
        EXPECT_FALSE(again.world().elite.EliteSkills[n].Captured[1]);
    }
}

TEST(DialogWindows, AChestIsMarkedOpenedWithADateTypedInEachOrder)
{
    using modTreasureDate::DatePart;
    ProgramCopy folder(kTwoCharacters);
    MessageBoxes boxes;
    const QString file = QStringLiteral("Personal/Char01OpenedTreasures.txt");
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    ASSERT_GE(s.world().treasures.count(), 2);

    const struct {
        const char* format;
        DatePart first;
        const char* day;
        const char* month;
        const char* year;
        QByteArray written; // empty: refused
    } rows[] = {
        {"d/M/yyyy", DatePart::Day, "16", "10", "2011", "0001\t16102011\r\n"},
        {"M/d/yy", DatePart::Month, "5", "1", "2012", "0001\t05012012\r\n"},
        {"yyyy-MM-dd", DatePart::Year, "29", "02", "2008", "0001\t29022008\r\n"},
        {"dd.MM.yyyy", DatePart::Day, "31", "02", "2009", {}},
    };
    for (const auto& row : rows) {
        int saved = 0;
        frmMarkTreasureAsOpened d(s.world(), 1, false, [&] { ++saved; }, QString::fromLatin1(row.format));
        d.show();
        EXPECT_EQ(d.Order()[0], row.first) << row.format;
        EXPECT_FALSE(d.cmdSave->isEnabled());
        ClickRow(d.lstCharacters, RowOfData(d.lstCharacters, 1));
        EXPECT_TRUE(d.cmdSave->isEnabled());
        for (std::size_t k = 0; k < 3; ++k) {
            QLineEdit* box = d.txtDate[k];
            const DatePart part = d.Order()[k];
            box->selectAll();
            QTest::keyClicks(box, QString::fromLatin1(part == DatePart::Day     ? row.day
                                                      : part == DatePart::Month ? row.month
                                                                                : row.year));
            QTest::keyClicks(box, QStringLiteral("x/-")); // discarded
        }
        EXPECT_TRUE(d.cmdSave->text().endsWith(d.txtDate[0]->text() + u'-' + d.txtDate[1]->text() + u'-' +
                                               d.txtDate[2]->text()));
        const QByteArray old = folder.read(file);
        QTest::mouseClick(d.cmdSave, Qt::LeftButton);
        if (row.written.isEmpty()) {
            EXPECT_EQ(boxes.texts.value(0), s.world().language(Text::InvalidDate));
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(saved, 0);
            EXPECT_EQ(folder.read(file), old);
        } else {
            EXPECT_FALSE(d.isVisible()) << row.format;
            EXPECT_EQ(saved, 1);
            EXPECT_EQ(folder.read(file), row.written) << row.format;
        }
    }

    // Through the map's request: Bren opens chest 2 on the day the arrows give
    // (the day box wraps from 31 to 1); Ayla is listed with her date.
    WhenShown<frmMarkTreasureAsOpened>([&](frmMarkTreasureAsOpened& d) {
        for (std::size_t k = 0; k < 3; ++k) {
            const DatePart part = d.Order()[k];
            d.txtDate[k]->setText(part == DatePart::Day ? QStringLiteral("31")
                                  : part == DatePart::Month ? QStringLiteral("03")
                                                            : QStringLiteral("2010"));
            if (part == DatePart::Day)
                QTest::keyClick(d.txtDate[k], Qt::Key_Up);
        }
        ClickRow(d.lstCharacters, RowOfData(d.lstCharacters, 2));
        QTest::mouseClick(d.cmdSave, Qt::LeftButton);
    });
    s.program->MarkTreasureAsOpened(2);
    EXPECT_EQ(folder.read(QStringLiteral("Personal/Char02OpenedTreasures.txt")), "0002\t01032010\r\n");
    frmMarkTreasureAsOpened again(s.world(), 1, false, {}, QStringLiteral("yyyy-MM-dd"));
    EXPECT_EQ(again.lstCharacters->item(RowOfData(again.lstCharacters, 1))->text(),
              QStringLiteral("Ayla (2008-02-29)"));

    // A file that cannot be replaced: the dialog stays with its input and the
    // old file and date stay.
    ImmutableFile locked(folder.path() + file);
    if (!locked.set())
        GTEST_SKIP() << "the file system keeps no immutable attribute";
    frmMarkTreasureAsOpened d(s.world(), 1, false, {}, QStringLiteral("d/M/yyyy"));
    d.show();
    ClickRow(d.lstCharacters, RowOfData(d.lstCharacters, 1));
    const QString entered = d.cmdSave->text();
    QTest::mouseClick(d.cmdSave, Qt::LeftButton);
    EXPECT_TRUE(boxes.texts.constLast().startsWith(QStringLiteral("The date could not be saved")));
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.cmdSave->text(), entered);
    EXPECT_EQ(folder.read(file), "0001\t29022008\r\n");
    EXPECT_EQ(s.world().treasures.Treasures[1].OpenedOn[1], QDate(2008, 2, 29));
}

TEST(DialogWindows, AFailedCharacterSaveKeepsTheFileTheTablesAndTheInput)
{
    ProgramCopy folder(kTwoCharacters);
    MessageBoxes boxes;
    Started s(folder);
    ASSERT_EQ(s.result, WayloomProgram::StartResult::Started);
    ImmutableFile locked(folder.path() + QStringLiteral("Personal/Characters.txt"));
    if (!locked.set())
        GTEST_SKIP() << "the file system keeps no immutable attribute";

    frmManageCharacter e(s.world(), 1, false);
    e.show();
    EXPECT_EQ(e.txtName->text(), QStringLiteral("Ayla"));
    e.txtName->setText(QStringLiteral("Ayla the Bold"));
    e.lstElite->item(0)->setCheckState(Qt::Checked);
    QTest::mouseClick(e.cmdSave, Qt::LeftButton);
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts[0].startsWith(QStringLiteral("The character could not be saved")));
    EXPECT_TRUE(e.isVisible());
    EXPECT_EQ(e.txtName->text(), QStringLiteral("Ayla the Bold"));
    EXPECT_EQ(e.lstElite->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(folder.read(QStringLiteral("Personal/Characters.txt")), kTwoCharacters);
    EXPECT_EQ(s.world().characters.Characters[1], QStringLiteral("Ayla"));
    EXPECT_FALSE(folder.exists(QStringLiteral("Personal/Char01CapElite.txt")));

    // A name the files cannot carry is refused before anything is written.
    e.txtName->setText(QString::fromUtf8("Ayla ✓"));
    QTest::mouseClick(e.cmdSave, Qt::LeftButton);
    EXPECT_TRUE(boxes.texts.constLast().startsWith(QStringLiteral("A character name can only hold")));
    EXPECT_TRUE(e.isVisible());
}

} // namespace

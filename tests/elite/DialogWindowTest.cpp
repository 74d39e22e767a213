// The character, capture and chest dialogs on the running program, offscreen,
// over a copy of the demo world: each main path, its refusals, failed saves,
// and a restart that finds what was saved.
#include "../ProgramCopy.h"
#include "../TextPixels.h"
#include "../core/TestFiles.h"
#include "app/WayloomProgram.h"
#include "core/TextNumbers.h"
#include "elite/frmCharacterList.h"
#include "elite/frmManageCharacter.h"
#include "elite/frmMarkEliteAsCaptured.h"
#include "layers/frmManageNote.h"
#include "layers/frmMarkTreasureAsOpened.h"
#include "mapview/frmMap.h"
#include "panel/MarkingMenu.h"
#include "panel/frmEliteTab.h"
#include "panel/frmMenu.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <optional>
#include <set>

namespace {

struct Started {
    std::unique_ptr<WayloomProgram> program;
    explicit Started(const ProgramCopy& folder) : program(std::make_unique<WayloomProgram>(folder.path()))
    {
        program->showError = [](const QString&, bool) {};
        program->endProgram = [] {};
        EXPECT_EQ(program->Main(), WayloomProgram::StartResult::Started);
    }
    ~Started() { program->QuitProgram(); }
    frmMenu& menu() { return *program->menu(); }
    World& world() { return program->world(); }
};

// Runs `act` on the first shown top-level widget of type W, from the event
// loop (dialogs and message boxes run modally); `repeat` keeps watching.
template <class W>
QTimer* WhenShown(std::function<void(W&)> act, bool repeat = false)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act, repeat] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) {
                if (!repeat) {
                    timer->stop();
                    timer->deleteLater();
                }
                act(*found);
                if (!repeat && found->isVisible()) {
                    ADD_FAILURE() << "left open";
                    found->close();
                }
                return;
            }
    });
    timer->start();
    return timer;
}

// Answers every message box (Yes, else its only button) and keeps its text.
struct MessageBoxes {
    QStringList texts;
    std::unique_ptr<QTimer> timer{WhenShown<QMessageBox>(
        [this](QMessageBox& box) {
            texts << box.text();
            QAbstractButton* yes = box.button(QMessageBox::Yes);
            (yes ? yes : box.buttons().constFirst())->click();
        },
        true)};
};

// The immutable attribute keeps a file from being replaced, by root too;
// false when the file system has none.
bool SetImmutable(const QString& path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    int flags = 0;
    bool ok = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

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

std::vector<std::vector<bool>> CaptureFlags(const World& world)
{
    std::vector<std::vector<bool>> flags;
    for (const auto& skill : world.elite.EliteSkills)
        flags.push_back(skill.Captured);
    return flags;
}

TEST(DialogWindows, CharactersAreCreatedRefusedDeletedAndFoundAfterARestart)
{
    ProgramCopy folder;
    MessageBoxes boxes;
    int campaignSkills = -1;
    {
        Started s(folder);
        const auto& t = s.world().language;
        auto create = [](frmCharacterList& list, std::function<void(frmManageCharacter&)> edit) {
            WhenShown<frmManageCharacter>(std::move(edit));
            QTest::mouseClick(list.cmdCreate, Qt::LeftButton);
        };
        WhenShown<frmCharacterList>([&](frmCharacterList& list) {
            EXPECT_FALSE(list.cmdDelete->isEnabled());
            create(list, [](frmManageCharacter& e) { // Ayla, two skills captured
                QTest::keyClicks(e.txtName, QStringLiteral("Ayla"));
                e.lstElite->item(0)->setCheckState(Qt::Checked);
                e.lstElite->item(1)->setCheckState(Qt::Checked);
                QTest::mouseClick(e.cmdSave, Qt::LeftButton);
            });
            create(list, [&](frmManageCharacter& e) { // Bren, every skill of one campaign
                QTest::keyClicks(e.txtName, QStringLiteral("Bren"));
                ClickRow(e.lstCampaign, 1);
                campaignSkills = e.lstElite->count();
                QTest::mouseClick(e.cmdSelectAll, Qt::LeftButton);
                QTest::mouseClick(e.cmdSave, Qt::LeftButton);
            });
            create(list, [&](frmManageCharacter& e) { // Ayla's name in other case: refused
                QTest::keyClicks(e.txtName, QStringLiteral("AYLA"));
                QTest::mouseClick(e.cmdSave, Qt::LeftButton);
                EXPECT_EQ(boxes.texts.value(0), t(Text::NameTaken));
                EXPECT_TRUE(e.isVisible());
                // The list cannot be rewritten (a full disk, an immutable
                // file): reported, nothing changes, the input stays.
                const QString listFile = folder.path() + QStringLiteral("Personal/Characters.txt");
                const auto characters = s.world().characters.Characters;
                const auto captured = CaptureFlags(s.world());
                for (const bool fullDisk : {true, false}) {
                    SCOPED_TRACE(fullDisk ? "full disk" : "immutable file");
                    std::optional<FileSizeLimit> limit;
                    const auto unlock = qScopeGuard([&] { SetImmutable(listFile, false); });
                    if (fullDisk)
                        ASSERT_TRUE(limit.emplace(static_cast<rlim_t>(kTwoCharacters.size())).ok());
                    else if (!SetImmutable(listFile, true))
                        continue; // the file system keeps no such attribute
                    const auto shown = boxes.texts.size();
                    e.txtName->setText(QStringLiteral("Cato"));
                    QTest::mouseClick(e.cmdSave, Qt::LeftButton);
                    limit.reset();
                    EXPECT_TRUE(
                        boxes.texts.value(shown).startsWith(QStringLiteral("The character could not be saved")));
                    EXPECT_TRUE(e.isVisible());
                    EXPECT_EQ(e.txtName->text(), QStringLiteral("Cato"));
                    EXPECT_EQ(folder.read("Personal/Characters.txt"), kTwoCharacters);
                    EXPECT_EQ(s.world().characters.Characters, characters);
                    EXPECT_EQ(CaptureFlags(s.world()), captured);
                }
                QTest::mouseClick(e.cmdCancel, Qt::LeftButton);
            });
            ASSERT_EQ(list.lstCharacters->count(), 2);
            ClickRow(list.lstCharacters, 0);
            QTest::mouseClick(list.cmdDelete, Qt::LeftButton);
            EXPECT_EQ(boxes.texts.constLast(), t(Text::DeleteCharacterQuestion) + QStringLiteral(" Ayla ?"));
            EXPECT_EQ(list.lstCharacters->count(), 1);
            QTest::mouseClick(list.cmdCancel, Qt::LeftButton);
        });
        s.menu().OnMenuEntryClick(1, 8);
        EXPECT_EQ(s.menu().EliteTab().cmbCharacter->count(), 2);
        EXPECT_EQ(s.world().characters.Characters[1], QString());
    }
    EXPECT_EQ(folder.read("Personal/Characters.txt"), "02\tBren\r\n");
    EXPECT_FALSE(QFile::exists(folder.path() + QStringLiteral("Personal/Char01CapElite.txt")));
    EXPECT_EQ(folder.read("Personal/Char02CapElite.txt").count('\n'), campaignSkills);
    ASSERT_GT(campaignSkills, 0);

    Started again(folder);
    EXPECT_EQ(again.world().characters.Characters, (std::vector<QString>{{}, {}, QStringLiteral("Bren")}));
    int byAyla = 0, byBren = 0;
    for (const auto& skill : again.world().elite.EliteSkills) {
        byAyla += skill.Captured.at(1);
        byBren += skill.Captured.at(2);
    }
    EXPECT_EQ(byAyla, 0);
    EXPECT_EQ(byBren, campaignSkills);
}

TEST(DialogWindows, ASkillCapturedFromTheListOrTheMapLeavesTheNotYetCapturedList)
{
    ProgramCopy folder;
    ASSERT_TRUE(folder.write("Personal/Characters.txt", kTwoCharacters));
    MessageBoxes boxes;
    std::vector<int> marked;
    {
        Started s(folder);
        auto& m = s.menu();
        m.EliteTab().optCapture[1]->setChecked(true);
        m.EliteTab().cmbCharacter->setCurrentIndex(m.EliteTab().cmbCharacter->findData(2));
        const int before = m.EliteTab().lstElite->count();
        ASSERT_GT(before, 2);

        // From the list: Bren, on whom the panel filters, is chosen already.
        WhenShown<frmMarkEliteAsCaptured>([&](frmMarkEliteAsCaptured& d) {
            EXPECT_EQ(d.lstCharacters->count(), 2);
            EXPECT_EQ(d.lstCharacters->currentRow(), RowOfData(d.lstCharacters, 2));
            marked.push_back(d.EliteNumber());
            QTest::mouseClick(d.cmdSave, Qt::LeftButton);
        });
        ClickRow(m.EliteTab().lstElite, 0);
        QTest::mouseDClick(m.EliteTab().lstElite->viewport(), Qt::LeftButton, {},
                           m.EliteTab().lstElite->visualItemRect(m.EliteTab().lstElite->item(0)).center());
        ASSERT_EQ(marked.size(), 1u);
        EXPECT_EQ(RowOfData(m.EliteTab().lstElite, marked[0]), -1);

        // From the map: a double click on the next skill's boss, the map centred on it.
        ClickRow(m.EliteTab().lstElite, 0);
        const int elite = m.EliteTab().lstElite->item(0)->data(Qt::UserRole).toInt();
        const auto& place =
            s.world().elite.EliteSkills[elite].Locations.at(m.EliteTab().lstLocations->currentRow() + 1);
        frmMap& map = *s.program->map();
        WhenShown<frmMarkEliteAsCaptured>([&](frmMarkEliteAsCaptured& d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Elite: ") + s.world().elite.EliteSkills[d.EliteNumber()].Name);
            marked.push_back(d.EliteNumber());
            ClickRow(d.lstCharacters, RowOfData(d.lstCharacters, 2));
            QTest::mouseClick(d.cmdSave, Qt::LeftButton);
        });
        map.PointerDoubleClick(mapview::PointerButton::Left, mapview::PointerKeys::None,
                               QPointF(place.X + map.MapOffsetX(), place.Y + map.MapOffsetY()), QPoint());
        ASSERT_EQ(marked.size(), 2u) << "a double click on the boss opens the dialog";
        EXPECT_EQ(RowOfData(m.EliteTab().lstElite, marked[1]), -1);
        EXPECT_EQ(m.EliteTab().lstElite->count(), before - 2);
    }
    EXPECT_TRUE(boxes.texts.isEmpty());
    QByteArray expected;
    for (int n : std::set<int>(marked.begin(), marked.end()))
        expected += QByteArray::number(n).rightJustified(4, '0') + "\r\n";
    EXPECT_EQ(folder.read("Personal/Char02CapElite.txt"), expected);

    Started again(folder);
    for (int n : marked)
        EXPECT_EQ(again.world().elite.EliteSkills[n].Captured, (std::vector<bool>{false, false, true}));
}

TEST(DialogWindows, AChestIsMarkedOpenedWithADateTypedInEachOrder)
{
    using modTreasureDate::DatePart;
    ProgramCopy folder;
    ASSERT_TRUE(folder.write("Personal/Characters.txt", kTwoCharacters));
    MessageBoxes boxes;
    Started s(folder);
    ASSERT_GE(s.world().treasures.count(), 1);

    const struct {
        const char* format;
        DatePart first;
        std::array<const char*, 3> dayMonthYear;
        QByteArray written; // empty: refused
    } rows[] = {
        {"yyyy-MM-dd", DatePart::Year, {"29", "02", "2008"}, "0001\t29022008\r\n"},
        {"dd.MM.yyyy", DatePart::Day, {"31", "02", "2009"}, {}},
    };
    for (const auto& row : rows) {
        int saved = 0;
        frmMarkTreasureAsOpened d(
            s.world(), 1, false, [&] { ++saved; }, QString::fromLatin1(row.format));
        d.show();
        EXPECT_EQ(d.Order()[0], row.first) << row.format;
        EXPECT_FALSE(d.cmdSave->isEnabled());
        ClickRow(d.lstCharacters, RowOfData(d.lstCharacters, 1));
        for (std::size_t k = 0; k < 3; ++k) {
            d.txtDate[k]->selectAll();
            QTest::keyClicks(d.txtDate[k], QString::fromLatin1(row.dayMonthYear[static_cast<int>(d.Order()[k])]));
            QTest::keyClicks(d.txtDate[k], QStringLiteral("x/-")); // discarded
        }
        const QByteArray old = folder.read("Personal/Char01OpenedTreasures.txt");
        QTest::mouseClick(d.cmdSave, Qt::LeftButton);
        EXPECT_EQ(d.isVisible(), row.written.isEmpty()) << row.format;
        EXPECT_EQ(saved, row.written.isEmpty() ? 0 : 1);
        EXPECT_EQ(folder.read("Personal/Char01OpenedTreasures.txt"), row.written.isEmpty() ? old : row.written);
    }
    EXPECT_EQ(boxes.texts, QStringList{s.world().language(Text::InvalidDate)});

    // A file that cannot be replaced (a full disk, an immutable file):
    // reported; the dialog keeps its input, the file and the table their date.
    const QString file = folder.path() + QStringLiteral("Personal/Char01OpenedTreasures.txt");
    const QByteArray old = folder.read("Personal/Char01OpenedTreasures.txt");
    ASSERT_EQ(old, "0001\t29022008\r\n");
    frmMarkTreasureAsOpened d(s.world(), 1, false, {}, QStringLiteral("d/M/yyyy"));
    d.show();
    EXPECT_EQ(d.lstCharacters->item(0)->text(), QStringLiteral("Ayla (29-02-2008)"));
    ClickRow(d.lstCharacters, RowOfData(d.lstCharacters, 1));
    d.txtDate[0]->setText(QStringLiteral("2"));
    for (const bool fullDisk : {true, false}) {
        SCOPED_TRACE(fullDisk ? "full disk" : "immutable file");
        std::optional<FileSizeLimit> limit;
        const auto unlock = qScopeGuard([&] { SetImmutable(file, false); });
        if (fullDisk)
            ASSERT_TRUE(limit.emplace(static_cast<rlim_t>(old.size() - 1)).ok());
        else if (!SetImmutable(file, true))
            continue; // the file system keeps no such attribute
        const auto shown = boxes.texts.size();
        QTest::mouseClick(d.cmdSave, Qt::LeftButton);
        limit.reset();
        EXPECT_TRUE(boxes.texts.value(shown).startsWith(QStringLiteral("The date could not be saved")));
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.txtDate[0]->text(), QStringLiteral("2"));
        EXPECT_EQ(folder.read("Personal/Char01OpenedTreasures.txt"), old);
        EXPECT_EQ(s.world().treasures.Treasures[1].OpenedOn[1], QDate(2008, 2, 29));
    }
}

TEST(DialogWindows, TheDateBoxesShowEveryDigitUncutAtTwoFontSizes)
{
    ProgramCopy folder;
    ASSERT_TRUE(folder.write("Personal/Characters.txt", kTwoCharacters));
    Started s(folder);
    for (const int points : {9, 20}) {
        SCOPED_TRACE(points);
        // Over the panel, as the program opens it: the panel's style sheet
        // gives the boxes their padding and border only once shown.
        frmMarkTreasureAsOpened d(s.world(), 1, false, {}, QStringLiteral("d/M/yyyy"), &s.menu());
        d.setStyleSheet(QStringLiteral("QLineEdit { font-size: %1pt; }").arg(points));
        d.show();
        QApplication::processEvents();
        d.cmdCancel->setFocus();
        for (std::size_t k = 0; k < 3; ++k) {
            QLineEdit* box = d.txtDate[k];
            const int width = box->width();
            for (char digit = '0'; digit <= '9'; ++digit) {
                const QString text(k == 2 ? 4 : 2, QLatin1Char(digit));
                const int roomy = TextPixels(box, text, width + 400);
                const int inBox = TextPixels(box, text, width);
                EXPECT_GT(roomy, 0);
                EXPECT_GE(inBox * 20, roomy * 19) << "box " << k << " cuts " << text.toStdString();
            }
        }
    }
}

TEST(DialogWindows, ARefusedPasteIntoANoteTitleSaysWhy)
{
    ProgramCopy folder;
    Started s(folder);
    frmManageNote editor(s.world());
    editor.Load();
    editor.show();
    QLineEdit* title = editor.txtShortDesc;
    title->setFocus();
    title->setText(QStringLiteral("Camp"));
    title->end(false);
    struct Case {
        const char* name;
        QString pasted;
        bool refused;
        const char* named; // what the tip names
    };
    const Case cases[] = {
        {"plain text goes in", QStringLiteral(" site"), false, ""},
        {"two of them, each named once", QStringLiteral("\u4E2D\u4E2D\u03A9"), true, "\"\u4E2D\", \"\u03A9\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString before = title->text();
        QGuiApplication::clipboard()->setText(c.pasted);
        QTest::keyClick(title, Qt::Key_V, Qt::ControlModifier);
        if (!c.refused) {
            EXPECT_EQ(title->text(), before + c.pasted);
            continue;
        }
        EXPECT_EQ(title->text(), before) << "nothing of a refused paste goes in";
        EXPECT_TRUE(editor.RefusedTitleText().contains(QString::fromUtf8(c.named)))
            << editor.RefusedTitleText().toStdString();
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), editor.RefusedTitleText());
    }
}

} // namespace

TEST(DialogWindows, MarkingFromTheMapAndTheListIsUndoneWithCtrlZFromEitherWindow)
{
    ProgramCopy folder;
    ASSERT_TRUE(folder.write("Personal/Characters.txt", kTwoCharacters));
    MessageBoxes boxes;
    Started s(folder);
    auto& m = s.menu();
    frmMap& map = *s.program->map();
    int dialogs = 0;
    std::unique_ptr<QTimer> watch{WhenShown<frmMarkEliteAsCaptured>(
        [&](frmMarkEliteAsCaptured& d) {
            ++dialogs;
            d.reject();
        },
        true)};
    // The menu of ticks: what it offered, and the character to tick (0 = none).
    std::vector<std::pair<int, bool>> offered;
    int choose = 0;
    m.Marking().openMenu = [&](QMenu* menu, QPoint) {
        offered.clear();
        for (QAction* row : menu->actions())
            if (row->isCheckable()) {
                offered.emplace_back(row->data().toInt(), row->isChecked());
                if (row->data().toInt() == choose)
                    row->trigger();
            }
    };
    QListWidget* list = m.EliteTab().lstElite;
    ClickRow(list, 0);
    const int elite = list->item(0)->data(Qt::UserRole).toInt();
    const auto& place = s.world().elite.EliteSkills[elite].Locations.at(m.EliteTab().lstLocations->currentRow() + 1);
    const QPoint boss(place.X + map.MapOffsetX(), place.Y + map.MapOffsetY());
    const QByteArray captured = QByteArray::number(elite).rightJustified(4, '0') + "\r\n";

    // No character chosen: a Shift double click opens the menu twice and no dialog.
    QTest::mouseDClick(map.picMap(), Qt::LeftButton, Qt::ShiftModifier, boss);
    EXPECT_EQ(offered, (std::vector<std::pair<int, bool>>{{1, false}, {2, false}}));
    EXPECT_EQ(dialogs, 0);
    // A right click on the list entry: Ayla ticked, saved at once.
    choose = 1;
    const QPoint entry = list->visualItemRect(list->item(0)).center();
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, entry, list->viewport()->mapToGlobal(entry));
    QApplication::sendEvent(list->viewport(), &rightClick);
    EXPECT_EQ(folder.read("Personal/Char01CapElite.txt"), captured);
    // Bren chosen in "Not yet captured by": a Shift+click marks without asking.
    m.EliteTab().optCapture[1]->setChecked(true);
    m.EliteTab().cmbCharacter->setCurrentIndex(m.EliteTab().cmbCharacter->findData(2));
    offered.clear();
    QTest::mouseClick(map.picMap(), Qt::LeftButton, Qt::ShiftModifier, boss);
    EXPECT_TRUE(offered.empty());
    EXPECT_EQ(folder.read("Personal/Char02CapElite.txt"), captured);
    EXPECT_EQ(RowOfData(list, elite), -1);

    // Ctrl+Z from the map, then from the panel; a text field keeps its own.
    struct Key {
        const char* name;
        QWidget* window;
        Qt::KeyboardModifiers keys;
        QByteArray ayla, bren;
    } const keys[] = {
        {"Ctrl+Z on the map", &map, Qt::ControlModifier, captured, ""},
        {"Ctrl+Z on the panel", &m, Qt::ControlModifier, "", ""},
        {"Ctrl+Shift+Z on the map", &map, Qt::ControlModifier | Qt::ShiftModifier, captured, ""},
        {"Ctrl+Z in the skill name box", m.EliteTab().txtEliteName, Qt::ControlModifier, captured, ""},
    };
    for (const Key& k : keys) {
        QApplication::setActiveWindow(k.window->window());
        k.window->setFocus();
        QTest::keyClick(k.window, Qt::Key_Z, k.keys);
        EXPECT_EQ(folder.read("Personal/Char01CapElite.txt"), k.ayla) << k.name;
        EXPECT_EQ(folder.read("Personal/Char02CapElite.txt"), k.bren) << k.name;
    }
    EXPECT_NE(RowOfData(list, elite), -1) << "Bren's capture undone: the skill listed again";
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(boxes.texts.isEmpty());
}

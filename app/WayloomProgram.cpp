#include "app/WayloomProgram.h"

#include "app/OneCopy.h"
#include "app/StandardLayers.h"
#include "core/Version.h"
#include "core/modLanguage.h"
#include "core/modMain.h"
#include "elite/frmCharacterList.h"
#include "elite/frmMarkEliteAsCaptured.h"
#include "layers/frmMarkTreasureAsOpened.h"
#include "mapview/frmMap.h"
#include "panel/MarkingMenu.h"
#include "panel/frmMenu.h"
#include "windows/frmCredits.h"
#include "windows/frmFAKE.h"
#include "windows/frmInformation.h"
#include "windows/frmLegenda.h"
#include "windows/frmPopupMenu.h"
#include "world/LoadAllData.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPalette>
#include <QProcess>
#include <QScreen>
#include <QStyleFactory>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

constexpr char kProgramTitle[] = "Wayloom";
// The message of a campaign numbered 5 (the program knows campaigns 1 to 4).
constexpr char kFifthCampaignMessage[] = "I haven't released chapert 5 yet... how can you have it?";

int ToTwips(int pixels)
{
    return static_cast<int>(std::lround(pixels * 15.0));
}

int FromTwips(int twips)
{
    return twips / 15;
}

// One look for every window of the program: a dark frame around the maps.
void ApplyLook()
{
    if (auto* style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x1e, 0x21, 0x26));
    p.setColor(QPalette::WindowText, QColor(0xe8, 0xe2, 0xd4));
    p.setColor(QPalette::Base, QColor(0x1b, 0x1e, 0x23));
    p.setColor(QPalette::AlternateBase, QColor(0x26, 0x2a, 0x30));
    p.setColor(QPalette::Text, QColor(0xe8, 0xe2, 0xd4));
    p.setColor(QPalette::Button, QColor(0x2e, 0x33, 0x3b));
    p.setColor(QPalette::ButtonText, QColor(0xe8, 0xe2, 0xd4));
    p.setColor(QPalette::Highlight, QColor(0xc9, 0xa1, 0x3b));
    p.setColor(QPalette::HighlightedText, QColor(0x1e, 0x21, 0x26));
    p.setColor(QPalette::ToolTipBase, QColor(0x2a, 0x2e, 0x35));
    p.setColor(QPalette::ToolTipText, QColor(0xe8, 0xe2, 0xd4));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x6f, 0x6c, 0x66));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x7d, 0x7a, 0x72));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x6f, 0x6c, 0x66));
    QApplication::setPalette(p);
}

} // namespace

WayloomProgram::WayloomProgram(const QString& appFolder)
{
    m_world.appFolder = modMain::AppFolderFrom(appFolder);
    showError = [](const QString& text, bool offerCancel) {
        QMessageBox::critical(nullptr, QString::fromLatin1(kProgramTitle), text,
                              offerCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
    };
    openWithShell = [](const QString& target) {
        const QUrl url = target.contains(QStringLiteral("://")) || target.startsWith(QStringLiteral("mailto:"))
                             ? QUrl(target)
                             : QUrl::fromLocalFile(target);
        return QDesktopServices::openUrl(url);
    };
    startDetached = [this](const QString& program) { return QProcess::startDetached(program, {}, m_world.appFolder); };
    startDetachedWith = [this](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments, m_world.appFolder);
    };
    endProgram = [] { QCoreApplication::quit(); };
    confirm = [](const QString& question) {
        return QMessageBox::question(nullptr, QString::fromLatin1(kProgramTitle), question,
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    };
}

WayloomProgram::~WayloomProgram()
{
    // The map window is a child window of the panel and goes with it.
    m_menu.reset();
}

WayloomProgram::StartResult WayloomProgram::Main()
{
    QCoreApplication::setApplicationName(QString::fromLatin1(kProgramTitle));
    QCoreApplication::setApplicationVersion(QLatin1String(wayloom::kVersion));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct RestoreCursor {
        ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restoreCursor;

    // One copy per program folder: a later start brings the running copy to
    // the front, or tells the player, and loads and writes nothing.
    m_oneCopy = std::make_unique<OneCopy>(m_world.appFolder);
    m_oneCopy->tell = [this](const QString& text) {
        if (showError)
            showError(text, false);
    };
    m_oneCopy->confirm = [this](const QString& question) { return confirm && confirm(question); };
    m_oneCopy->folderWritable = folderWritable;
    m_oneCopy->bringToFront = [this] { BringToFront(); };
    if (m_oneCopy->Claim() != OneCopy::Outcome::First) {
        m_oneCopy.reset();
        return StartResult::AlreadyRunning;
    }

    if (!LoadProgramFolder(m_world, m_world.appFolder)) {
        showError(QString::fromUtf16(modLanguage::kMissingLanguageFileMessage), false);
        return StartResult::NoLanguageFile;
    }
    if (m_world.campaigns.size() > 5 && !m_world.campaigns[5].Name.isEmpty()) {
        showError(QString::fromLatin1(kFifthCampaignMessage), true);
        return StartResult::FifthCampaign;
    }

    ApplyLook();
    m_menu = std::make_unique<frmMenu>(m_world, m_panel);
    m_map = new frmMap(m_world, m_panel, StandardMapLayers(), m_menu.get());
    m_menu->SetMap(m_map);
    m_menu->SetCommands({
        .quitProgram = [this] { QuitProgram(); },
        .startUpdater = [this] { StartUpdater(); },
        .undoLastUpdate = [this] { UndoLastUpdate(); },
        .showHistory = [this] { ShowHistory(); },
        .openDocument = [this](const QString& target) { OpenDocument(target); },
        .markEliteAsCaptured = [this](int elite) { MarkEliteAsCaptured(elite); },
        .markTreasureAsOpened = [this](int treasure) { MarkTreasureAsOpened(treasure); },
        .toggleLegend = [this] { ShowLegend(); },
        .manageCharacters = [this] { ManageCharacters(); },
        .showCredits = [this] { ShowOverMap(new frmCredits(m_world.language, m_menu.get())); },
        .showInformation =
            [this] {
                auto* about = new frmInformation(m_world.language, m_menu.get());
                about->openLink = [this](const QString& target) { OpenDocument(target); };
                ShowOverMap(about);
            },
    });
    QObject::connect(m_map, &frmMap::quitRequested, m_menu.get(), [this] { QuitProgram(); });
    // A double click on a boss or a chest reaches the dialogs through the
    // panel's commands above (the panel listens to the map's requests).
    QString startPicture;
    m_map->InizializzaVariabili(startPicture, -1, -1);

    m_menu->Load();
    // The legend, owned by the map window, kept on top with the other windows.
    m_legend = new frmLegenda(m_world, m_map);
    m_legend->onClosed = [this] { m_panel.LegendState = 0; };
    m_menu->ApplyTopMost();
    m_menu->show();
    m_map->show();
    ShowLegend();
    QCoreApplication::processEvents();
    m_map->RestoreLayout();
    m_menu->show();
    m_map->show();
    PlaceLegend();
    // The panel's task-bar entry stands for the program: minimising it (or
    // the map's minimise button) hides every window, restoring shows them.
    m_taskBar = new frmFAKE(m_menu.get(), m_map, m_legend, [this] { return m_panel.LegendState == 1; });
    QObject::connect(m_map, &frmMap::minimiseRequested, m_menu.get(), [this] {
        if (auto* popup = m_menu->findChild<frmPopupMenu*>())
            popup->hide();
        m_taskBar->Minimise();
    });
    return StartResult::Started;
}

void WayloomProgram::QuitProgram()
{
    if (m_quitting || !m_menu)
        return;
    m_quitting = true;
    auto& s = m_world.settings;
    s.PosX = ToTwips(m_menu->x());
    s.PosY = ToTwips(m_menu->y());
    if (m_map) {
        s.DimX = ToTwips(m_map->width());
        s.DimY = ToTwips(m_map->height());
    }
    if (m_legend) {
        s.LegendX = ToTwips(m_legend->x());
        s.LegendY = ToTwips(m_legend->y());
    }
    s.Legend = m_panel.LegendState == 1;
    QString error;
    if (!m_menu->Unload(m_map && m_map->Maximised(), &error))
        showError(QStringLiteral("The settings could not be saved (%1); the previous ones are kept.").arg(error),
                  false);
    if (m_map)
        m_map->hide();
    if (endProgram)
        endProgram();
}

void WayloomProgram::BringToFront()
{
    if (!m_menu || m_quitting)
        return;
    // Restoring the panel restores the map and the legend with it.
    if (m_menu->isMinimized())
        m_menu->showNormal();
    m_menu->show();
    m_menu->raise();
    if (m_map && m_map->isVisible())
        m_map->raise();
    if (m_legend && m_legend->isVisible())
        m_legend->raise();
    m_menu->activateWindow();
}

void WayloomProgram::ShowOverMap(QWidget* window)
{
    if (m_map && m_map->isVisible())
        window->move(m_map->geometry().center() - QPoint(window->width() / 2, window->height() / 2));
    window->show();
}

void WayloomProgram::ShowLegend()
{
    if (!m_legend)
        return;
    const bool on = m_panel.LegendState == 1;
    m_legend->setVisible(on);
    if (on)
        m_legend->raise();
}

void WayloomProgram::PlaceLegend()
{
    if (!m_legend || !m_map)
        return;
    const auto& s = m_world.settings;
    if (s.LegendX != -1) {
        // A saved place counts when the legend's title band would lie on a screen.
        const QPoint saved(FromTwips(s.LegendX), FromTwips(s.LegendY));
        if (QGuiApplication::screenAt(saved + QPoint(m_legend->width() / 2, 8))) {
            m_legend->move(saved);
            return;
        }
    }
    m_legend->move(m_map->x() + m_map->width() - m_legend->width() - 16, m_map->y() + 32);
}

void WayloomProgram::StartUpdater()
{
    if (startDetached)
        startDetached(m_world.appFolder + QString::fromUtf16(modMain::kUpdaterFile));
    QuitProgram();
}

void WayloomProgram::UndoLastUpdate()
{
    if (startDetachedWith)
        startDetachedWith(m_world.appFolder + QString::fromUtf16(modMain::kUpdaterFile), {QStringLiteral("--undo")});
    QuitProgram();
}

void WayloomProgram::ShowHistory()
{
    OpenDocument(m_world.appFolder + QStringLiteral("Data/History.txt"));
}

void WayloomProgram::OpenDocument(const QString& target)
{
    if (openWithShell)
        openWithShell(target);
}

void WayloomProgram::ManageCharacters()
{
    if (!m_menu)
        return;
    frmCharacterList dialog(m_world, m_panel.AlwaysOnTop == 1, m_menu.get());
    dialog.deleted = [this](int c) { m_menu->Context().markings().ForgetCharacter(c); };
    dialog.exec();
}

namespace {

// The character numbers whose entries differ between two per-character
// records (a missing entry counts as an empty one).
template <class T>
std::vector<int> ChangedCharacters(const std::vector<T>& before, const std::vector<T>& after)
{
    std::vector<int> changed;
    for (std::size_t c = 1; c < std::max(before.size(), after.size()); ++c)
        if ((c < before.size() ? before[c] : T()) != (c < after.size() ? after[c] : T()))
            changed.push_back(static_cast<int>(c));
    return changed;
}

} // namespace

void WayloomProgram::MarkEliteAsCaptured(int elite)
{
    if (!m_menu || elite < 1 || elite > m_world.elite.highest())
        return;
    const int character = m_panel.cmbCharacter.selected > 0 ? m_panel.cmbCharacter.selectedData(0) : 0;
    const std::vector<bool> before = m_world.elite.EliteSkills[static_cast<std::size_t>(elite)].Captured;
    frmMarkEliteAsCaptured dialog(
        m_world, elite, character, m_panel.AlwaysOnTop == 1,
        [this, elite, &before] {
            const auto changed =
                ChangedCharacters(before, m_world.elite.EliteSkills[static_cast<std::size_t>(elite)].Captured);
            for (int c : changed) // undone by Ctrl+Z as a marking
                m_menu->Marking().Recorded({modMarking::Kind::Capture, elite, c, {}, {true, {}}});
            m_menu->FilterElites(true);
            m_menu->RecountProgress(changed);
        },
        m_menu.get());
    dialog.exec();
}

void WayloomProgram::MarkTreasureAsOpened(int treasure)
{
    if (!m_menu || treasure < 1 || treasure > m_world.treasures.count() ||
        !m_world.treasures.Treasures[static_cast<size_t>(treasure)].Present)
        return;
    const auto before = m_world.treasures.Treasures[static_cast<size_t>(treasure)].OpenedOn;
    frmMarkTreasureAsOpened dialog(
        m_world, treasure, m_panel.AlwaysOnTop == 1,
        [this, treasure, &before] {
            const auto& after = m_world.treasures.Treasures[static_cast<size_t>(treasure)].OpenedOn;
            const auto changed = ChangedCharacters(before, after);
            auto state = [](const std::vector<std::optional<QDate>>& dates, int c) {
                const auto k = static_cast<size_t>(c);
                return k < dates.size() && dates[k] ? modMarking::State{true, *dates[k]} : modMarking::State{};
            };
            for (int c : changed) // undone by Ctrl+Z as a marking
                m_menu->Marking().Recorded({modMarking::Kind::Chest, treasure, c, state(before, c), state(after, c)});
            m_menu->FilterTreasures(true);
            m_menu->RecountProgress(changed);
        },
        QString(), m_menu.get());
    dialog.exec();
}

#include "app/WayloomProgram.h"

#include "core/LoadAllData.h"
#include "core/modLanguage.h"
#include "core/modMain.h"
#include "core/Version.h"
#include "mapview/frmMap.h"
#include "panel/frmMenu.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QPalette>
#include <QProcess>
#include <QStyleFactory>
#include <QUrl>

#include <cmath>

namespace {

constexpr char kProgramTitle[] = "Wayloom";
// The message of a campaign numbered 5 (the program knows campaigns 1 to 4).
constexpr char kFifthCampaignMessage[] = "I haven't released chapert 5 yet... how can you have it?";

int ToTwips(int pixels)
{
    return static_cast<int>(std::lround(pixels * 15.0));
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
    startDetached = [this](const QString& program) {
        return QProcess::startDetached(program, {}, m_world.appFolder);
    };
    endProgram = [] { QCoreApplication::quit(); };
}

WayloomProgram::~WayloomProgram()
{
    // The map window is a child window of the panel and goes with it.
    m_menu.reset();
}

QString WayloomProgram::LockFilePath(const QString& appFolder)
{
    const QByteArray key =
        QCryptographicHash::hash(QDir::cleanPath(appFolder).toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QDir::tempPath() + QStringLiteral("/wayloom-") + QString::fromLatin1(key) + QStringLiteral(".lock");
}

WayloomProgram::StartResult WayloomProgram::Main()
{
    QCoreApplication::setApplicationName(QString::fromLatin1(kProgramTitle));
    QCoreApplication::setApplicationVersion(QLatin1String(wayloom::kVersion));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct RestoreCursor {
        ~RestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restoreCursor;

    // A second copy for the same program folder ends silently.
    m_lock = std::make_unique<QLockFile>(LockFilePath(m_world.appFolder));
    m_lock->setStaleLockTime(0); // held as long as the program runs; a dead owner's lock is taken over
    if (!m_lock->tryLock(0)) {
        m_lock.reset();
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
    m_map = new frmMap(m_world, m_panel, m_menu.get());
    m_menu->SetMap(m_map);
    m_menu->SetCommands({
        .quitProgram = [this] { QuitProgram(); },
        .startUpdater = [this] { StartUpdater(); },
        .showHistory = [this] { ShowHistory(); },
        .openDocument = [this](const QString& target) { OpenDocument(target); },
        .markEliteAsCaptured = {},  // the capture dialog comes with its own window
        .toggleLegend = {},         // the legend window likewise
        .manageCharacters = {},     // the character dialogs likewise
        .showCredits = {},
        .showInformation = {},
    });
    QObject::connect(m_map, &frmMap::quitRequested, m_menu.get(), [this] { QuitProgram(); });
    // The region menu, the capture dialog, the note menu and the task-bar
    // window join through the map window's other requests.
    QString startPicture;
    m_map->InizializzaVariabili(startPicture, -1, -1);

    m_menu->Load();
    m_menu->ApplyTopMost();
    m_menu->show();
    m_map->show();
    // The legend window, owned by the map, joins here.
    QCoreApplication::processEvents();
    m_map->RestoreLayout();
    m_menu->show();
    m_map->show();
    // The task-bar window joins here.
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
    s.Legend = m_panel.LegendState == 1;
    // LegendX and LegendY keep their values until the legend window joins.
    QString error;
    if (!m_menu->Unload(m_map && m_map->Maximised(), &error))
        showError(QStringLiteral("The settings could not be saved (%1); the previous ones are kept.").arg(error), false);
    if (m_map)
        m_map->hide();
    if (endProgram)
        endProgram();
}

void WayloomProgram::StartUpdater()
{
    if (startDetached)
        startDetached(m_world.appFolder + QString::fromUtf16(modMain::kUpdaterFile));
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

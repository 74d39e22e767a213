#include "panel/frmMenu.h"

#include "core/TextNumbers.h"
#include "core/modMain.h"
#include "mapview/frmMap.h"
#include "panel/MarkingMenu.h"
#include "panel/PanelLayout.h"
#include "panel/PanelOptions.h"
#include "panel/PanelStyle.h"
#include "panel/frmCollectorsTab.h"
#include "panel/frmEliteTab.h"
#include "panel/frmGreensTab.h"
#include "panel/frmNotesTab.h"
#include "panel/frmProgress.h"
#include "panel/frmSearch.h"
#include "panel/frmTabStrip.h"
#include "panel/frmTreasuresPetsTab.h"
#include "windows/frmPopupMenu.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVersionNumber>
#include <QWindow>

#include <cmath>

namespace {

// ---- Geometry of the window (pixels) ------------------------------------
using PanelGeometry::kMargin;
using PanelGeometry::kPageBorder;
using PanelGeometry::kPageWidth;
constexpr int kTitleHeight = 26;
constexpr int kMenuTop = 28;
constexpr int kMenuHeight = 20;
constexpr int kTabHeight = 24;
constexpr int kBackRowTop = 52;                        // the row behind
constexpr int kFrontRowTop = kBackRowTop + kTabHeight; // the row touching the pages
constexpr int kPageTop = kFrontRowTop + kTabHeight;
constexpr int kTabWidth = (frmMenu::kPanelWidth - 2 * kMargin) / PanelLayout::kTabsPerRow;
static_assert(frmMenu::kPanelWidth == PanelGeometry::kPanelWidth);

const QColor kWindowColour(0x1e, 0x21, 0x26);
const QColor kTitleColour(0xf0, 0xe6, 0xd2);
const QColor kMenuPressedColour(0x50, 0x58, 0x66);

} // namespace

// ---------------------------------------------------------------------------

frmMenu::frmMenu(World& world, PanelState& panel, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_world(world), m_panel(panel), m_context(world, panel)
{
    setObjectName(QStringLiteral("frmMenu"));
    setWindowTitle(TitleText());
    setAttribute(Qt::WA_StyledBackground, false);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kWindowColour);
    setPalette(pal);
    setStyleSheet(QString::fromLatin1(PanelStyle::kPanelStyle));
    BuildWindow();
    resize(kPanelWidth, 720);
}

frmMenu::~frmMenu()
{
    // The pages, the search and the progress window use the context, a
    // member: they go before it.
    delete m_progress;
    delete m_search;
    for (QWidget*& page : picTab) {
        delete page;
        page = nullptr;
    }
}

QString frmMenu::TitleText() const
{
    const QVersionNumber v = QVersionNumber::fromString(QCoreApplication::applicationVersion());
    return QStringLiteral("Wayloom v%1.%2.%3").arg(v.majorVersion()).arg(v.minorVersion()).arg(v.microVersion());
}

void frmMenu::BuildWindow()
{
    cmdQuit = new QPushButton(QStringLiteral("\u2715"), this);
    cmdQuit->setObjectName(QStringLiteral("cmdQuit"));
    cmdQuit->setGeometry(kPanelWidth - 30, 2, 26, 22);
    cmdQuit->setCursor(Qt::PointingHandCursor);
    connect(cmdQuit, &QPushButton::clicked, this, [this] {
        if (m_commands.quitProgram)
            m_commands.quitProgram();
    });

    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("menuTitle"));
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
        lblMenu[static_cast<std::size_t>(i)] = l;
    }

    m_eliteTab = new frmEliteTab(m_context, this);
    m_collectorsTab = new frmCollectorsTab(m_context, this);
    m_greensTab = new frmGreensTab(m_context, this);
    m_notesTab = new frmNotesTab(m_context, this);
    m_treasuresPetsTab = new frmTreasuresPetsTab(m_context, this);
    picTab = {m_eliteTab, m_collectorsTab, m_greensTab, m_notesTab, m_treasuresPetsTab};
    m_tabTops.assign(TabCount, kBackRowTop);
    for (int i = 0; i < TabCount; ++i) {
        QWidget* page = picTab[static_cast<std::size_t>(i)];
        page->setGeometry(kMargin, kPageTop, kPageWidth, 400);
        page->hide();
        m_tabTops[static_cast<std::size_t>(i)] = PanelLayout::TabRow(i) == 0 ? kFrontRowTop : kBackRowTop;
    }
    ConnectContext();

    for (int i = 0; i < TabCount; ++i) {
        auto* tab = new TabLabel(i, PanelTabColour(m_world, i), this, [this](int k) { SelectTab(k); });
        lblTab[static_cast<std::size_t>(i)] = tab;
        auto* box = new ShowBox(PanelTabColour(m_world, i), this);
        box->setChecked(m_panel.chkShowObject[static_cast<std::size_t>(i)]);
        box->setToolTip(QStringLiteral("Show on the map"));
        chkShowObject[static_cast<std::size_t>(i)] = box;
        connect(box, &QCheckBox::toggled, this, [this, i](bool) { chkShowObject_Click(i); });
    }
    picFalseBorder = new QWidget(this);
    picFalseBorder->setAutoFillBackground(true);
    PlaceTabLabels();

    m_search = new frmSearch(*this, m_world);
    // Ctrl+F: also while the map, a tool window of the panel, is the active
    // window (a second shortcut on the map would make the key ambiguous).
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, m_search, &frmSearch::Focus);

    m_marking = new MarkingMenu(m_context, this);
    connect(m_marking, &MarkingMenu::marked, this, [this](modMarking::Kind kind, int character) {
        if (kind == modMarking::Kind::Capture)
            FilterElites(true);
        else
            FilterTreasures(true);
        RecountProgress({character});
    });
    connect(&m_context, &PanelContext::markingMenuRequested, m_marking, &MarkingMenu::OpenTicks);
}

void frmMenu::PlaceTabLabels()
{
    for (int i = 0; i < TabCount; ++i) {
        const int left = kMargin + (i % PanelLayout::kTabsPerRow) * kTabWidth;
        const int top = m_tabTops[static_cast<std::size_t>(i)];
        lblTab[static_cast<std::size_t>(i)]->setGeometry(left, top, kTabWidth - 2, kTabHeight);
        chkShowObject[static_cast<std::size_t>(i)]->setGeometry(left + 5, top + PanelLayout::kShowBoxOffset, 16,
                                                                kTabHeight - 4);
        chkShowObject[static_cast<std::size_t>(i)]->raise();
    }
}

void frmMenu::ConnectContext()
{
    // A shared filter changed on a tab: every layer concerned filters anew,
    // in the panel's order, the last one redrawing.
    connect(&m_context, &PanelContext::regionChanged, this, &frmMenu::FilterAllLayers);
    connect(&m_context, &PanelContext::professionChanged, this, &frmMenu::FilterProfessionLayers);
    connect(&m_context, &PanelContext::redrawRequested, this, &frmMenu::RedrawMap);
    connect(&m_context, &PanelContext::captureRequested, this, [this](int elite) {
        if (m_commands.markEliteAsCaptured)
            m_commands.markEliteAsCaptured(elite);
    });
}

frmPanelTab& frmMenu::Tab(int i) const
{
    return *static_cast<frmPanelTab*>(picTab[static_cast<std::size_t>(std::clamp(i, 0, TabCount - 1))]);
}

// ---- Load, captions, options ----------------------------------------------

void frmMenu::Load()
{
    m_panel.Ready = false;
    m_eliteTab->FillLists();
    m_collectorsTab->FillLists();
    m_treasuresPetsTab->FillCharacters();
    m_eliteTab->ApplyOptions();
    for (int k = 0; k < TabCount; ++k) {
        const QSignalBlocker block(chkShowObject[static_cast<std::size_t>(k)]);
        chkShowObject[static_cast<std::size_t>(k)]->setChecked(m_panel.chkShowObject[static_cast<std::size_t>(k)]);
    }
    m_collectorsTab->ApplyOptions();
    m_panel.Ready = true;
    FilterAllLayers();
    m_search->Rebuild();

    ApplyCaptions();
    SelectTab(TabElite);
    LayOutPages();
}

void frmMenu::ApplyCaptions()
{
    const auto& t = m_world.language;
    lblMenu[0]->setText(t(Text::ShowMenu));
    lblMenu[1]->setText(t(Text::OptionsMenu));
    lblMenu[2]->setText(t(Text::HelpMenu));
    PlaceMenuTitles();
    const int tabTexts[TabCount] = {Text::TabElites, Text::TabCollectors, Text::TabGreens, Text::TabNotes,
                                    Text::TabTreasuresPets};
    for (int i = 0; i < TabCount; ++i)
        static_cast<TabLabel*>(lblTab[static_cast<std::size_t>(i)])->setText(t(tabTexts[i]));
    for (QWidget* page : picTab)
        static_cast<frmPanelTab*>(page)->ApplyCaptions();
    cmdQuit->setToolTip(t(Text::Quit));

    // A caption longer than its place (translations differ in length)
    // shrinks a little rather than lose letters.
    for (QLabel* caption : findChildren<QLabel*>()) {
        const int needed = caption->fontMetrics().horizontalAdvance(caption->text());
        if (needed <= caption->width() || needed == 0 || caption->objectName() == QLatin1String("menuTitle"))
            continue;
        const double size = std::max(6.5, caption->font().pointSizeF() * caption->width() / needed);
        caption->setStyleSheet(QStringLiteral("font-size: %1pt;").arg(size, 0, 'f', 1));
    }
}

void frmMenu::PlaceMenuTitles()
{
    if (m_placingTitles)
        return;
    m_placingTitles = true;
    int x = kMargin;
    for (QLabel* l : lblMenu) {
        // The style sheet's font and padding reach the label once polished;
        // fractional advances rounded up (whole pixels lose a letter at 2x).
        l->ensurePolished();
        const QMargins m = l->contentsMargins();
        const int text = static_cast<int>(std::ceil(QFontMetricsF(l->font()).horizontalAdvance(l->text())));
        const int w = std::max(l->sizeHint().width(), text + m.left() + m.right() + 2 * l->margin()) + 2;
        l->setGeometry(x, kMenuTop, w, kMenuHeight);
        x += w + 2;
    }
    PlaceSearch(x + 6);
    m_placingTitles = false;
}

bool frmMenu::Unload(bool maximisedLayout, QString* error)
{
    if (m_unloaded)
        return true;
    m_unloaded = true;
    const modOptions::Settings settings = PanelOptions::CollectSettings(m_panel, m_world.settings);
    m_world.settings = settings;
    const bool saved = modOptions::SaveOptions(m_world.appFolder, settings, maximisedLayout, error);
    close();
    return saved;
}

void frmMenu::SetMap(frmMap* map)
{
    if (m_map)
        disconnect(m_map, nullptr, this, nullptr);
    m_map = map;
    m_context.SetMap({});
    if (!m_map)
        return;
    m_context.SetMap({
        .switchRegion =
            [map](const QString& picture, int campaign, int region) {
                QString path = picture;
                map->InizializzaVariabili(path, campaign, region);
            },
        .centreOn = [map](int x, int y) { map->CenterMapOn(x, y); },
        .hideInformationWindows = [map] { map->HideInformationWindows(); },
        .mapLoaded = [map] { return map->MapLoaded(); },
    });
    connect(m_map, &frmMap::regionChosen, this, &frmMenu::SelectRegion);
    connect(m_map, &frmMap::notesChanged, this, [this] {
        FilterNotes(true);
        m_search->UpdateNotes();
    });
    connect(m_map, &frmMap::captureRequested, this, [this](int elite) {
        if (m_commands.markEliteAsCaptured)
            m_commands.markEliteAsCaptured(elite);
    });
    connect(m_map, &frmMap::treasureMarkRequested, this, [this](int treasure) {
        if (m_commands.markTreasureAsOpened)
            m_commands.markTreasureAsOpened(treasure);
    });
    connect(m_map, &frmMap::captureToggleRequested, this,
            [this](int elite, QPoint at) { m_marking->MarkFromMap(modMarking::Kind::Capture, elite, at); });
    connect(m_map, &frmMap::treasureToggleRequested, this,
            [this](int treasure, QPoint at) { m_marking->MarkFromMap(modMarking::Kind::Chest, treasure, at); });
    if (!lblRoute) {
        lblRoute = new QLabel(this);
        lblRoute->setObjectName(QStringLiteral("lblRoute"));
        lblRoute->setStyleSheet(QStringLiteral("QLabel { color: #e8c86a; }"));
        lblRoute->hide();
    }
    connect(m_map, &frmMap::routeLineChanged, this, [this](const QString& line) {
        lblRoute->setToolTip(line);
        lblRoute->setVisible(!line.isEmpty());
        LayOutPages();
        // A long name gives way in the middle: the count and distance stay.
        lblRoute->setText(lblRoute->fontMetrics().elidedText(line, Qt::ElideMiddle, lblRoute->width()));
    });
    if (!findChild<QShortcut*>(QStringLiteral("copyRouteShortcut"), Qt::FindDirectChildrenOnly)) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), this);
        shortcut->setObjectName(QStringLiteral("copyRouteShortcut"));
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (m_map)
                m_map->CopyRoute();
        });
    }
    // Ctrl+P: also while the map, a tool window of the panel, is the active
    // window (a second shortcut on the map would make the key ambiguous).
    if (!findChild<QShortcut*>(QStringLiteral("progressShortcut"), Qt::FindDirectChildrenOnly)) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
        shortcut->setObjectName(QStringLiteral("progressShortcut"));
        connect(shortcut, &QShortcut::activated, this, &frmMenu::ShowProgress);
    }
}

void frmMenu::ShowProgress()
{
    if (!m_progress) {
        m_progress = new frmProgress(*this, m_world, this);
        // Over the map, near its top left corner (kept on the screen).
        if (m_map)
            m_progress->move(m_map->x() + 40, m_map->y() + 60);
    }
    m_progress->Rebuild();
    m_progress->show();
    m_progress->KeepOnScreen(); // its frame is known once shown
    m_progress->raise();
    m_progress->activateWindow();
    m_progress->tblProgress->setFocus();
}

void frmMenu::RecountProgress(const std::vector<int>& characters)
{
    if (!m_progress)
        return;
    if (characters.empty())
        m_progress->Rebuild();
    else
        m_progress->Recount(characters);
}

void frmMenu::SelectRegion(int c, int r)
{
    m_eliteTab->SelectRegion(c, r);
}

void frmMenu::RedrawMap()
{
    if (m_map)
        m_map->UpdateMapWithNewEliteSkills();
}

// ---- Layer filters ---------------------------------------------------------------

void frmMenu::FilterElites(bool redraw)
{
    m_eliteTab->FilterElites(redraw);
}
void frmMenu::FilterCollectors(bool redraw)
{
    m_collectorsTab->FilterCollectors(redraw);
}
void frmMenu::FilterGreens(bool redraw)
{
    m_greensTab->FilterGreens(redraw);
}
void frmMenu::FilterNotes(bool redraw)
{
    m_notesTab->FilterNotes(redraw);
}
void frmMenu::FilterTreasures(bool redraw)
{
    m_treasuresPetsTab->FilterTreasures(redraw);
}
void frmMenu::FilterPets(bool redraw)
{
    m_treasuresPetsTab->FilterPets(redraw);
}
void frmMenu::SelectEliteLocation()
{
    m_eliteTab->SelectEliteLocation();
}

void frmMenu::FilterAllLayers()
{
    FilterElites(false);
    FilterCollectors(false);
    FilterGreens(false);
    FilterNotes(false);
    FilterTreasures(false);
    FilterPets(true);
}

void frmMenu::FilterProfessionLayers()
{
    FilterElites(false);
    FilterCollectors(false);
    FilterGreens(false);
    FilterNotes(true);
}

// ---- Tabs and show boxes -----------------------------------------------------

void frmMenu::SelectTab(int i)
{
    if (i < 0 || i >= TabCount)
        return;
    auto* clicked = static_cast<TabLabel*>(lblTab[static_cast<std::size_t>(i)]);
    if (clicked->active())
        return;
    const int previous = m_panel.ActiveTab;
    const bool hadActive = static_cast<TabLabel*>(lblTab[static_cast<std::size_t>(previous)])->active();
    if (hadActive) {
        m_tabTops = PanelLayout::SwapTabRows(m_tabTops, previous, i);
        PlaceTabLabels();
        static_cast<TabLabel*>(lblTab[static_cast<std::size_t>(previous)])->setActive(false);
        picTab[static_cast<std::size_t>(previous)]->hide();
    }
    clicked->setActive(true);
    m_panel.ActiveTab = i;
    picTab[static_cast<std::size_t>(i)]->show();
    const QColor colour = PanelTabColour(m_world, i);
    QPalette pal = picFalseBorder->palette();
    pal.setColor(QPalette::Window, colour);
    picFalseBorder->setPalette(pal);
    const QRect tab = lblTab[static_cast<std::size_t>(i)]->geometry();
    picFalseBorder->setGeometry(tab.left() + 1, kPageTop, tab.width() - 2, kPageBorder);
    picFalseBorder->raise();
    for (QCheckBox* box : chkShowObject)
        box->raise();
}

void frmMenu::ShowTab(int i)
{
    if (i < 0 || i >= TabCount)
        return;
    SelectTab(i);
    QCheckBox* show = chkShowObject[static_cast<std::size_t>(i)];
    if (!show->isChecked())
        show->setChecked(true);
}

void frmMenu::chkShowObject_Click(int k)
{
    m_panel.chkShowObject[static_cast<std::size_t>(k)] = chkShowObject[static_cast<std::size_t>(k)]->isChecked();
    if (!m_panel.Ready || !m_map)
        return;
    if (const auto flash = mapview::FlashLayerOfShowBox(k))
        m_map->SetFlashTimerEnabled(*flash, false);
    m_map->DrawEverythingOnMap();
}

bool frmMenu::eventFilter(QObject* watched, QEvent* event)
{
    for (int i = 0; i < 3; ++i) {
        QLabel* title = lblMenu[static_cast<std::size_t>(i)];
        if (watched != title)
            continue;
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
            PlaceMenuTitles(); // a new font or style sheet: the titles' widths anew
            break;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            m_pressedMenu = i;
            title->setStyleSheet(QStringLiteral("background: %1;").arg(kMenuPressedColour.name()));
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            title->setStyleSheet(QString());
            const bool inside = title->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (m_pressedMenu == i && inside)
                OpenMenu(i);
            m_pressedMenu = -1;
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Window --------------------------------------------------------------------

void frmMenu::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // A thin frame in the elite tab's colour, and the title centred on top.
    p.setPen(QPen(PanelTabColour(m_world, TabElite).darker(160), 1));
    p.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    QFont f = font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.25);
    p.setFont(f);
    p.setPen(kTitleColour);
    p.drawText(QRect(0, 0, width(), kTitleHeight), Qt::AlignCenter, TitleText());
}

void frmMenu::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_drag.Press(event->globalPosition().toPoint(), frameGeometry().topLeft());
    AttachMap();
    QWidget::mousePressEvent(event);
}

void frmMenu::mouseMoveEvent(QMouseEvent* event)
{
    // Moved by the window system where it can, else following the pointer;
    // only once the pointer moved with the button held (see WindowDrag).
    const WindowDrag::Action a =
        m_drag.Move(event->globalPosition().toPoint(), (event->buttons() & Qt::LeftButton) != 0,
                    [this] { return windowHandle() && windowHandle()->startSystemMove(); });
    if (a.step == WindowDrag::Step::MoveTo)
        move(a.topLeft);
    QWidget::mouseMoveEvent(event);
}

void frmMenu::mouseReleaseEvent(QMouseEvent* event)
{
    m_drag.Release();
    AttachMap();
    QWidget::mouseReleaseEvent(event);
}

void frmMenu::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (m_drag.Dragging())
        AttachMap();
}

void frmMenu::AttachMap()
{
    if (m_map)
        m_map->move(x() + width(), y());
}

void frmMenu::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (isMinimized())
        return;
    cmdQuit->move(width() - 30, 2);
    LayOutPages();
    PlaceSearch(m_search->txtSearch->x());
}

void frmMenu::PlaceSearch(int left)
{
    // The field takes the rest of the menu row; its results open over the
    // tabs and pages, down to the bottom margin.
    const int right = kPanelWidth - kMargin;
    left = std::min(left, right - 110);
    m_search->Place(QRect(left, kMenuTop - 1, right - left, kMenuHeight + 2),
                    QRect(kMargin, kMenuTop, kPageWidth, height() - kMargin - kMenuTop));
}

void frmMenu::LayOutPages()
{
    // Pages reach down to a bottom margin as wide as the side margin, less
    // a line for the route's next stop while one is shown.
    const int routeLine = lblRoute && lblRoute->isVisibleTo(this) ? 18 : 0;
    if (routeLine)
        lblRoute->setGeometry(kMargin + 2, height() - kMargin - routeLine + 1, kPageWidth - 4, routeLine - 2);
    const int pageHeight = PanelLayout::PageHeight(height() - routeLine, kPageTop, kMargin);
    for (QWidget* page : picTab) {
        page->setGeometry(kMargin, kPageTop, kPageWidth, pageHeight);
        static_cast<frmPanelTab*>(page)->LayOut(pageHeight - kPageBorder);
    }
}

void frmMenu::closeEvent(QCloseEvent* event)
{
    // Closing the panel any other way ends the program through the quit
    // procedure, which captures the placement and unloads the panel.
    if (!m_unloaded && m_commands.quitProgram) {
        event->ignore();
        m_commands.quitProgram();
        return;
    }
    event->accept();
}

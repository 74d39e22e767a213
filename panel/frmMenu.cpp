#include "panel/frmMenu.h"

#include "core/TextNumbers.h"
#include "core/modMain.h"
#include "mapview/frmMap.h"
#include "panel/PanelLayout.h"
#include "panel/PanelOptions.h"
#include "panel/frmCollectorsTab.h"
#include "panel/frmEliteTab.h"
#include "panel/frmGreensTab.h"
#include "panel/frmNotesTab.h"
#include "panel/frmProgress.h"
#include "panel/frmSearch.h"
#include "panel/frmTreasuresPetsTab.h"
#include "windows/frmPopupMenu.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVersionNumber>
#include <QWindow>

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

// A tab label: a rounded-top folder tab in its tab's colour, bright when
// active, dimmed behind. Clicks are reported to the panel.
class TabLabel : public QWidget {
public:
    TabLabel(int index, QColor colour, QWidget* parent, std::function<void(int)> onClick)
        : QWidget(parent), m_index(index), m_colour(colour), m_onClick(std::move(onClick))
    {
        setCursor(Qt::PointingHandCursor);
    }
    void setText(const QString& text)
    {
        m_text = text;
        update();
    }
    void setActive(bool active)
    {
        m_active = active;
        update();
    }
    bool active() const { return m_active; }
    void setColour(QColor colour)
    {
        m_colour = colour;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, 4);
        QPainterPath path;
        path.addRoundedRect(r, 6, 6);
        const QColor fill = m_active ? m_colour : m_colour.darker(230);
        p.fillPath(path, fill);
        p.setPen(QPen(m_colour, 1));
        p.drawPath(path);
        QFont f = font();
        f.setBold(m_active);
        // A caption that does not fit shrinks a little rather than lose letters.
        const QRect textRect = rect().adjusted(22, 0, -3, 0);
        const int needed = QFontMetrics(f).horizontalAdvance(m_text);
        if (needed > textRect.width() && needed > 0)
            f.setPointSizeF(std::max(6.5, f.pointSizeF() * textRect.width() / needed));
        p.setFont(f);
        p.setPen(m_active ? kWindowColour : m_colour.lighter(115));
        p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, m_text);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton && m_onClick)
            m_onClick(m_index);
    }

private:
    int m_index;
    QColor m_colour;
    std::function<void(int)> m_onClick;
    QString m_text;
    bool m_active = false;
};

// A tab's show box: a dark box framed and ticked in the tab's colour, so
// that its state reads the same on the bright active tab and the dimmed ones.
class ShowBox : public QCheckBox {
public:
    ShowBox(QColor colour, QWidget* parent) : QCheckBox(parent), m_colour(colour) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal side = 12;
        const QRectF box(1.5, (height() - side) / 2 + 0.5, side, side);
        p.setPen(QPen(isChecked() ? m_colour.lighter(110) : QColor(0x8a, 0x8f, 0x98), 1));
        p.setBrush(QColor(0x1b, 0x1e, 0x23));
        p.drawRoundedRect(box, 2, 2);
        if (!isChecked())
            return;
        p.setPen(QPen(m_colour.lighter(125), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF tick[3] = {box.topLeft() + QPointF(2.8, 6.2), box.topLeft() + QPointF(5.2, 8.8),
                                 box.topLeft() + QPointF(9.4, 3.2)};
        p.drawPolyline(tick, 3);
    }
    bool hitButton(const QPoint&) const override { return true; }

private:
    QColor m_colour;
};

const char* const kPanelStyle = R"(
QWidget { color: #e8e2d4; font-size: 9pt; }
QLabel { background: transparent; }
QLabel:disabled { color: #7d7a72; }
QComboBox, QLineEdit {
  background: #1b1e23; border: 1px solid #4a515c; border-radius: 3px; padding: 1px 6px;
  selection-background-color: #c9a13b; selection-color: #1e2126;
}
QComboBox:disabled, QLineEdit:disabled { color: #6f6c66; border-color: #383d45; }
QComboBox:hover, QLineEdit:focus { border-color: #c9a13b; }
QComboBox QAbstractItemView { background: #1b1e23; border: 1px solid #4a515c; selection-background-color: #c9a13b; selection-color: #1e2126; }
QListWidget {
  background: #1b1e23; border: 1px solid #4a515c; border-radius: 3px; outline: 0;
}
QListWidget:disabled { color: #6f6c66; }
QListWidget::item { padding: 1px 4px; }
QListWidget::item:hover { background: #343a44; }
QListWidget::item:selected { background: #c9a13b; color: #1e2126; }
QRadioButton, QCheckBox { background: transparent; spacing: 5px; }
QRadioButton::indicator, QCheckBox::indicator {
  width: 11px; height: 11px; border: 1px solid #8a8f98; background: #1b1e23;
}
QRadioButton::indicator { border-radius: 6px; }
QCheckBox::indicator { border-radius: 2px; }
QRadioButton::indicator:checked {
  background: qradialgradient(cx:0.5, cy:0.5, radius:0.5, fx:0.5, fy:0.5,
                              stop:0 #e0b84a, stop:0.5 #e0b84a, stop:0.6 #1b1e23, stop:1 #1b1e23);
  border-color: #e0b84a;
}
QCheckBox::indicator:checked { background: #e0b84a; border-color: #1e2126; }
QRadioButton::indicator:disabled, QCheckBox::indicator:disabled { border-color: #4a515c; }
QPushButton#cmdQuit {
  background: transparent; border: none; color: #d9d2c3; font-size: 12pt; font-weight: bold;
}
QPushButton#cmdQuit:hover { color: #ff8a6a; }
QLabel#menuTitle { padding: 0 8px; border-radius: 3px; }
QLabel#menuTitle:hover { background: #363c46; }
QLabel#lblTot { color: #c9a13b; font-weight: bold; }
)";

} // namespace

// ---------------------------------------------------------------------------

frmMenu::frmMenu(World& world, PanelState& panel, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_world(world), m_panel(panel)
{
    setObjectName(QStringLiteral("frmMenu"));
    setWindowTitle(TitleText());
    setAttribute(Qt::WA_StyledBackground, false);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kWindowColour);
    setPalette(pal);
    setStyleSheet(QString::fromLatin1(kPanelStyle));
    BuildWindow();
    resize(kPanelWidth, 720);
}

frmMenu::~frmMenu() = default;

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

    m_eliteTab = new frmEliteTab(*this, m_world, m_panel, this);
    m_collectorsTab = new frmCollectorsTab(*this, m_world, m_panel, this);
    m_greensTab = new frmGreensTab(*this, m_world, m_panel, this);
    m_notesTab = new frmNotesTab(*this, m_world, m_panel, this);
    m_treasuresPetsTab = new frmTreasuresPetsTab(*this, m_world, m_panel, this);
    picTab = {m_eliteTab, m_collectorsTab, m_greensTab, m_notesTab, m_treasuresPetsTab};
    m_tabTops.assign(TabCount, kBackRowTop);
    for (int i = 0; i < TabCount; ++i) {
        QWidget* page = picTab[static_cast<std::size_t>(i)];
        page->setGeometry(kMargin, kPageTop, kPageWidth, 400);
        page->hide();
        m_tabTops[static_cast<std::size_t>(i)] = PanelLayout::TabRow(i) == 0 ? kFrontRowTop : kBackRowTop;
    }
    NameTabControls();

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

    m_search = new frmSearch(*this, m_world, m_panel);
    txtSearch = m_search->txtSearch;
    lstSearchResults = m_search->lstSearchResults;
    // Ctrl+F: also while the map, a tool window of the panel, is the active
    // window (a second shortcut on the map would make the key ambiguous).
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, m_search, &frmSearch::Focus);
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

void frmMenu::NameTabControls()
{
    const frmEliteTab& e = *m_eliteTab;
    cmbCampaign = e.cmbCampaign;
    cmbRegion = e.cmbRegion;
    cmbZone = e.cmbZone;
    cmbProfession = e.cmbProfession;
    cmbSecondaryProfession = e.cmbSecondaryProfession;
    cmbAttribute = e.cmbAttribute;
    cmbCharacter = e.cmbCharacter;
    optCapture = e.optCapture;
    txtEliteName = e.txtEliteName;
    txtEliteBossName = e.txtEliteBossName;
    lstElite = e.lstElite;
    lstLocations = e.lstLocations;
    lblTot = e.lblTot;
    lblCampaign = e.lblCampaign;
    lblRegion = e.lblRegion;
    lblZone = e.lblZone;
    lblClass = e.lblClass;
    lblSecondaryProfession = e.lblSecondaryProfession;
    lblAttribute = e.lblAttribute;
    lblEliteName = e.lblEliteName;
    lblBossName = e.lblBossName;
    lblLocations = e.lblLocations;

    const frmCollectorsTab& c = *m_collectorsTab;
    optCollType = c.optCollType;
    optCollLevel = c.optCollLevel;
    picCollLevels = c.picCollLevels;
    cmbCollReq = c.cmbCollReq;
    cmbCollHand = c.cmbCollHand;
    txtCollSearch = c.txtCollSearch;
    lstCollectors = c.lstCollectors;
    lblCollStuffType = c.lblCollStuffType;
    lblCollectorLevel = c.lblCollectorLevel;
    lblCollSearch = c.lblCollSearch;
    lblCollectors = c.lblCollectors;
    lblCollhand = c.lblCollhand;
    lblCollRequest = c.lblCollRequest;

    txtGreensName = m_greensTab->txtGreensName;
    txtGreenAdditional = m_greensTab->txtGreenAdditional;
    lstGreens = m_greensTab->lstGreens;
    lblGreenName = m_greensTab->lblGreenName;
    lblGreenAdditional = m_greensTab->lblGreenAdditional;
    lblGreensList = m_greensTab->lblGreensList;

    txtNoteShortDesc = m_notesTab->txtNoteShortDesc;
    txtNoteBody = m_notesTab->txtNoteBody;
    lstNotes = m_notesTab->lstNotes;
    lblNoteShortDesc = m_notesTab->lblNoteShortDesc;
    lblNoteBody = m_notesTab->lblNoteBody;
    lblNoteList = m_notesTab->lblNoteList;

    lstVarshaTreasures = m_treasuresPetsTab->lstVarshaTreasures;
    lstPets = m_treasuresPetsTab->lstPets;
    lstPetLocations = m_treasuresPetsTab->lstPetLocations;
    cmbTreasureCharacter = m_treasuresPetsTab->cmbTreasureCharacter;
    lblTreasures = m_treasuresPetsTab->lblTreasures;
    lblPets = m_treasuresPetsTab->lblPets;
    lblPetLocations = m_treasuresPetsTab->lblPetLocations;
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
    int x = kMargin;
    for (QLabel* l : lblMenu) {
        const int w = l->fontMetrics().horizontalAdvance(l->text()) + 18;
        l->setGeometry(x, kMenuTop, w, kMenuHeight);
        x += w + 2;
    }
    PlaceSearch(x + 6);
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
    if (!m_map)
        return;
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
    // Ctrl+P opens the progress window from the map as from the panel.
    for (QWidget* window : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_map)})
        if (!window->findChild<QShortcut*>(QStringLiteral("progressShortcut"), Qt::FindDirectChildrenOnly)) {
            auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), window);
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
    // The campaign entry is found by its item data, whatever the entries
    // before it; its change handling fills the region list without
    // filtering, and the region's runs the filters and loads the map.
    const int campaignEntry = cmbCampaign->findData(c);
    if (campaignEntry < 0)
        return;
    const bool ready = m_panel.Ready;
    m_panel.Ready = false;
    cmbCampaign->setCurrentIndex(campaignEntry);
    m_panel.Ready = ready;
    const int regionEntry = cmbRegion->findData(r);
    if (regionEntry < 1)
        return;
    if (cmbRegion->currentIndex() == regionEntry)
        FilterAllLayers(); // the region shown already: the lists and the map anew
    else
        cmbRegion->setCurrentIndex(regionEntry);
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

void frmMenu::chkShowObject_Click(int k)
{
    m_panel.chkShowObject[static_cast<std::size_t>(k)] = chkShowObject[static_cast<std::size_t>(k)]->isChecked();
    if (!m_panel.Ready || !m_map)
        return;
    if (const auto flash = mapview::FlashLayerOfShowBox(k))
        m_map->SetFlashTimerEnabled(*flash, false);
    m_map->DrawEverythingOnMap();
}

// ---- Menu bar ------------------------------------------------------------------

void frmMenu::OpenMenu(int menu)
{
    // The popup menu window is loaded once and kept.
    auto* popup = findChild<frmPopupMenu*>();
    if (!popup) {
        popup = new frmPopupMenu(m_world.language, this);
        popup->onEntryClick = [this](int m, int entry) { OnMenuEntryClick(m, entry); };
        // A press on another menu's title while one is open opens that one.
        popup->onPressOutside = [this, popup](QPoint global) {
            for (int i = 0; i < 3; ++i) {
                QLabel* title = lblMenu[static_cast<std::size_t>(i)];
                if (i != popup->OpenedMenu() && title->rect().contains(title->mapFromGlobal(global)))
                    QMetaObject::invokeMethod(
                        this, [this, i] { OpenMenu(i); }, Qt::QueuedConnection);
            }
        };
    }
    if (popup->ClosedJustNow(menu))
        return; // the click on the open menu's title closed it
    // The boxes show the current settings.
    for (int k = 0; k < TabCount; ++k)
        popup->SetValue(0, k, chkShowObject[static_cast<std::size_t>(k)]->isChecked());
    popup->SetValue(1, 0, m_panel.LegendState == 1);
    popup->SetValue(1, 1, m_panel.AlwaysOnTop == 1);
    popup->SetValue(1, 4, m_panel.HoverMode == HoverSticky);
    popup->SetValue(1, 5, m_panel.HoverMode == HoverWhileRightHeld);
    popup->SetValue(1, 6, m_panel.HoverMode == HoverFollowPointer);
    popup->OpenMenu(menu, lblMenu[static_cast<std::size_t>(menu)]);
}

void frmMenu::OnMenuEntryClick(int menu, int entry)
{
    const QString kWebSite = QString::fromUtf16(modMain::kWebSite);
    const QString kGuidePage = QString::fromUtf16(modMain::kGuidePage);
    auto run = [](const std::function<void()>& f) {
        if (f)
            f();
    };
    if (auto* popup = findChild<frmPopupMenu*>())
        popup->hide();
    switch (menu) {
    case 0:
        if (entry >= 0 && entry < TabCount)
            chkShowObject[static_cast<std::size_t>(entry)]->toggle();
        break;
    case 1:
        switch (entry) {
        case 0:
            m_panel.LegendState = m_panel.LegendState == 1 ? 0 : 1;
            run(m_commands.toggleLegend);
            break;
        case 1:
            m_panel.AlwaysOnTop = m_panel.AlwaysOnTop == 1 ? 0 : 1;
            ApplyTopMost();
            break;
        case 4:
            m_panel.HoverMode = HoverSticky;
            break;
        case 5:
            m_panel.HoverMode = HoverWhileRightHeld;
            break;
        case 6:
            m_panel.HoverMode = HoverFollowPointer;
            break;
        case 8:
            run(m_commands.manageCharacters);
            m_eliteTab->RefillCharacters();
            m_treasuresPetsTab->FillCharacters();
            FilterTreasures(true);
            RecountProgress();
            break;
        case 9:
            ShowProgress();
            break;
        default:
            break;
        }
        break;
    case 2:
        switch (entry) {
        case 0:
            run(m_commands.startUpdater);
            break;
        case 1:
            if (m_commands.openDocument)
                m_commands.openDocument(kWebSite);
            break;
        case 3:
            run(m_commands.showCredits);
            break;
        case 5:
            run(m_commands.showHistory);
            break;
        case 6:
            if (m_commands.openDocument)
                m_commands.openDocument(kGuidePage);
            break;
        case 8:
            run(m_commands.showInformation);
            break;
        case 9:
            run(m_commands.undoLastUpdate);
            break;
        default:
            break; // entry 4 does nothing
        }
        break;
    default:
        break;
    }
}

void frmMenu::ApplyTopMost()
{
    // The legend, a window of the map's, follows the panel and the map.
    QWidget* legend =
        m_map ? m_map->findChild<QWidget*>(QStringLiteral("frmLegenda"), Qt::FindDirectChildrenOnly) : nullptr;
    for (QWidget* w : {static_cast<QWidget*>(this), static_cast<QWidget*>(m_map), legend}) {
        if (!w || w->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == (m_panel.AlwaysOnTop == 1))
            continue;
        const bool visible = w->isVisible();
        w->setWindowFlag(Qt::WindowStaysOnTopHint, m_panel.AlwaysOnTop == 1);
        if (visible)
            w->show(); // changing the flag hides a shown window
    }
}

bool frmMenu::eventFilter(QObject* watched, QEvent* event)
{
    for (int i = 0; i < 3; ++i) {
        QLabel* title = lblMenu[static_cast<std::size_t>(i)];
        if (watched != title)
            continue;
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
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
        // Let the window system move the window where it can; otherwise the
        // moves below follow the pointer.
        if (windowHandle() && windowHandle()->startSystemMove())
            m_dragging = true;
    }
    AttachMap();
    QWidget::mousePressEvent(event);
}

void frmMenu::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - m_dragOffset);
    QWidget::mouseMoveEvent(event);
}

void frmMenu::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    AttachMap();
    QWidget::mouseReleaseEvent(event);
}

void frmMenu::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (m_dragging)
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
    PlaceSearch(txtSearch->x());
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
    // Pages reach down to a bottom margin as wide as the side margin.
    const int pageHeight = PanelLayout::PageHeight(height(), kPageTop, kMargin);
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

#include "panel/frmMenu.h"

#include "core/TextNumbers.h"
#include "core/modMain.h"
#include "mapview/frmMap.h"
#include "panel/PanelLayout.h"
#include "panel/PanelOptions.h"
#include "panel/modEliteTab.h"
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
#include <QSignalBlocker>
#include <QVersionNumber>
#include <QWindow>

namespace {

// ---- Geometry of the window (pixels) ------------------------------------
constexpr int kMargin = 8;            // left and right margin of the tab strip and pages
constexpr int kTitleHeight = 26;
constexpr int kMenuTop = 28;
constexpr int kMenuHeight = 20;
constexpr int kTabHeight = 24;
constexpr int kBackRowTop = 52;       // the row behind
constexpr int kFrontRowTop = kBackRowTop + kTabHeight; // the row touching the pages
constexpr int kPageTop = kFrontRowTop + kTabHeight;
constexpr int kTabWidth = (frmMenu::kPanelWidth - 2 * kMargin) / PanelLayout::kTabsPerRow;
constexpr int kPageWidth = frmMenu::kPanelWidth - 2 * kMargin;
constexpr int kPageBorder = 2;
constexpr int kRow = 26;              // one caption + control row
constexpr int kCaptionWidth = 118;
constexpr int kFieldLeft = kMargin + kCaptionWidth + 2;
constexpr int kFieldWidth = kPageWidth - kFieldLeft - kMargin;
constexpr int kControlHeight = 22;
constexpr int kLabelHeight = 18;
constexpr int kPetLocationsHeight = 120;
constexpr int kTreasuresHeight = 150;

const QColor kWindowColour(0x1e, 0x21, 0x26);
const QColor kPageColour(0x2a, 0x2e, 0x35);
const QColor kTitleColour(0xf0, 0xe6, 0xd2);
const QColor kMenuPressedColour(0x50, 0x58, 0x66);

QColor TabColour(const World& world, int tab)
{
    // Tabs 0..8 may have colours of their own in the colour table.
    if (tab >= 0 && tab < static_cast<int>(world.colourTable.size()) && world.colourTable[tab].isValid())
        return world.colourTable[tab];
    return QColor(176, 176, 176);
}

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

// A tab page: its own background framed in its tab's colour.
class TabPage : public QWidget {
public:
    TabPage(QColor colour, QWidget* parent) : QWidget(parent), m_colour(colour) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), kPageColour);
        p.setPen(QPen(m_colour, kPageBorder));
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }

private:
    QColor m_colour;
};

QLabel* Caption(QWidget* page, int x, int y, int w = kCaptionWidth)
{
    auto* l = new QLabel(page);
    l->setGeometry(x, y, w, kLabelHeight);
    return l;
}

QComboBox* Combo(QWidget* page, int y)
{
    auto* c = new QComboBox(page);
    c->setGeometry(kFieldLeft, y - 2, kFieldWidth, kControlHeight);
    c->setMaxVisibleItems(24);
    return c;
}

QLineEdit* TextBox(QWidget* page, int y)
{
    auto* t = new QLineEdit(page);
    t->setGeometry(kFieldLeft, y - 2, kFieldWidth, kControlHeight);
    t->setClearButtonEnabled(true);
    return t;
}

QListWidget* ListBox(QWidget* page, int y, int h)
{
    auto* l = new QListWidget(page);
    l->setGeometry(kMargin, y, kPageWidth - 2 * kMargin, h);
    l->setUniformItemSizes(true);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    return l;
}

QRadioButton* Option(QWidget* page, int x, int y, int w)
{
    auto* o = new QRadioButton(page);
    o->setGeometry(x, y, w, kControlHeight);
    return o;
}

void SetEnabled(bool enabled, std::initializer_list<QWidget*> widgets)
{
    for (QWidget* w : widgets)
        if (w)
            w->setEnabled(enabled);
}

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

    m_tabTops.assign(TabCount, kBackRowTop);
    for (int i = 0; i < TabCount; ++i) {
        const QColor colour = TabColour(m_world, i);
        auto* page = new TabPage(colour, this);
        page->setGeometry(kMargin, kPageTop, kPageWidth, 400);
        page->hide();
        picTab[static_cast<std::size_t>(i)] = page;
        m_tabTops[static_cast<std::size_t>(i)] = PanelLayout::TabRow(i) == 0 ? kFrontRowTop : kBackRowTop;
    }
    BuildEliteTab(picTab[TabElite]);
    BuildCollectorsTab(picTab[TabCollectors]);
    BuildGreensTab(picTab[TabGreens]);
    BuildNotesTab(picTab[TabNotes]);
    BuildTreasuresPetsTab(picTab[TabTreasuresPets]);

    for (int i = 0; i < TabCount; ++i) {
        auto* tab = new TabLabel(i, TabColour(m_world, i), this, [this](int k) { SelectTab(k); });
        lblTab[static_cast<std::size_t>(i)] = tab;
        auto* box = new QCheckBox(this);
        box->setChecked(m_panel.chkShowObject[static_cast<std::size_t>(i)]);
        box->setToolTip(QStringLiteral("Show on the map"));
        chkShowObject[static_cast<std::size_t>(i)] = box;
        connect(box, &QCheckBox::toggled, this, [this, i](bool) { chkShowObject_Click(i); });
    }
    picFalseBorder = new QWidget(this);
    picFalseBorder->setAutoFillBackground(true);
    PlaceTabLabels();
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

void frmMenu::BuildEliteTab(QWidget* page)
{
    int y = kMargin;
    lblCampaign = Caption(page, kMargin, y);
    cmbCampaign = Combo(page, y);
    y += kRow;
    lblRegion = Caption(page, kMargin, y);
    cmbRegion = Combo(page, y);
    y += kRow;
    lblZone = Caption(page, kMargin, y);
    cmbZone = Combo(page, y);
    y += kRow;
    lblClass = Caption(page, kMargin, y);
    cmbProfession = Combo(page, y);
    y += kRow;
    lblSecondaryProfession = Caption(page, kMargin, y);
    cmbSecondaryProfession = Combo(page, y);
    y += kRow;
    lblAttribute = Caption(page, kMargin, y);
    cmbAttribute = Combo(page, y);
    y += kRow + 2;
    optCapture[0] = Option(page, kMargin, y - 2, kPageWidth - 2 * kMargin);
    y += kRow - 2;
    optCapture[1] = Option(page, kMargin, y - 2, kFieldLeft - kMargin + 44);
    cmbCharacter = new QComboBox(page);
    cmbCharacter->setGeometry(kFieldLeft + 46, y - 2, kFieldWidth - 46, kControlHeight);
    y += kRow + 2;
    lblEliteName = Caption(page, kMargin, y);
    txtEliteName = TextBox(page, y);
    y += kRow;
    lblBossName = Caption(page, kMargin, y);
    txtEliteBossName = TextBox(page, y);
    y += kRow + 4;
    lblTot = Caption(page, kMargin, y, kPageWidth - 2 * kMargin);
    lblTot->setObjectName(QStringLiteral("lblTot"));
    y += kLabelHeight + 2;
    lstElite = ListBox(page, y, 120);
    lblLocations = Caption(page, kMargin, y + 125, kPageWidth - 2 * kMargin);
    lstLocations = ListBox(page, y + 125 + kLabelHeight, 80);

    auto bindCombo = [this](QComboBox* combo, PanelList& model, void (frmMenu::*handler)()) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this, &model, handler](int index) {
            model.selected = index;
            (this->*handler)();
        });
    };
    bindCombo(cmbCampaign, m_panel.cmbCampaign, &frmMenu::cmbCampaign_Click);
    bindCombo(cmbRegion, m_panel.cmbRegion, &frmMenu::cmbRegion_Click);
    bindCombo(cmbZone, m_panel.cmbZone, &frmMenu::cmbZone_Click);
    bindCombo(cmbProfession, m_panel.cmbProfession, &frmMenu::cmbProfession_Click);
    bindCombo(cmbAttribute, m_panel.cmbAttribute, &frmMenu::cmbAttribute_Click);
    connect(cmbSecondaryProfession, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_panel.cmbSecondaryProfession.selected = index;
        FilterElites(true);
    });
    connect(cmbCharacter, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_panel.cmbCharacter.selected = index;
        FilterElites(true);
    });
    for (int i = 0; i < 2; ++i)
        connect(optCapture[static_cast<std::size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on)
                return;
            m_panel.optCapture = i;
            optCapture_Click();
        });
    BindText(txtEliteName, m_panel.txtEliteName, &frmMenu::FilterElites);
    BindText(txtEliteBossName, m_panel.txtEliteBossName, &frmMenu::FilterElites);
    connect(lstElite, &QListWidget::currentRowChanged, this, [this](int row) {
        m_panel.lstElite.selected = row;
        lstElite_Click();
    });
    connect(lstElite, &QListWidget::itemDoubleClicked, this, [this] {
        if (m_panel.lstElite.hasSelection() && m_commands.markEliteAsCaptured)
            m_commands.markEliteAsCaptured(m_panel.lstElite.selectedData());
    });
    connect(lstLocations, &QListWidget::currentRowChanged, this, [this](int row) {
        m_panel.lstLocations.selected = row;
        if (row >= 0)
            SelectEliteLocation();
    });
    // A second click on the chosen place centres the map on it again.
    connect(lstLocations, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (lstLocations->row(item) == m_panel.lstLocations.selected && m_map)
            SelectEliteLocation();
    });
}

void frmMenu::BuildCollectorsTab(QWidget* page)
{
    const int third = (kPageWidth - 2 * kMargin) / 3;
    int y = kMargin;
    lblCollStuffType = Caption(page, kMargin, y, kPageWidth - 2 * kMargin);
    y += kLabelHeight;
    for (int i = 0; i < 3; ++i)
        optCollType[static_cast<std::size_t>(i)] = Option(page, kMargin + i * third, y, third);
    y += kRow;
    lblCollectorLevel = Caption(page, kMargin, y, kPageWidth - 2 * kMargin);
    y += kLabelHeight;
    picCollLevels = new QWidget(page);
    picCollLevels->setGeometry(kMargin, y, kPageWidth - 2 * kMargin, kControlHeight);
    for (int i = 0; i < 3; ++i)
        optCollLevel[static_cast<std::size_t>(i)] = Option(picCollLevels, i * third, 0, third);
    y += kRow + 4;
    lblCollhand = Caption(page, kMargin, y);
    cmbCollHand = Combo(page, y);
    y += kRow;
    lblCollRequest = Caption(page, kMargin, y);
    cmbCollReq = Combo(page, y);
    cmbCollReq->setMaxVisibleItems(20);
    y += kRow;
    lblCollSearch = Caption(page, kMargin, y);
    txtCollSearch = TextBox(page, y);
    y += kRow + 4;
    lblCollectors = Caption(page, kMargin, y, kPageWidth - 2 * kMargin);
    lstCollectors = ListBox(page, y + kLabelHeight + 2, 100);
    optCollType[0]->setChecked(true);

    for (int i = 0; i < 3; ++i) {
        connect(optCollType[static_cast<std::size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on)
                return;
            m_panel.optCollType = i;
            if (i == 2) {
                // Armour has no hand: back to the first entry without filtering twice.
                const bool ready = m_panel.Ready;
                m_panel.Ready = false;
                cmbCollHand->setCurrentIndex(0);
                m_panel.Ready = ready;
            }
            SetEnabled(i != 2, {cmbCollHand, lblCollhand});
            FilterCollectors(true);
        });
        connect(optCollLevel[static_cast<std::size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on)
                return;
            m_panel.optCollLevel = i;
            // The request list follows the level with the collectors layer.
            FilterCollectors(true);
        });
    }
    connect(cmbCollHand, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_panel.cmbCollHand.selected = index;
        FilterCollectors(true);
    });
    connect(cmbCollReq, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_panel.cmbCollReq.selected = index;
        FilterCollectors(true);
    });
    BindText(txtCollSearch, m_panel.txtCollSearch, &frmMenu::FilterCollectors);
    BindSelection(lstCollectors, m_panel.lstCollectors);
}

void frmMenu::BindText(QLineEdit* box, QString& state, void (frmMenu::*filter)(bool))
{
    connect(box, &QLineEdit::textChanged, this, [this, &state, filter](const QString& text) {
        state = text;
        (this->*filter)(true);
    });
}

void frmMenu::BindSelection(QListWidget* list, PanelList& state)
{
    connect(list, &QListWidget::currentRowChanged, this, [&state](int row) { state.selected = row; });
}

QListWidget* frmMenu::BuildTwoFilterPage(QWidget* page, std::array<QLabel**, 3> captions,
                                         std::array<QLineEdit**, 2> boxes)
{
    int y = kMargin;
    for (std::size_t i = 0; i < boxes.size(); ++i, y += kRow) {
        *captions[i] = Caption(page, kMargin, y);
        *boxes[i] = TextBox(page, y);
    }
    y += 4;
    *captions[2] = Caption(page, kMargin, y, kPageWidth - 2 * kMargin);
    return ListBox(page, y + kLabelHeight + 2, 100);
}

void frmMenu::BuildGreensTab(QWidget* page)
{
    lstGreens = BuildTwoFilterPage(page, {&lblGreenName, &lblGreenAdditional, &lblGreensList},
                                   {&txtGreensName, &txtGreenAdditional});
    BindText(txtGreensName, m_panel.txtGreensName, &frmMenu::FilterGreens);
    BindText(txtGreenAdditional, m_panel.txtGreenAdditional, &frmMenu::FilterGreens);
    BindSelection(lstGreens, m_panel.lstGreens);
}

void frmMenu::BuildNotesTab(QWidget* page)
{
    lstNotes = BuildTwoFilterPage(page, {&lblNoteShortDesc, &lblNoteBody, &lblNoteList},
                                  {&txtNoteShortDesc, &txtNoteBody});
    BindText(txtNoteShortDesc, m_panel.txtNoteShortDesc, &frmMenu::FilterNotes);
    BindText(txtNoteBody, m_panel.txtNoteBody, &frmMenu::FilterNotes);
    BindSelection(lstNotes, m_panel.lstNotes);
}

void frmMenu::BuildTreasuresPetsTab(QWidget* page)
{
    int y = kMargin;
    lblTreasures = Caption(page, kMargin, y, kPageWidth - 2 * kMargin);
    y += kLabelHeight + 2;
    lstVarshaTreasures = ListBox(page, y, kTreasuresHeight);
    y += kTreasuresHeight + 6;
    lblPets = Caption(page, kMargin, y, kPageWidth - 2 * kMargin);
    lstPets = ListBox(page, y + kLabelHeight + 2, 100);
    lblPetLocations = Caption(page, kMargin, y + 120, kPageWidth - 2 * kMargin);
    lstPetLocations = ListBox(page, y + 140, kPetLocationsHeight);

    // Treasures and pet places share one selection marker: choosing one
    // clears the other.
    connect(lstVarshaTreasures, &QListWidget::currentRowChanged, this, [this](int row) {
        m_panel.lstVarshaTreasures.selected = row;
        if (row < 0)
            return;
        const QSignalBlocker b1(lstPetLocations), b2(lstPets);
        lstPetLocations->setCurrentRow(-1);
        lstPets->setCurrentRow(-1);
        m_panel.lstPetLocations.selected = -1;
        m_panel.lstPets.selected = -1;
    });
    BindSelection(lstPets, m_panel.lstPets);
    connect(lstPetLocations, &QListWidget::currentRowChanged, this, [this](int row) {
        m_panel.lstPetLocations.selected = row;
        if (row < 0)
            return;
        const QSignalBlocker b(lstVarshaTreasures);
        lstVarshaTreasures->setCurrentRow(-1);
        m_panel.lstVarshaTreasures.selected = -1;
    });
}

// ---- Load, captions, options ----------------------------------------------

void frmMenu::Load()
{
    m_panel.Ready = false;
    const auto& lang = m_world.language;
    // The campaign list (its selection fills the region and zone lists).
    ShowCombo(cmbCampaign, m_panel.cmbCampaign, modPanelLists::FillCampaignList(m_world.campaigns, lang), nullptr);
    cmbCampaign_Click();
    ShowCombo(cmbProfession, m_panel.cmbProfession,
              modPanelLists::FillProfessionCombo(m_world.professions, lang, Text::AllEntry), lblClass);
    cmbProfession_Click();
    ShowCombo(cmbSecondaryProfession, m_panel.cmbSecondaryProfession,
              modPanelLists::FillProfessionCombo(m_world.professions, lang, Text::AnySecondary),
              lblSecondaryProfession);
    SetEnabled(false, {cmbSecondaryProfession, lblSecondaryProfession});
    ShowCombo(cmbCharacter, m_panel.cmbCharacter, modPanelLists::FillCharacterCombo(m_world.characters, lang),
              nullptr);
    {
        // The hand filter: all, then one-handed, off-hand, two-handed, focus.
        modPanelLists::ComboFill hand;
        hand.list.entries = {{modPanelLists::FirstEntryText(lang, Text::AllEntry), 0},
                             {lang(Text::HandOne), 1},
                             {lang(Text::HandOff), 2},
                             {lang(Text::HandTwo), 4},
                             {lang(Text::HandRanged), 8}};
        hand.list.selected = 0;
        ShowCombo(cmbCollHand, m_panel.cmbCollHand, hand, lblCollhand);
    }
    // Drop-down lists long enough for every entry.
    for (QComboBox* combo : {cmbProfession, cmbSecondaryProfession, cmbCharacter})
        combo->setMaxVisibleItems(std::max(1, combo->count()));
    ApplyOptions();
    m_panel.Ready = true;
    FilterAllLayers();

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
    const int tabTexts[TabCount] = {Text::TabElites, Text::TabCollectors, Text::TabGreens, Text::TabNotes,
                                    Text::TabTreasuresPets};
    for (int i = 0; i < TabCount; ++i)
        static_cast<TabLabel*>(lblTab[static_cast<std::size_t>(i)])->setText(t(tabTexts[i]));

    lblCampaign->setText(t(Text::Campaign));
    lblRegion->setText(t(Text::Region));
    lblZone->setText(t(Text::Zone));
    lblClass->setText(t(Text::Profession));
    lblSecondaryProfession->setText(t(Text::SecondaryProfession));
    optCapture[0]->setText(t(Text::AllSkills));
    optCapture[1]->setText(t(Text::NotCapturedBy));
    lblEliteName->setText(t(Text::EliteName));
    lblBossName->setText(t(Text::BossName));
    lblLocations->setText(t(Text::Locations));
    lblAttribute->setText(t(Text::Attribute));

    lblCollStuffType->setText(t(Text::CollectorStuffType));
    lblCollectorLevel->setText(t(Text::CollectorLevel));
    lblCollSearch->setText(t(Text::Search));
    lblCollectors->setText(t(Text::Collectors));
    lblCollhand->setText(t(Text::CollectorHand));
    lblCollRequest->setText(t(Text::CollectorRequest));
    const int collTypes[3] = {Text::AllEntry, Text::WeaponCollectors, Text::ArmourCollectors};
    const int collLevels[3] = {Text::AllEntry, Text::LowLevel, Text::HighLevel};
    for (int i = 0; i < 3; ++i) {
        optCollType[static_cast<std::size_t>(i)]->setText(t(collTypes[i]));
        optCollLevel[static_cast<std::size_t>(i)]->setText(t(collLevels[i]));
    }
    lblGreenAdditional->setText(t(Text::Search));
    lblGreenName->setText(t(Text::GreenName));
    lblGreensList->setText(t(Text::GreenItems));
    lblNoteShortDesc->setText(t(Text::NoteShortDescFilter));
    lblNoteBody->setText(t(Text::NoteBodyFilter));
    lblNoteList->setText(t(Text::Notes));
    lblTreasures->setText(t(Text::Treasures) + QStringLiteral(": 0"));
    lblPets->setText(t(Text::Pets));
    lblPetLocations->setText(t(Text::PetLocations));
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

void frmMenu::ApplyOptions()
{
    const auto& s = m_world.settings;
    auto select = [](QComboBox* combo, int saved) {
        const int index = PanelOptions::ApplicableIndex(saved, combo->count());
        if (index >= 0)
            combo->setCurrentIndex(index); // runs the combo's change handling
    };
    select(cmbCampaign, s.Campaign);
    select(cmbRegion, s.Region);
    select(cmbZone, s.Zone);
    select(cmbProfession, s.Profession);
    select(cmbSecondaryProfession, s.SecondaryProfession);

    PanelOptions::ApplyToState(s, m_panel);
    optCapture[static_cast<std::size_t>(m_panel.optCapture)]->setChecked(true);
    optCapture_Click();
    if (!s.AllElite)
        select(cmbCharacter, s.Character);
    for (int k = 0; k < TabCount; ++k) {
        const QSignalBlocker block(chkShowObject[static_cast<std::size_t>(k)]);
        chkShowObject[static_cast<std::size_t>(k)]->setChecked(m_panel.chkShowObject[static_cast<std::size_t>(k)]);
    }
    {
        const QSignalBlocker block(optCollLevel[static_cast<std::size_t>(m_panel.optCollLevel)]);
        optCollLevel[static_cast<std::size_t>(m_panel.optCollLevel)]->setChecked(true);
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

// ---- Lists -----------------------------------------------------------------

void frmMenu::ShowCombo(QComboBox* combo, PanelList& model, const modPanelLists::ComboFill& fill, QLabel* caption)
{
    model = fill.list;
    {
        const QSignalBlocker block(combo);
        combo->clear();
        for (const auto& e : fill.list.entries)
            combo->addItem(e.text, e.data);
        combo->setCurrentIndex(fill.list.selected);
    }
    SetEnabled(fill.enabled, {combo, caption});
}

void frmMenu::ShowList(QListWidget* list, PanelList& model, std::vector<PanelEntry> entries)
{
    model.entries = std::move(entries);
    model.selected = -1;
    const QSignalBlocker block(list);
    list->setUpdatesEnabled(false);
    list->clear();
    // One insertion for every row (a filter may list thousands); the item data
    // are not shown, so the view need not hear of them.
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(model.entries.size()));
    for (const auto& e : model.entries)
        texts.append(e.text);
    list->addItems(texts);
    {
        const QSignalBlocker quiet(list->model());
        for (int i = 0; i < model.size(); ++i)
            list->item(i)->setData(Qt::UserRole, model.entries[static_cast<std::size_t>(i)].data);
    }
    list->setCurrentRow(-1);
    list->setUpdatesEnabled(true);
}

void frmMenu::RedrawMap()
{
    if (m_map)
        m_map->UpdateMapWithNewEliteSkills();
}

// ---- Elite tab handlers --------------------------------------------------

void frmMenu::FillRegionList()
{
    ShowCombo(cmbRegion, m_panel.cmbRegion,
              modPanelLists::FillRegionList(m_world.campaigns, m_world.language, m_panel.ChosenCampaign()), lblRegion);
    cmbRegion->setMaxVisibleItems(std::max(1, cmbRegion->count()));
    if (m_panel.cmbRegion.hasSelection())
        cmbRegion_Click();
}

void frmMenu::FillZoneList()
{
    const int r = m_panel.cmbRegion.selected > 0 ? m_panel.cmbRegion.selectedData(0) : 0;
    ShowCombo(cmbZone, m_panel.cmbZone,
              modPanelLists::FillZoneList(m_world.campaigns, m_world.language, m_panel.ChosenCampaign(), r), lblZone);
    cmbZone->setMaxVisibleItems(std::max(1, cmbZone->count()));
}

void frmMenu::FillAttributeCombo()
{
    ShowCombo(cmbAttribute, m_panel.cmbAttribute,
              modPanelLists::FillAttributeCombo(m_world.professions, m_world.language,
                                                m_panel.cmbProfession.selectedData(0)),
              lblAttribute);
}

void frmMenu::cmbCampaign_Click()
{
    const bool ready = m_panel.Ready;
    m_panel.Ready = false;
    FillRegionList();
    FillZoneList();
    m_panel.Ready = ready;
    FilterAllLayers();
}

void frmMenu::cmbRegion_Click()
{
    if (m_map) {
        const int c = m_panel.ChosenCampaign();
        const int r = m_panel.ChosenRegion();
        if (r > 0 && modCampaigns::RegionExists(m_world.campaigns, c, r)) {
            QString picture = m_world.campaigns[static_cast<std::size_t>(c)].Regions[static_cast<std::size_t>(r)].ImagePath;
            m_map->InizializzaVariabili(picture, c, r);
        } else {
            QString none;
            m_map->InizializzaVariabili(none, -1, -1);
        }
    }
    FillZoneList();
    FilterAllLayers();
}

void frmMenu::cmbZone_Click()
{
    FilterAllLayers();
    if (m_panel.Ready && !m_panel.lstElite.empty() && m_panel.cmbZone.selected > 0)
        lstElite->setCurrentRow(0);
}

void frmMenu::cmbProfession_Click()
{
    const bool ready = m_panel.Ready;
    m_panel.Ready = false;
    FillAttributeCombo();
    m_panel.Ready = ready;
    SetEnabled(m_panel.cmbProfession.selected > 0, {cmbSecondaryProfession, lblSecondaryProfession});
    FilterProfessionLayers();
}

void frmMenu::cmbAttribute_Click()
{
    FilterProfessionLayers();
}

void frmMenu::optCapture_Click()
{
    cmbCharacter->setEnabled(m_panel.optCapture == 1);
    FilterElites(true);
}

void frmMenu::FilterElites(bool redraw)
{
    if (!m_panel.Ready)
        return;
    if (m_map)
        m_map->HideInformationWindows();
    ShowList(lstElite, m_panel.lstElite,
             modEliteTab::FilterEliteEntries(m_world.elite, m_world.professions, m_world.campaigns, m_panel));
    ShowList(lstLocations, m_panel.lstLocations, {});
    SetEnabled(false, {lstLocations, lblLocations});
    lblTot->setText(m_world.language(Text::EliteSkills) + QStringLiteral(": ") +
                    QString::number(m_panel.lstElite.size()));
    if (redraw)
        RedrawMap();
}

void frmMenu::lstElite_Click()
{
    if (!m_panel.lstElite.hasSelection())
        return;
    const int elite = m_panel.lstElite.selectedData();
    ShowList(lstLocations, m_panel.lstLocations,
             modEliteTab::EliteLocationEntries(m_world.elite, m_world.campaigns, m_panel, elite));
    const bool hasPlaces = elite >= 0 && elite <= m_world.elite.highest() &&
                           m_world.elite.EliteSkills[static_cast<std::size_t>(elite)].Locations.size() > 1;
    SetEnabled(hasPlaces, {lstLocations, lblLocations});
    if (!m_panel.lstLocations.empty())
        lstLocations->setCurrentRow(0); // runs SelectEliteLocation
}

void frmMenu::SelectEliteLocation()
{
    if (!m_map || !m_panel.lstElite.hasSelection() || !m_panel.lstLocations.hasSelection())
        return;
    const int elite = m_panel.lstElite.selectedData();
    const int index = m_panel.lstLocations.selectedData();
    if (elite < 0 || elite > m_world.elite.highest())
        return;
    const auto& locations = m_world.elite.EliteSkills[static_cast<std::size_t>(elite)].Locations;
    if (index < 1 || index >= static_cast<int>(locations.size()))
        return;
    const auto& l = locations[static_cast<std::size_t>(index)];
    QString picture;
    if (modCampaigns::RegionExists(m_world.campaigns, l.Campaign, l.Region))
        picture = m_world.campaigns[l.Campaign].Regions[l.Region].ImagePath;
    m_map->InizializzaVariabili(picture, l.Campaign, l.Region);
    m_map->UpdateMapWithNewEliteSkills();
    m_map->CenterMapOn(l.X, l.Y);
}

// ---- Filter chains -------------------------------------------------------------

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

// ---- The other layers' filters ----------------------------------------------
// Their lists arrive with their layers; until then each keeps the contract:
// nothing while the panel is not ready, and a redraw when asked for one.

void frmMenu::PendingLayerFilter(bool redraw)
{
    if (m_panel.Ready && redraw)
        RedrawMap();
}

void frmMenu::FilterCollectors(bool redraw) { PendingLayerFilter(redraw); }
void frmMenu::FilterGreens(bool redraw) { PendingLayerFilter(redraw); }
void frmMenu::FilterNotes(bool redraw) { PendingLayerFilter(redraw); }
void frmMenu::FilterTreasures(bool redraw) { PendingLayerFilter(redraw); }
void frmMenu::FilterPets(bool redraw) { PendingLayerFilter(redraw); }

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
    const QColor colour = TabColour(m_world, i);
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
                    QMetaObject::invokeMethod(this, [this, i] { OpenMenu(i); }, Qt::QueuedConnection);
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
        case 4: m_panel.HoverMode = HoverSticky; break;
        case 5: m_panel.HoverMode = HoverWhileRightHeld; break;
        case 6: m_panel.HoverMode = HoverFollowPointer; break;
        case 8:
            run(m_commands.manageCharacters);
            optCapture[0]->setChecked(true);
            ShowCombo(cmbCharacter, m_panel.cmbCharacter,
                      modPanelLists::FillCharacterCombo(m_world.characters, m_world.language), nullptr);
            cmbCharacter->setEnabled(false);
            break;
        default: break;
        }
        break;
    case 2:
        switch (entry) {
        case 0: run(m_commands.startUpdater); break;
        case 1:
            if (m_commands.openDocument)
                m_commands.openDocument(kWebSite);
            break;
        case 3: run(m_commands.showCredits); break;
        case 5: run(m_commands.showHistory); break;
        case 6:
            if (m_commands.openDocument)
                m_commands.openDocument(kGuidePage);
            break;
        case 8: run(m_commands.showInformation); break;
        default: break; // entry 4 does nothing
        }
        break;
    default: break;
    }
}

void frmMenu::ApplyTopMost()
{
    // The legend, a window of the map's, follows the panel and the map.
    QWidget* legend = m_map ? m_map->findChild<QWidget*>(QStringLiteral("frmLegenda"), Qt::FindDirectChildrenOnly)
                            : nullptr;
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
    p.setPen(QPen(TabColour(m_world, TabElite).darker(160), 1));
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
}

void frmMenu::LayOutPages()
{
    // Pages reach down to a bottom margin as wide as the side margin.
    const int pageHeight = PanelLayout::PageHeight(height(), kPageTop, kMargin);
    for (QWidget* page : picTab)
        page->setGeometry(kMargin, kPageTop, kPageWidth, pageHeight);
    const int inner = pageHeight - kPageBorder;

    const auto elite = PanelLayout::LayOutElitePage(inner, lstElite->y(), kLabelHeight, 0);
    lstLocations->resize(lstLocations->width(), elite.listHeight);
    const auto placed = PanelLayout::LayOutElitePage(inner, lstElite->y(), kLabelHeight, lstLocations->height());
    lstLocations->move(lstLocations->x(), placed.lstLocationsTop);
    lblLocations->move(lblLocations->x(), placed.lblLocationsTop);
    lstElite->resize(lstElite->width(), elite.listHeight);

    for (QListWidget* list : {lstCollectors, lstGreens, lstNotes})
        list->resize(list->width(), PanelLayout::ListHeightToBottom(inner, list->y()));

    lstPetLocations->move(lstPetLocations->x(), inner - lstPetLocations->height() - 5);
    lblPetLocations->move(lblPetLocations->x(), lstPetLocations->y() - 1 - lblPetLocations->height());
    lstPets->resize(lstPets->width(), std::max(0, lblPetLocations->y() - 2 - lstPets->y()));
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

#include "panel/frmProgress.h"

#include "core/TextNumbers.h"
#include "panel/frmEliteTab.h"
#include "panel/frmMenu.h"
#include "panel/frmTreasuresPetsTab.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The panel's colours.
const QColor kWindowColour(0x1e, 0x21, 0x26);
const QColor kCellColour(0x1b, 0x1e, 0x23);
const QColor kTextColour(0xe8, 0xe2, 0xd4);
const QColor kHeadingColour(0xc9, 0xa1, 0x3b);
const QColor kBarBack(0x34, 0x3a, 0x44);
const QColor kBarColour(0xc9, 0xa1, 0x3b);
const QColor kBarFull(0x7f, 0xb0, 0x5a);
const QColor kCurrentColour(0x50, 0x58, 0x66);

const char* const kStyle = R"(
QWidget { color: #e8e2d4; font-size: 9pt; }
QTableWidget { background: #1b1e23; border: 1px solid #4a515c; gridline-color: #2f343c; outline: 0; }
QHeaderView::section { background: #2a2e35; color: #f0e6d2; border: 0; border-right: 1px solid #1e2126;
  border-bottom: 1px solid #4a515c; padding: 3px 8px; font-weight: bold; }
QTableCornerButton::section { background: #2a2e35; border: 0; }
QScrollBar { background: #1e2126; }
)";

// Item data of a cell.
enum Role : int {
    RowRole = Qt::UserRole, // overview row; -1 for a heading
    DoneRole = Qt::UserRole + 1,
    TotalRole = Qt::UserRole + 2,
    KindRole = Qt::UserRole + 3, // 0 caption, 1 heading, 2 count, 3 total caption
};
constexpr int kCaptionCell = 0, kHeadingCell = 1, kCountCell = 2, kTotalCaption = 3;
constexpr int kRowHeight = 30;
constexpr int kCountWidth = 96;

// Paints a count as "done / total" above a small bar, captions and headings
// as plain text.
class CellPainter : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        p->save();
        const QRect r = option.rect;
        const int kind = index.data(KindRole).toInt();
        const bool current = (option.state & QStyle::State_HasFocus) || (option.state & QStyle::State_Selected);
        p->fillRect(r, current && kind == kCountCell ? kCurrentColour : kCellColour);
        QFont f = option.font;
        if (kind == kCountCell) {
            const int done = index.data(DoneRole).toInt();
            const int total = std::max(1, index.data(TotalRole).toInt());
            p->setPen(kTextColour);
            p->setFont(f);
            p->drawText(r.adjusted(4, 2, -4, -9), Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
            const QRect bar(r.left() + 8, r.bottom() - 8, r.width() - 16, 4);
            p->fillRect(bar, kBarBack);
            const double share = static_cast<double>(done) / static_cast<double>(total);
            const int filled = static_cast<int>(std::lround(static_cast<double>(bar.width()) * share));
            if (filled > 0)
                p->fillRect(QRect(bar.left(), bar.top(), filled, bar.height()), done >= total ? kBarFull : kBarColour);
        }
        p->restore();
    }
};

// The row captions, kept in view when the counts scroll sideways: campaign
// and profession names, the total row and the headings above each group.
class RowCaptions : public QHeaderView {
public:
    explicit RowCaptions(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}

protected:
    void paintSection(QPainter* p, const QRect& r, int section) const override
    {
        p->save();
        const int kind = model()->headerData(section, Qt::Vertical, KindRole).toInt();
        p->fillRect(r, kCellColour);
        p->setPen(QColor(0x2f, 0x34, 0x3c));
        p->drawLine(r.bottomLeft(), r.bottomRight());
        p->drawLine(r.topRight(), r.bottomRight());
        QFont f = font();
        f.setBold(kind != kCaptionCell);
        p->setFont(f);
        p->setPen(kind == kHeadingCell ? kHeadingColour : kTextColour);
        p->drawText(r.adjusted(8, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft,
                    model()->headerData(section, Qt::Vertical, Qt::DisplayRole).toString());
        p->restore();
    }
};

QTableWidgetItem* Item(const QString& text, int kind, int row)
{
    auto* item = new QTableWidgetItem(text);
    item->setData(KindRole, kind);
    item->setData(RowRole, row);
    // Only count cells take the cursor; captions and headings are passed over.
    item->setFlags(kind == kCountCell ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags);
    return item;
}

} // namespace

frmProgress::frmProgress(frmMenu& menu, World& world, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_menu(menu), m_world(world)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(world.language(Text::ProgressTitle));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kWindowColour);
    setPalette(pal);
    setStyleSheet(QString::fromLatin1(kStyle));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    lblNoCharacters = new QLabel(this);
    lblNoCharacters->setAlignment(Qt::AlignCenter);
    lblNoCharacters->setText(world.language(Text::NoCharacters));
    layout->addWidget(lblNoCharacters);
    tblProgress = new QTableWidget(this);
    tblProgress->setObjectName(QStringLiteral("tblProgress"));
    tblProgress->setItemDelegate(new CellPainter(tblProgress));
    tblProgress->setSelectionMode(QAbstractItemView::SingleSelection);
    tblProgress->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblProgress->setShowGrid(true);
    tblProgress->setVerticalHeader(new RowCaptions(tblProgress));
    tblProgress->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblProgress->verticalHeader()->setDefaultSectionSize(kRowHeight);
    tblProgress->horizontalHeader()->setHighlightSections(false);
    tblProgress->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    tblProgress->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    tblProgress->installEventFilter(this);
    layout->addWidget(tblProgress);
    connect(tblProgress, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (const QTableWidgetItem* item = tblProgress->item(row, column);
            item && item->data(KindRole).toInt() == kCountCell)
            ChooseCell(item->data(RowRole).toInt(), column);
    });
}

int frmProgress::TableRow(int row) const
{
    return row >= 0 && row < static_cast<int>(m_tableRowOf.size()) ? m_tableRowOf[static_cast<std::size_t>(row)] : -1;
}

void frmProgress::Rebuild()
{
    const int line = tblProgress->currentRow();
    const int column = tblProgress->currentColumn();
    m_overview = modProgress::BuildOverview(m_world);
    Fill();
    FitToContent();
    // The cursor stays on its count, else goes to the first one, so that the
    // keyboard works at once.
    if (const QTableWidgetItem* item = tblProgress->item(line, column);
        item && item->data(KindRole).toInt() == kCountCell)
        tblProgress->setCurrentCell(line, column);
    else if (!m_overview.rows.empty() && !m_overview.characters.empty())
        tblProgress->setCurrentCell(TableRow(0), 0);
}

void frmProgress::Recount(const std::vector<int>& characters)
{
    for (int character : characters)
        if (!modProgress::UpdateCharacter(m_world, m_overview, character)) {
            m_overview = modProgress::BuildOverview(m_world);
            Fill();
            return;
        }
    for (int character : characters)
        FillColumn(m_overview.column(character));
}

void frmProgress::Fill()
{
    using modProgress::RowKind;
    const auto& t = m_world.language;
    const bool none = m_overview.characters.empty();
    lblNoCharacters->setVisible(none);
    tblProgress->setVisible(!none);
    tblProgress->clear();
    const int columns = static_cast<int>(m_overview.characters.size());
    tblProgress->setColumnCount(columns);
    tblProgress->setHorizontalHeaderLabels(QStringList(m_overview.names.begin(), m_overview.names.end()));

    // Headings before the campaign, profession and chest rows.
    std::vector<std::pair<QString, int>> lines; // heading text or overview row
    RowKind previous = RowKind::Total;
    bool first = true;
    for (int r = 0; r < static_cast<int>(m_overview.rows.size()); ++r) {
        const RowKind kind = m_overview.rows[static_cast<std::size_t>(r)].kind;
        if ((first || kind != previous) && kind != RowKind::Total)
            lines.emplace_back(t(kind == RowKind::Campaign     ? Text::Campaign
                                 : kind == RowKind::Profession ? Text::Profession
                                                               : Text::ChestsOpened),
                               -1);
        lines.emplace_back(QString(), r);
        previous = kind;
        first = false;
    }
    tblProgress->setRowCount(static_cast<int>(lines.size()));
    m_tableRowOf.assign(m_overview.rows.size(), -1);
    for (int line = 0; line < static_cast<int>(lines.size()); ++line) {
        const auto& [heading, r] = lines[static_cast<std::size_t>(line)];
        if (r < 0) {
            tblProgress->setVerticalHeaderItem(line, Item(heading, kHeadingCell, -1));
            continue;
        }
        m_tableRowOf[static_cast<std::size_t>(r)] = line;
        const modProgress::Row& row = m_overview.rows[static_cast<std::size_t>(r)];
        const bool total = row.kind == RowKind::Total;
        tblProgress->setVerticalHeaderItem(
            line, Item(total ? t(Text::ProgressTotal) : row.name, total ? kTotalCaption : kCaptionCell, r));
    }
    for (int c = 0; c < columns; ++c)
        FillColumn(c);
}

void frmProgress::FillColumn(int column)
{
    if (column < 0 || column >= static_cast<int>(m_overview.characters.size()))
        return;
    for (int r = 0; r < static_cast<int>(m_overview.rows.size()); ++r) {
        const modProgress::Row& row = m_overview.rows[static_cast<std::size_t>(r)];
        const int done = row.done[static_cast<std::size_t>(column)];
        QTableWidgetItem* item = tblProgress->item(TableRow(r), column);
        if (!item) {
            item = Item(QString(), kCountCell, r);
            tblProgress->setItem(TableRow(r), column, item);
        }
        item->setText(QStringLiteral("%1 / %2").arg(done).arg(row.total));
        item->setData(DoneRole, done);
        item->setData(TotalRole, row.total);
        item->setToolTip(m_overview.names[static_cast<std::size_t>(column)] + QStringLiteral(": ") +
                         (row.kind == modProgress::RowKind::Total ? m_world.language(Text::ProgressTotal) : row.name));
    }
}

void frmProgress::FitToContent()
{
    const QFontMetrics metrics(font());
    int captionWidth = 0;
    QFont bold = font();
    bold.setBold(true);
    for (int line = 0; line < tblProgress->rowCount(); ++line)
        if (const QTableWidgetItem* item = tblProgress->verticalHeaderItem(line))
            captionWidth = std::max(captionWidth, QFontMetrics(bold).horizontalAdvance(item->text()));
    tblProgress->verticalHeader()->setFixedWidth(captionWidth + 24);
    QFont headerFont = tblProgress->horizontalHeader()->font();
    headerFont.setBold(true);
    for (int c = 0; c < tblProgress->columnCount(); ++c) {
        const QString name = tblProgress->horizontalHeaderItem(c) ? tblProgress->horizontalHeaderItem(c)->text() : "";
        tblProgress->setColumnWidth(c, std::max(kCountWidth, QFontMetrics(headerFont).horizontalAdvance(name) + 24));
    }
    if (m_overview.characters.empty()) {
        resize(std::max(320, metrics.horizontalAdvance(lblNoCharacters->text()) + 60), 140);
        return;
    }
    int width = tblProgress->verticalHeader()->width();
    for (int c = 0; c < tblProgress->columnCount(); ++c)
        width += tblProgress->columnWidth(c);
    const int height = tblProgress->rowCount() * kRowHeight + tblProgress->horizontalHeader()->sizeHint().height();
    const int scrollBar = tblProgress->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QRect screen = (this->screen() ? this->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    const int maxWidth = screen.width() * 9 / 10;
    const int maxHeight = screen.height() * 8 / 10;
    // Room for a scroll bar where the other direction does not fit.
    int w = width + 2 * tblProgress->frameWidth() + 16;
    int h = height + 2 * tblProgress->frameWidth() + 16;
    if (h > maxHeight)
        w += scrollBar;
    if (w > maxWidth)
        h += scrollBar;
    resize(std::min(w, maxWidth), std::min(h, maxHeight));
    KeepOnScreen();
}

void frmProgress::KeepOnScreen()
{
    // Wholly on the screen, title bar included.
    const QRect screen = (this->screen() ? this->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    const QRect frame = frameGeometry();
    const int x = std::clamp(frame.x(), screen.left(), std::max(screen.left(), screen.right() + 1 - frame.width()));
    const int y = std::clamp(frame.y(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - frame.height()));
    move(pos() + QPoint(x - frame.x(), y - frame.y()));
}

void frmProgress::ChooseCell(int row, int column)
{
    using modProgress::RowKind;
    if (row < 0 || row >= static_cast<int>(m_overview.rows.size()) || column < 0 ||
        column >= static_cast<int>(m_overview.characters.size()))
        return;
    const modProgress::Row& chosen = m_overview.rows[static_cast<std::size_t>(row)];
    const int character = m_overview.characters[static_cast<std::size_t>(column)];
    // The row's campaign (or the one shown), every zone, and a region that
    // holds something the character lacks, so the map keeps a picture.
    const modProgress::Area area =
        modProgress::RegionToShow(m_world, chosen, character,
                                  {m_menu.Context().panel().ChosenCampaign(), m_menu.Context().panel().ChosenRegion()});
    if (chosen.kind == RowKind::Chests) {
        m_menu.TreasuresPetsTab().RevealNotOpened(character, area.campaign, area.region);
        m_menu.SelectTab(TabTreasuresPets);
        return;
    }
    m_menu.EliteTab().RevealMissing(character, area.campaign, chosen.kind == RowKind::Profession ? chosen.number : 0,
                                    area.region);
    m_menu.SelectTab(TabElite);
}

bool frmProgress::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tblProgress && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (const QTableWidgetItem* item = tblProgress->currentItem();
                item && item->data(KindRole).toInt() == kCountCell)
                ChooseCell(item->data(RowRole).toInt(), tblProgress->currentColumn());
            return true;
        case Qt::Key_Escape:
            close();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right: {
            // To the next count that way, over headings and captions.
            const int down = key->key() == Qt::Key_Down ? 1 : key->key() == Qt::Key_Up ? -1 : 0;
            const int right = key->key() == Qt::Key_Right ? 1 : key->key() == Qt::Key_Left ? -1 : 0;
            int line = tblProgress->currentRow() + down;
            int column = tblProgress->currentColumn() + right;
            for (; line >= 0 && line < tblProgress->rowCount() && column >= 0 && column < tblProgress->columnCount();
                 line += down, column += right)
                if (const QTableWidgetItem* item = tblProgress->item(line, column);
                    item && item->data(KindRole).toInt() == kCountCell) {
                    tblProgress->setCurrentCell(line, column);
                    tblProgress->scrollToItem(item);
                    break;
                }
            return true;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmProgress::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

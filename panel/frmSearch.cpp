#include "panel/frmSearch.h"

#include "core/TextNumbers.h"
#include "panel/frmMenu.h"
#include "panel/frmPanelTab.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Item roles of the result list.
constexpr int kResultRole = Qt::UserRole;       // index into the results; -1 for "nothing found"
constexpr int kKindRole = Qt::UserRole + 1;     // the kind's name
constexpr int kLocationRole = Qt::UserRole + 2; // "zone - region - campaign"
constexpr int kColourRole = Qt::UserRole + 3;   // the kind's layer colour

constexpr int kRowHeight = 36;
const QColor kAreaColour(0xb8, 0xc0, 0xcc); // zones, regions and campaigns: no layer colour of their own

// A result: its kind in a tag of the layer's colour and its name on the
// first line, where it is below.
class ResultDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), kRowHeight};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        p->save();
        p->setRenderHint(QPainter::Antialiasing);
        const QRect r = option.rect;
        const bool current = option.state.testFlag(QStyle::State_Selected);
        const bool hovered = option.state.testFlag(QStyle::State_MouseOver);
        if (current || hovered)
            p->fillRect(r, current ? QColor(0x3a, 0x42, 0x50) : QColor(0x2c, 0x32, 0x3b));
        QFont base = option.font;
        if (index.data(kResultRole).toInt() < 0) {
            base.setItalic(true);
            p->setFont(base);
            p->setPen(QColor(0x9a, 0x96, 0x8c));
            p->drawText(r, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
            p->restore();
            return;
        }
        const QColor colour = index.data(kColourRole).value<QColor>();
        if (current)
            p->fillRect(QRect(r.left(), r.top(), 3, r.height()), colour);

        // The kind's tag.
        QFont tagFont = base;
        tagFont.setBold(true);
        tagFont.setPointSizeF(base.pointSizeF() * 0.8);
        const QString kind = index.data(kKindRole).toString();
        const int tagWidth = QFontMetrics(tagFont).horizontalAdvance(kind) + 10;
        const QRectF tag(r.left() + 7.5, r.top() + 4.5, tagWidth, 14);
        QColor fill = colour;
        fill.setAlpha(70);
        p->setPen(QPen(colour, 1));
        p->setBrush(fill);
        p->drawRoundedRect(tag, 3, 3);
        p->setFont(tagFont);
        p->setPen(colour.lighter(125));
        p->drawText(tag, Qt::AlignCenter, kind);

        // The name beside it, where it is below.
        QFont nameFont = base;
        nameFont.setBold(true);
        p->setFont(nameFont);
        p->setPen(QColor(0xe8, 0xe2, 0xd4));
        const QRect nameRect(static_cast<int>(tag.right()) + 6, r.top() + 2,
                             r.right() - static_cast<int>(tag.right()) - 10, 18);
        p->drawText(nameRect, Qt::AlignVCenter | Qt::AlignLeft,
                    QFontMetrics(nameFont).elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight,
                                                      nameRect.width()));
        QFont whereFont = base;
        whereFont.setPointSizeF(base.pointSizeF() * 0.9);
        p->setFont(whereFont);
        p->setPen(QColor(0xa8, 0xa3, 0x98));
        const QRect whereRect(r.left() + 8, r.top() + 19, r.width() - 14, 15);
        p->drawText(whereRect, Qt::AlignVCenter | Qt::AlignLeft,
                    QFontMetrics(whereFont).elidedText(index.data(kLocationRole).toString(), Qt::ElideRight,
                                                       whereRect.width()));
        p->restore();
    }
};

} // namespace

frmSearch::frmSearch(frmMenu& menu, World& world) : QObject(&menu), m_menu(menu), m_world(world)
{
    txtSearch = new QLineEdit(&menu);
    txtSearch->setObjectName(QStringLiteral("txtSearch"));
    txtSearch->setClearButtonEnabled(true);
    txtSearch->installEventFilter(this);

    lstSearchResults = new QListWidget(&menu);
    lstSearchResults->setObjectName(QStringLiteral("lstSearchResults"));
    // The field keeps the keyboard; the list follows its arrow keys.
    lstSearchResults->setFocusPolicy(Qt::NoFocus);
    lstSearchResults->setMouseTracking(true);
    lstSearchResults->setUniformItemSizes(true);
    lstSearchResults->setItemDelegate(new ResultDelegate(lstSearchResults));
    lstSearchResults->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstSearchResults->setStyleSheet(QStringLiteral("QListWidget#lstSearchResults { background: #1b1e23; "
                                                   "border: 1px solid #c9a13b; border-radius: 3px; }"));
    lstSearchResults->hide();

    connect(txtSearch, &QLineEdit::textChanged, this, [this] { Refresh(); });
    connect(lstSearchResults, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { Choose(lstSearchResults->row(item)); });
}

void frmSearch::Rebuild()
{
    m_index.Rebuild(m_world);
    const QString find = m_world.language(Text::FindAnything);
    txtSearch->setPlaceholderText(find);
    txtSearch->setToolTip(find + QStringLiteral(" (") +
                          QKeySequence(QKeySequence::Find).toString(QKeySequence::NativeText) + QLatin1Char(')'));
    Refresh();
}

void frmSearch::UpdateNotes()
{
    m_index.UpdateNotes(m_world);
    if (ResultsShown())
        Refresh();
}

void frmSearch::Place(QRect field, QRect listArea)
{
    txtSearch->setGeometry(field);
    m_listArea = listArea;
    if (ResultsShown())
        ShowResults();
}

bool frmSearch::ResultsShown() const
{
    return lstSearchResults->isVisible();
}

void frmSearch::Focus()
{
    QWidget* panel = txtSearch->window();
    if (panel->isMinimized())
        panel->showNormal();
    panel->raise();
    panel->activateWindow();
    txtSearch->setFocus(Qt::ShortcutFocusReason);
    txtSearch->selectAll();
    if (!txtSearch->text().trimmed().isEmpty())
        ShowResults();
}

void frmSearch::Refresh()
{
    const QString query = txtSearch->text();
    m_results = m_index.Find(query, kListedResults);
    lstSearchResults->setUpdatesEnabled(false);
    lstSearchResults->clear();
    for (std::size_t i = 0; i < m_results.size(); ++i) {
        const modSearch::Result& r = m_results[i];
        auto* item = new QListWidgetItem(r.name);
        item->setData(kResultRole, static_cast<int>(i));
        item->setData(kKindRole, m_world.language(modSearch::KindTextNumber(r.kind)));
        item->setData(kLocationRole, r.location);
        const int tab = modSearch::TabOf(r.kind);
        const bool area =
            r.kind == modSearch::Kind::Zone || r.kind == modSearch::Kind::Region || r.kind == modSearch::Kind::Campaign;
        item->setData(kColourRole, area ? kAreaColour : PanelTabColour(m_world, tab));
        item->setToolTip(r.location.isEmpty() ? r.name : r.name + QStringLiteral("\n") + r.location);
        lstSearchResults->addItem(item);
    }
    if (m_results.empty()) {
        auto* item = new QListWidgetItem(m_world.language(Text::NothingFound));
        item->setData(kResultRole, -1);
        item->setFlags(Qt::NoItemFlags);
        lstSearchResults->addItem(item);
    } else {
        lstSearchResults->setCurrentRow(0); // Enter chooses the best match
    }
    lstSearchResults->setUpdatesEnabled(true);
    if (query.trimmed().isEmpty())
        HideResults();
    else
        ShowResults();
}

void frmSearch::ShowResults()
{
    const int top = txtSearch->geometry().bottom() + 3;
    const int wanted = lstSearchResults->count() * kRowHeight + 2 * lstSearchResults->frameWidth();
    const int room = std::max(kRowHeight, m_listArea.bottom() - top);
    lstSearchResults->setGeometry(m_listArea.left(), top, m_listArea.width(), std::min(wanted, room));
    lstSearchResults->show();
    lstSearchResults->raise();
}

void frmSearch::HideResults()
{
    lstSearchResults->hide();
}

void frmSearch::MoveCurrent(int step)
{
    if (m_results.empty())
        return;
    if (!ResultsShown()) {
        ShowResults();
        return;
    }
    const int last = static_cast<int>(m_results.size()) - 1;
    const int row = std::clamp(lstSearchResults->currentRow() + step, 0, last);
    lstSearchResults->setCurrentRow(row);
    lstSearchResults->scrollToItem(lstSearchResults->item(row));
}

bool frmSearch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != txtSearch)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int page = std::max(1, lstSearchResults->height() / kRowHeight - 1);
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Down:
            MoveCurrent(1);
            return true;
        case Qt::Key_Up:
            MoveCurrent(-1);
            return true;
        case Qt::Key_PageDown:
            MoveCurrent(page);
            return true;
        case Qt::Key_PageUp:
            MoveCurrent(-page);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Choose(std::max(0, lstSearchResults->currentRow()));
            return true;
        case Qt::Key_Escape:
            if (txtSearch->text().isEmpty() && !ResultsShown())
                return false;
            txtSearch->clear();
            return true;
        default:
            break;
        }
        break;
    }
    case QEvent::FocusOut:
        HideResults();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void frmSearch::Choose(int row)
{
    if (row < 0 || row >= static_cast<int>(m_results.size()))
        return;
    const modSearch::Result r = m_results[static_cast<std::size_t>(row)];
    HideResults();
    Choose(r);
}

// ---- Showing a result ---------------------------------------------------------------

void frmSearch::Choose(const modSearch::Result& r)
{
    const int tab = modSearch::TabOf(r.kind);
    m_menu.ShowTab(tab);
    m_menu.Tab(tab).Reveal(r);
}

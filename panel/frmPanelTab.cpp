#include "panel/frmPanelTab.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QRadioButton>
#include <QSignalBlocker>

using namespace PanelGeometry;

namespace {

const QColor kPageColour(0x2a, 0x2e, 0x35);
const QColor kDoneEntryColour(0x7d, 0x7a, 0x72);

// Remembers, at each press on a list, which row was current before it: a
// click on that row runs the list's click handling once more, while a click
// on another row runs it through the row change only.
class ListClickWatcher : public QObject {
public:
    explicit ListClickWatcher(QListWidget* list) : QObject(list), m_list(list) {}
    int rowBeforePress = -2;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
            rowBeforePress = m_list->currentRow();
        return false;
    }

private:
    QListWidget* m_list;
};

} // namespace

QColor PanelTabColour(const World& world, int tab)
{
    // Tabs 0..8 may have colours of their own in the colour table.
    if (tab >= 0 && tab < static_cast<int>(world.colourTable.size()) && world.colourTable[tab].isValid())
        return world.colourTable[tab];
    return QColor(176, 176, 176);
}

void SetControlsEnabled(bool enabled, std::initializer_list<QWidget*> widgets)
{
    for (QWidget* w : widgets)
        if (w)
            w->setEnabled(enabled);
}

namespace {
// The room a combo leaves for its text: the frame, padding and drop-down arrow.
constexpr int kComboChrome = 40;
constexpr double kSmallestPoints = 6.5;

QString FontSizeStyle(double points)
{
    return QStringLiteral("font-size: %1pt;").arg(points, 0, 'f', 1);
}
} // namespace

void FitComboText(QComboBox* combo)
{
    combo->setStyleSheet(QString());
    combo->ensurePolished();
    const QFont base = combo->font();
    const int needed = QFontMetrics(base).horizontalAdvance(combo->currentText());
    const int room = combo->width() - kComboChrome;
    if (needed > room && needed > 0 && room > 0)
        combo->setStyleSheet(FontSizeStyle(std::max(kSmallestPoints, base.pointSizeF() * room / needed)));
}

void LayOutOptions(std::initializer_list<QRadioButton*> options, int left, int top, int width)
{
    int needed = 0;
    for (QRadioButton* o : options) {
        o->setStyleSheet(QString());
        o->adjustSize();
        needed += o->sizeHint().width();
    }
    double scale = 1.0;
    if (needed > width && needed > 0) {
        scale = static_cast<double>(width) / needed;
        for (QRadioButton* o : options)
            o->setStyleSheet(FontSizeStyle(std::max(kSmallestPoints, o->font().pointSizeF() * scale)));
        needed = 0;
        for (QRadioButton* o : options)
            needed += o->sizeHint().width();
    }
    const int count = static_cast<int>(options.size());
    const int gap = count > 1 ? std::max(0, (width - needed) / (count - 1)) : 0;
    int x = left;
    for (QRadioButton* o : options) {
        const int w = o->sizeHint().width();
        o->setGeometry(x, top, w, PanelGeometry::kControlHeight);
        x += w + gap;
    }
}

void ShowCombo(QComboBox* combo, PanelList& model, const modPanelLists::ComboFill& fill, QLabel* caption)
{
    model = fill.list;
    {
        const QSignalBlocker block(combo);
        combo->clear();
        for (const auto& e : fill.list.entries)
            combo->addItem(e.text, e.data);
        combo->setCurrentIndex(fill.list.selected);
    }
    FitComboText(combo);
    SetControlsEnabled(fill.enabled, {combo, caption});
}

void ShowList(QListWidget* list, PanelList& model, std::vector<PanelEntry> entries)
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
        for (int i = 0; i < model.size(); ++i) {
            const PanelEntry& e = model.entries[static_cast<std::size_t>(i)];
            list->item(i)->setData(Qt::UserRole, e.data);
            // Done things a tab dims show in grey at the end of its list.
            if (e.done)
                list->item(i)->setForeground(kDoneEntryColour);
        }
    }
    list->setCurrentRow(-1);
    list->setUpdatesEnabled(true);
}

void ChooseData(QComboBox* combo, int data)
{
    if (combo->isEnabled() && combo->count() > 0)
        combo->setCurrentIndex(std::max(0, combo->findData(data))); // runs the combo's own handling
}

void ChooseIndex(QComboBox* combo, int index)
{
    if (combo && combo->isEnabled() && index >= 0 && index < combo->count() && combo->currentIndex() != index)
        combo->setCurrentIndex(index); // runs the combo's change handling
}

void ChooseText(QLineEdit* box, const QString& text)
{
    if (box->text() != text)
        box->setText(text); // runs the box's filter
}

frmPanelTab::frmPanelTab(PanelContext& context, int tab, QWidget* parent)
    : QWidget(parent), m_context(context), m_world(context.world()), m_panel(context.panel()), m_tab(tab),
      m_colour(PanelTabColour(context.world(), tab))
{}

void frmPanelTab::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), kPageColour);
    p.setPen(QPen(m_colour, kPageBorder));
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

QLabel* frmPanelTab::Caption(int x, int y, int w)
{
    auto* l = new QLabel(this);
    l->setGeometry(x, y, w, kLabelHeight);
    return l;
}

QComboBox* frmPanelTab::Combo(int y)
{
    auto* c = new QComboBox(this);
    c->setGeometry(kFieldLeft, y - 2, kFieldWidth, kControlHeight);
    c->setMaxVisibleItems(24);
    connect(c, &QComboBox::currentIndexChanged, c, [c] { FitComboText(c); });
    return c;
}

QLineEdit* frmPanelTab::TextBox(int y)
{
    auto* t = new QLineEdit(this);
    t->setGeometry(kFieldLeft, y - 2, kFieldWidth, kControlHeight);
    t->setClearButtonEnabled(true);
    return t;
}

QListWidget* frmPanelTab::ListBox(int y, int h)
{
    auto* l = new QListWidget(this);
    l->setGeometry(kMargin, y, kInnerWidth, h);
    l->setUniformItemSizes(true);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    return l;
}

QRadioButton* frmPanelTab::Option(QWidget* parent, int x, int y, int w)
{
    auto* o = new QRadioButton(parent);
    o->setGeometry(x, y, w, kControlHeight);
    return o;
}

DoneSwitch frmPanelTab::MakeDoneSwitch(bool& dim, const std::function<void()>& changed)
{
    DoneSwitch done;
    done.frame = new QWidget(this);
    done.frame->setObjectName(QStringLiteral("doneSwitch"));
    done.frame->setToolTip(QStringLiteral("What the list and the map do with what the chosen character has done: "
                                          "hide it, or show it dimmed at the end of the list"));
    done.caption = new QLabel(QStringLiteral("Done:"), done.frame);
    done.hide = new QRadioButton(QStringLiteral("hide"), done.frame);
    done.dim = new QRadioButton(QStringLiteral("dim"), done.frame);
    ShowDoneSwitch(done, dim);
    connect(done.dim, &QRadioButton::toggled, this, [&dim, changed](bool on) {
        dim = on;
        changed();
    });
    return done;
}

void frmPanelTab::PlaceDoneSwitch(const DoneSwitch& done, int y, QLabel* rowCaption)
{
    constexpr int kGap = 4;
    int x = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{done.caption, done.hide, done.dim}) {
        w->adjustSize();
        w->setGeometry(x, 0, w->sizeHint().width(), kLabelHeight + 2);
        x += w->width() + kGap;
    }
    const int width = x - kGap;
    done.frame->setGeometry(kMargin + kInnerWidth - width, y - 1, width, kLabelHeight + 2);
    if (rowCaption)
        rowCaption->resize(std::max(0, done.frame->x() - kGap - rowCaption->x()), rowCaption->height());
}

void frmPanelTab::ShowDoneSwitch(const DoneSwitch& done, bool dim)
{
    const QSignalBlocker holdHide(done.hide), holdDim(done.dim);
    (dim ? done.dim : done.hide)->setChecked(true);
}

void frmPanelTab::BindText(QLineEdit* box, QString& state, std::function<void()> changed)
{
    connect(box, &QLineEdit::textChanged, this, [&state, changed = std::move(changed)](const QString& text) {
        state = text;
        changed();
    });
}

void frmPanelTab::BindList(QListWidget* list, PanelList& state, const std::function<void()>& clicked)
{
    auto* watcher = new ListClickWatcher(list);
    list->viewport()->installEventFilter(watcher);
    connect(list, &QListWidget::currentRowChanged, this, [&state, clicked](int row) {
        state.selected = row;
        if (row >= 0)
            clicked();
    });
    // A click on the row that was already current: the row does not change,
    // so the click handling runs from here, once.
    connect(list, &QListWidget::itemClicked, this, [list, watcher, &state, clicked](QListWidgetItem* item) {
        const int row = list->row(item);
        const bool again = row == watcher->rowBeforePress;
        watcher->rowBeforePress = -2;
        if (again && row >= 0) {
            state.selected = row;
            clicked();
        }
    });
}

void frmPanelTab::OfferMarking(QListWidget* list, modMarking::Kind kind)
{
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QListWidget::customContextMenuRequested, this, [this, list, kind](QPoint at) {
        if (const QListWidgetItem* item = list->itemAt(at))
            emit m_context.markingMenuRequested(kind, item->data(Qt::UserRole).toInt(),
                                                list->viewport()->mapToGlobal(at));
    });
}

void frmPanelTab::ShowOnMap(const std::optional<modTabRules::MapTarget>& target)
{
    if (!m_context.HasMap() || !target)
        return;
    m_context.SwitchMap(target->ImagePath, target->Campaign, target->Region);
    emit m_context.redrawRequested();
    m_context.CentreMapOn(target->Centre.x(), target->Centre.y());
}

void frmPanelTab::ReportFiltered()
{
    emit m_context.layerFiltered(m_tab);
}

void frmPanelTab::RedrawMap()
{
    emit m_context.redrawRequested();
}

namespace {

// The position of the entry with item data `data`; -1 when it is not listed.
int RowOf(const std::vector<PanelEntry>& entries, int data)
{
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].data == data)
            return static_cast<int>(i);
    return -1;
}

// Makes `row` the current row of `list` so that the list's click handling
// runs, also when the row already was the current one.
void Pick(QListWidget* list, int row)
{
    if (row < 0 || row >= list->count())
        return;
    if (list->currentRow() == row)
        list->setCurrentRow(-1);
    list->setCurrentRow(row);
    list->scrollToItem(list->item(row), QAbstractItemView::PositionAtCenter);
}

} // namespace

void frmPanelTab::RevealIn(const modSearch::Result& r, const Listing& l, const std::function<void()>& clearOwn)
{
    // Listed: the thing in the list and, for a thing with places, its place
    // among those the list of places would show.
    auto listed = [&] {
        const int row = RowOf(l.model.entries, r.item);
        if (row < 0 || !l.placeList || r.place < 1)
            return row;
        return RowOf(l.placesOf(), r.place) >= 0 ? row : -1;
    };
    int row = listed();
    if (row < 0 && r.campaign >= 0) {
        emit m_context.areaRequested(r.campaign, r.region);
        row = listed();
    }
    if (row < 0) {
        clearOwn();
        row = listed();
    }
    Pick(l.list, row); // fills the list of places and chooses the first
    if (!l.placeList)
        return;
    const int place = RowOf(l.places->entries, r.place);
    if (place >= 0 && place != l.placeList->currentRow())
        Pick(l.placeList, place);
}

#include "windows/frmPopupMenu.h"

#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The frame round the open menu's title: the popup's colours, open at the
// bottom where the popup's top row continues it.
class MenuTitleFrame : public QWidget {
public:
    explicit MenuTitleFrame(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const auto& c = PopupMenu::MenuColours();
        QPainter p(this);
        p.fillRect(rect(), c.background);
        p.fillRect(QRect(0, 0, width(), 1), c.border);
        p.fillRect(QRect(0, 0, 1, height()), c.border);
        p.fillRect(QRect(width() - 1, 0, 1, height()), c.border);
    }
};

// Pixels between the title and the frame round it, on each side.
constexpr int kFrameMargin = 4;

} // namespace

frmPopupMenu::frmPopupMenu(const modLanguage::LanguageStrings& language, QWidget* owner)
    : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint), m_menus(PopupMenu::BuildMenus(language))
{
    setObjectName(QStringLiteral("frmPopupMenu"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    if (owner)
        m_titleFrame = new MenuTitleFrame(owner);
    if (m_titleFrame)
        m_titleFrame->setObjectName(QStringLiteral("shaMenuTitleFrame"));
    m_layout = PopupMenu::LayOutMenu(m_menus[0]);
}

frmPopupMenu::~frmPopupMenu() = default;

void frmPopupMenu::SetValue(int menu, int entry, int value)
{
    if (menu < 0 || menu >= PopupMenu::MenuCount)
        return;
    auto& entries = m_menus[static_cast<std::size_t>(menu)].Entries;
    if (entry < 0 || entry >= static_cast<int>(entries.size()))
        return;
    entries[static_cast<std::size_t>(entry)].Value = static_cast<uint8_t>(value != 0 ? 1 : 0);
    if (isVisible() && menu == m_menu)
        update();
}

void frmPopupMenu::OpenMenu(int menu, QLabel* title)
{
    if (menu < 0 || menu >= PopupMenu::MenuCount)
        return;
    m_ready = false;
    m_highlighted = -1;
    m_pressed = -1;
    m_menu = menu;
    m_layout = PopupMenu::LayOutMenu(m_menus[static_cast<std::size_t>(menu)]);
    resize(m_layout.size);

    QWidget* owner = parentWidget();
    QPoint topLeft(0, 0);
    if (title && owner) {
        // The title turns blue inside a frame that the popup's top row continues.
        if (m_title && m_title != title)
            m_title->setStyleSheet(m_titleStyle);
        if (m_title != title)
            m_titleStyle = title->styleSheet();
        m_title = title;
        title->setStyleSheet(
            QStringLiteral("color: %1; background: transparent;").arg(PopupMenu::MenuColours().openTitle.name()));
        const QRect t(title->mapTo(owner, QPoint(0, 0)), title->size());
        const QRect frame(t.left() - kFrameMargin, t.top() - 2, t.width() + 2 * kFrameMargin, t.height() + 4);
        if (m_titleFrame) {
            m_titleFrame->setGeometry(frame);
            m_titleFrame->show();
            m_titleFrame->stackUnder(title);
        }
        // The popup's left edge lies on the frame's, its top right under the title.
        topLeft = owner->mapToGlobal(QPoint(frame.left(), t.top() + t.height() + 2));
    } else if (owner) {
        topLeft = owner->mapToGlobal(QPoint(0, 0));
    }
    move(topLeft);
    show();
    raise();
    activateWindow();
    // The pointer may already rest on a row.
    Highlight(PopupMenu::EntryAt(m_layout, mapFromGlobal(QCursor::pos())));
    update();
    m_ready = true;
}

int frmPopupMenu::FalseHoleWidth() const
{
    return m_titleFrame && m_titleFrame->isVisible() ? m_titleFrame->width() - 2 : 0;
}

bool frmPopupMenu::ClosedJustNow(int menu) const
{
    return menu == m_closedMenu && m_closedAt.isValid() && m_closedAt.elapsed() < 250;
}

void frmPopupMenu::Highlight(int entry)
{
    if (entry == m_highlighted)
        return;
    m_highlighted = entry;
    update();
}

void frmPopupMenu::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    PopupMenu::PaintMenu(p, m_menus[static_cast<std::size_t>(m_menu)], m_layout, m_highlighted, FalseHoleWidth());
}

void frmPopupMenu::mouseMoveEvent(QMouseEvent* e)
{
    Highlight(PopupMenu::EntryAt(m_layout, e->position().toPoint()));
}

void frmPopupMenu::mousePressEvent(QMouseEvent* e)
{
    // A press outside closes the popup. When it lands on the open menu's
    // title, the title's click that follows must not open the menu again.
    if (!rect().contains(e->position().toPoint())) {
        m_closedMenu = m_menu;
        m_closedAt.start();
        const QPoint global = e->globalPosition().toPoint();
        QWidget::mousePressEvent(e);
        if (onPressOutside)
            onPressOutside(global);
        return;
    }
    m_pressed = e->button() == Qt::LeftButton ? PopupMenu::EntryAt(m_layout, e->position().toPoint()) : -1;
}

void frmPopupMenu::mouseReleaseEvent(QMouseEvent* e)
{
    const int entry = PopupMenu::EntryAt(m_layout, e->position().toPoint());
    const int pressed = m_pressed;
    m_pressed = -1;
    if (e->button() == Qt::LeftButton && entry >= 0 && entry == pressed)
        Choose(entry);
}

void frmPopupMenu::Choose(int entry)
{
    const auto& entries = m_menus[static_cast<std::size_t>(m_menu)].Entries;
    if (!m_ready || entry < 0 || entry >= static_cast<int>(entries.size()) ||
        !entries[static_cast<std::size_t>(entry)].Enabled)
        return;
    if (onEntryClick)
        onEntryClick(m_menu, entry);
}

void frmPopupMenu::keyPressEvent(QKeyEvent* e)
{
    // The arrows move the bar over the rows that can be chosen; Return chooses.
    const auto& entries = m_menus[static_cast<std::size_t>(m_menu)].Entries;
    const int n = static_cast<int>(entries.size());
    switch (e->key()) {
    case Qt::Key_Down:
    case Qt::Key_Up: {
        const int step = e->key() == Qt::Key_Down ? 1 : -1;
        int entry = m_highlighted;
        for (int tries = 0; tries < n; ++tries) {
            entry = entry < 0 ? (step > 0 ? 0 : n - 1) : (entry + step + n) % n;
            if (entries[static_cast<std::size_t>(entry)].Enabled) {
                Highlight(entry);
                break;
            }
        }
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Choose(m_highlighted);
        return;
    default:
        QWidget::keyPressEvent(e); // Escape closes the popup
    }
}

void frmPopupMenu::leaveEvent(QEvent*)
{
    Highlight(-1);
}

void frmPopupMenu::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    if (e->spontaneous())
        return;
    m_ready = false;
    m_highlighted = -1;
    m_pressed = -1;
    if (m_titleFrame)
        m_titleFrame->hide();
    if (m_title)
        m_title->setStyleSheet(m_titleStyle);
    m_title = nullptr;
}

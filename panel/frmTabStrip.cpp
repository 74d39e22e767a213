#include "panel/frmTabStrip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {
// The caption of the active tab, in the panel's background colour.
const QColor kActiveTextColour(0x1e, 0x21, 0x26);
} // namespace

TabLabel::TabLabel(int index, QColor colour, QWidget* parent, std::function<void(int)> onClick)
    : QWidget(parent), m_index(index), m_colour(colour), m_onClick(std::move(onClick))
{
    setCursor(Qt::PointingHandCursor);
}

void TabLabel::setText(const QString& text)
{
    m_text = text;
    update();
}

void TabLabel::setActive(bool active)
{
    m_active = active;
    update();
}

void TabLabel::setColour(QColor colour)
{
    m_colour = colour;
    update();
}

void TabLabel::paintEvent(QPaintEvent*)
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
    p.setPen(m_active ? kActiveTextColour : m_colour.lighter(115));
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, m_text);
}

void TabLabel::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && m_onClick)
        m_onClick(m_index);
}

ShowBox::ShowBox(QColor colour, QWidget* parent) : QCheckBox(parent), m_colour(colour)
{}

void ShowBox::paintEvent(QPaintEvent*)
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

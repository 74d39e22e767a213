#include "mapview/MapWidgets.h"

#include "mapview/frmMap.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace mapview {

namespace {

PointerButton ButtonOf(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton:
        return PointerButton::Left;
    case Qt::RightButton:
        return PointerButton::Right;
    default:
        return PointerButton::Other;
    }
}

} // namespace

// ---- MapViewport -----------------------------------------------------------------

MapViewport::MapViewport(frmMap& map, QWidget* parent) : QWidget(parent), m_map(map)
{
    setObjectName(QStringLiteral("picMap"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
}

void MapViewport::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const MapCanvas& canvas = m_map.Canvas();
    p.fillRect(rect(), Qt::black);
    // The start picture comes at the screen's own pixel ratio when it has one.
    p.drawImage(0, 0, canvas.startPicture.isNull() || m_map.MapLoaded() ? canvas.picMap : canvas.startPicture);
    // The overview: the whole region, the part shown framed.
    const QRect inset = m_map.OverviewRect();
    if (inset.isEmpty())
        return;
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(QRectF(inset), m_map.OverviewPicture());
    p.setPen(QPen(QColor(24, 20, 16), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(inset.adjusted(-1, -1, 0, 0));
    const QRectF frame = OverviewFrame(canvas.View(), canvas.ViewSize(), inset, canvas.MapSize());
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(250, 206, 72), 1.5));
    p.drawRect(frame.adjusted(0.75, 0.75, -0.75, -0.75));
}

void MapViewport::wheelEvent(QWheelEvent* e)
{
    m_map.WheelAt(e->position(), e->angleDelta().y());
    e->accept();
}

namespace {

PointerKeys KeysOf(const QMouseEvent* e)
{
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return PointerKeys::Other;
    return e->modifiers() & Qt::ShiftModifier ? PointerKeys::Shift : PointerKeys::None;
}

} // namespace

void MapViewport::mousePressEvent(QMouseEvent* e)
{
    // Any of Shift, Ctrl or Alt held keeps the left button from dragging;
    // Shift alone marks.
    m_map.PointerDown(ButtonOf(e->button()), KeysOf(e), e->position(), e->globalPosition().toPoint());
}

void MapViewport::mouseMoveEvent(QMouseEvent* e)
{
    m_map.PointerMove(e->position());
}

void MapViewport::mouseReleaseEvent(QMouseEvent* e)
{
    m_map.PointerUp(ButtonOf(e->button()));
}

void MapViewport::leaveEvent(QEvent* e)
{
    m_map.PointerLeft();
    QWidget::leaveEvent(e);
}

void MapViewport::mouseDoubleClickEvent(QMouseEvent* e)
{
    m_map.PointerDoubleClick(ButtonOf(e->button()), KeysOf(e), e->position(), e->globalPosition().toPoint());
}

// ---- InformationWindow -------------------------------------------------------------

InformationWindow::InformationWindow(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void InformationWindow::SetImage(const QImage& image)
{
    m_image = image;
    resize(image.size());
    update();
}

void InformationWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_image);
}

void InformationWindow::mousePressEvent(QMouseEvent*)
{
    emit clicked();
}

// ---- MapButton -------------------------------------------------------------------

MapButton::MapButton(Glyph glyph, QWidget* parent) : QAbstractButton(parent), m_glyph(glyph)
{
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
    resize(sizeHint());
}

void MapButton::enterEvent(QEnterEvent*)
{
    m_hover = true;
    update();
}

void MapButton::leaveEvent(QEvent*)
{
    m_hover = false;
    update();
}

void MapButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    QColor back = m_glyph == Glyph::Close && m_hover ? QColor(196, 52, 44, 230)
                  : m_hover                          ? QColor(90, 90, 104, 230)
                                                     : QColor(24, 24, 30, 190);
    if (isDown())
        back = back.darker(130);
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.setPen(QPen(QColor(240, 236, 226), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QPointF c = QRectF(rect()).center();
    switch (m_glyph) {
    case Glyph::Close:
        p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
        p.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
        break;
    case Glyph::Maximise:
        p.drawRect(QRectF(c.x() - 4.5, c.y() - 4, 9, 8));
        p.drawLine(c + QPointF(-4.5, -2.5), c + QPointF(4.5, -2.5));
        break;
    case Glyph::Minimise:
        p.drawLine(c + QPointF(-4.5, 4), c + QPointF(4.5, 4));
        break;
    }
}

} // namespace mapview

#include "windows/frmLegenda.h"

#include "core/TextNumbers.h"
#include "windows/LegendPainter.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace {

// Border round the drawing, pixels.
constexpr int kBorder = 1;
const QColor kFrame(40, 44, 52);

// A small cross in the title band.
class CloseButton : public QAbstractButton {
public:
    explicit CloseButton(QWidget* parent) : QAbstractButton(parent)
    {
        setCursor(Qt::ArrowCursor);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing, true);
        if (underMouse())
            p.fillRect(rect(), QColor(255, 255, 255, 60));
        p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        const QRectF r = QRectF(rect()).adjusted(4, 4, -4, -4);
        p.drawLine(r.topLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomLeft());
    }
    void enterEvent(QEnterEvent*) override { update(); }
    void leaveEvent(QEvent*) override { update(); }
};

} // namespace

frmLegenda::frmLegenda(const World& world, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), m_world(world)
{
    setObjectName(QStringLiteral("frmLegenda"));
    setWindowTitle(world.language(Text::LegendTitle));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    m_pictureWidth = Legend::PictureWidth(world.professions, world.language);
    const int height = Legend::PictureHeight(Legend::ProfessionCount(world.professions));
    // The title band on top, the drawing under it, 2 pixels below the drawing.
    setFixedSize(m_pictureWidth + 2 * kBorder, Legend::TitleHeight + height + 2);
    m_close = new CloseButton(this);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    m_close->setGeometry(width() - Legend::TitleHeight, 0, Legend::TitleHeight, Legend::TitleHeight);
    connect(m_close, &QAbstractButton::clicked, this, [this] {
        hide();
        if (onClosed)
            onClosed();
    });
    Draw(devicePixelRatioF());
}

frmLegenda::~frmLegenda() = default;

QRect frmLegenda::PictureRect() const
{
    return QRect(kBorder, Legend::TitleHeight, m_pictureWidth,
                 Legend::PictureHeight(Legend::ProfessionCount(m_world.professions)));
}

void frmLegenda::Draw(qreal devicePixelRatio)
{
    m_picture = Legend::DrawLegend(m_world.professions, m_world.language, m_pictureWidth, devicePixelRatio);
}

void frmLegenda::paintEvent(QPaintEvent*)
{
    // Drawn once; again only when the window reaches a screen of another pixel ratio.
    if (!qFuzzyCompare(m_picture.devicePixelRatio(), devicePixelRatioF()))
        Draw(devicePixelRatioF());
    QPainter p(this);
    p.fillRect(rect(), Legend::Background());
    p.drawImage(PictureRect().topLeft(), m_picture);
    p.fillRect(QRect(0, 0, kBorder, height()), kFrame);
    p.fillRect(QRect(width() - kBorder, 0, kBorder, height()), kFrame);
    p.fillRect(QRect(0, height() - kBorder, width(), kBorder), kFrame);
    Legend::PaintTitleBand(p, width(), m_world.language(Text::LegendTitle));
}

void frmLegenda::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    m_drag.Press(e->globalPosition().toPoint(), frameGeometry().topLeft());
}

void frmLegenda::mouseMoveEvent(QMouseEvent* e)
{
    // The window system moves the window where it can; otherwise the window
    // follows the pointer. Either only once the pointer moved with the button
    // held: a system move asked for after a quick click's release would keep
    // the window on the pointer until the next click.
    const WindowDrag::Action a = m_drag.Move(e->globalPosition().toPoint(), (e->buttons() & Qt::LeftButton) != 0,
                                             [this] { return windowHandle() && windowHandle()->startSystemMove(); });
    if (a.step == WindowDrag::Step::MoveTo)
        move(a.topLeft);
}

void frmLegenda::mouseReleaseEvent(QMouseEvent*)
{
    m_drag.Release();
}

#include "windows/frmInformation.h"

#include "core/TextNumbers.h"

#include <QMouseEvent>
#include <QPainter>

frmInformation::frmInformation(const modLanguage::LanguageStrings& language, QWidget* owner)
    : QWidget(owner, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmInformation"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(language(Text::InformationTitle));
    setMouseTracking(true);
    setFixedSize(About::WindowSize);
    setCursor(Qt::ArrowCursor);
}

void frmInformation::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(18, 20, 28));
    p.setRenderHint(QPainter::TextAntialiasing, true);
    About::PaintPanel(p, m_link);
}

void frmInformation::mouseMoveEvent(QMouseEvent* e)
{
    const About::Link link = About::LinkAt(e->position().toPoint());
    if (link == m_link)
        return;
    m_link = link;
    setCursor(link == About::Link::None ? Qt::ArrowCursor : Qt::PointingHandCursor);
    update();
}

void frmInformation::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    // The pointer's link decides: a link opens, anywhere else closes.
    m_link = About::LinkAt(e->position().toPoint());
    switch (m_link) {
    case About::Link::Guild:
        if (openLink)
            openLink(About::GuildAddress());
        break;
    case About::Link::Mail:
        if (openLink)
            openLink(About::MailAddress());
        break;
    case About::Link::None:
        close();
        break;
    }
}

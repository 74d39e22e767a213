#include "windows/frmFAKE.h"

#include <QEvent>

frmFAKE::frmFAKE(QWidget* panel, QWidget* map, QWidget* legend, std::function<bool()> legendSwitch)
    : QObject(panel), m_panel(panel), m_map(map), m_legend(legend), m_legendSwitch(std::move(legendSwitch))
{
    setObjectName(QStringLiteral("frmFAKE"));
    if (panel)
        panel->installEventFilter(this);
}

frmFAKE::~frmFAKE() = default;

void frmFAKE::Minimise()
{
    if (m_panel)
        m_panel->setWindowState((m_panel->windowState() & ~Qt::WindowActive) | Qt::WindowMinimized);
    // Some window systems report the change later (or not at all for a
    // window they do not show): the windows go now.
    OnSizeChange();
}

bool frmFAKE::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_panel && event->type() == QEvent::WindowStateChange)
        OnSizeChange();
    return QObject::eventFilter(watched, event);
}

void frmFAKE::OnSizeChange()
{
    if (!m_panel)
        return;
    const bool minimised = m_panel->windowState().testFlag(Qt::WindowMinimized);
    if (minimised == m_minimised)
        return;
    m_minimised = minimised;
    if (minimised) {
        if (m_map)
            m_map->hide();
        if (m_legend)
            m_legend->hide();
        return;
    }
    // Restored: the panel and the map, then the legend when its switch is on.
    if (m_map)
        m_map->show();
    m_panel->show();
    if (m_legend)
        m_legend->setVisible(m_legendSwitch && m_legendSwitch());
}

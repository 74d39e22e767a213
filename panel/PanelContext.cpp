#include "panel/PanelContext.h"

PanelContext::PanelContext(World& world, PanelState& panel, QObject* parent)
    : QObject(parent), m_world(world), m_panel(panel)
{}

void PanelContext::SwitchMap(const QString& picture, int campaign, int region) const
{
    if (m_map.switchRegion)
        m_map.switchRegion(picture, campaign, region);
}

void PanelContext::CentreMapOn(int x, int y) const
{
    if (m_map.centreOn)
        m_map.centreOn(x, y);
}

void PanelContext::HideInformationWindows() const
{
    if (m_map.hideInformationWindows)
        m_map.hideInformationWindows();
}

bool PanelContext::MapLoaded() const
{
    return m_map.mapLoaded && m_map.mapLoaded();
}

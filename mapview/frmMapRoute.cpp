// The map window's planned route: switched on and off, started from the
// region's start point, followed as the panel's lists change (a marking
// re-plans it), stepped through with N and Shift+N, copied, and taken to the
// region with most left. The route layer draws what this keeps.
#include "mapview/frmMap.h"

#include "panel/modEliteTab.h"
#include "panel/modTreasuresPetsTab.h"
#include "route/RouteText.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>

#include <numeric>
#include <utility>

namespace mapview {

void frmMap::SetRouteShown(bool on)
{
    m_route.shown = on;
    m_world.settings.ShowRoute = on ? 1 : 0;
    if (on)
        StartRoute();
    m_routeRegion = {m_currentCampaign, m_currentRegion};
    if (on && !m_routeBlink->isActive())
        m_routeBlink->start();
    if (!on)
        m_routeBlink->stop();
    // Planned just now: drawn as it stands.
    if (m_mapLoaded)
        Redraw();
    ShowRouteLine();
}

void frmMap::StartRoute()
{
    m_routeRegion = {m_currentCampaign, m_currentRegion};
    std::vector<route::RouteStop> stops = m_mapLoaded
                                              ? route::RouteStops(m_world, m_panel, m_currentCampaign, m_currentRegion)
                                              : std::vector<route::RouteStop>();
    const QPointF centre =
        m_canvas.View().ToMap(QPointF(m_canvas.ViewSize().width() / 2.0, m_canvas.ViewSize().height() / 2.0));
    const auto start = route::RouteStart(m_world.settings, m_currentCampaign, m_currentRegion, stops, centre);
    m_route.follow.Start(start.value_or(centre), std::move(stops));
}

void frmMap::FollowRoute()
{
    if (!m_route.shown || !m_mapLoaded)
        return;
    if (m_routeRegion != std::pair{m_currentCampaign, m_currentRegion}) {
        StartRoute();
        // Arrived by G: the first stop in view.
        const std::vector<route::RouteStop>& ahead = m_route.follow.Ahead();
        if (std::exchange(m_centreOnRoute, false) && !ahead.empty())
            m_canvas.CenterMapOn(ahead.front().At.x(), ahead.front().At.y());
    } else
        m_route.follow.Refresh(route::RouteStops(m_world, m_panel, m_currentCampaign, m_currentRegion),
                               [this](const route::RouteStop& s) { return RouteStopDone(s); });
    if (!m_routeBlink->isActive())
        m_routeBlink->start();
    ShowRouteLine();
}

bool frmMap::RouteStopDone(const route::RouteStop& stop) const
{
    // A stop that left the lists is done when its character has it now;
    // otherwise a filter left it out.
    switch (stop.Kind) {
    case route::StopKind::EliteSkill:
        return stop.Item >= 0 && stop.Item <= m_world.elite.highest() &&
               modEliteTab::CapturedBy(m_world.elite.EliteSkills[static_cast<std::size_t>(stop.Item)],
                                       m_panel.CaptureCharacter());
    case route::StopKind::Chest:
        return stop.Item >= 1 && stop.Item <= m_world.treasures.count() &&
               modTreasuresPetsTab::OpenedBy(m_world.treasures.Treasures[static_cast<std::size_t>(stop.Item)],
                                             m_panel.ChestCharacter());
    default:
        return false;
    }
}

QString frmMap::RouteLine() const
{
    return m_route.shown && m_mapLoaded ? m_route.follow.NextLine() : QString();
}

void frmMap::ShowRouteLine()
{
    const QString line = RouteLine();
    if (line != m_routeStatus->text() || line.isEmpty() == m_routeStatus->isVisible()) {
        m_routeStatus->setText(line);
        m_routeStatus->adjustSize();
        m_routeStatus->setVisible(!line.isEmpty());
        PlaceButtons();
        emit routeLineChanged(line);
    }
}

void frmMap::NextStop(bool back)
{
    if (!m_route.shown || !m_mapLoaded)
        return;
    if (back) {
        m_route.follow.StepBack();
    } else {
        // A boss or a chest leaves the route when marked; the other kinds
        // are passed here.
        const auto& ahead = m_route.follow.Ahead();
        if (!ahead.empty() && !route::HasDoneState(ahead.front().Kind))
            m_route.follow.PassNext();
    }
    // The view centred on the next stop, then one redraw.
    const std::vector<route::RouteStop> walk = m_route.follow.Walk();
    const int next = m_route.follow.NextIndex();
    if (next >= 0)
        m_canvas.CenterMapOn(walk[static_cast<std::size_t>(next)].At.x(), walk[static_cast<std::size_t>(next)].At.y());
    Redraw();
    ShowRouteLine();
}

void frmMap::CopyRoute()
{
    const std::vector<route::RouteStop> walk = m_route.follow.Walk();
    std::vector<int> order(walk.size());
    std::iota(order.begin(), order.end(), 0);
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(route::RouteText(walk, order));
}

void frmMap::GoToNextRegion()
{
    const auto next = route::NextRegionWithStops(m_world, m_panel, m_currentCampaign, m_currentRegion);
    if (!next)
        return;
    if (!m_route.shown)
        SetRouteShown(true);
    m_centreOnRoute = true;
    emit regionChosen(next->Campaign, next->Region);
    m_centreOnRoute = false;
}

} // namespace mapview

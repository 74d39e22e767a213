#include "route/RouteFollow.h"

#include "route/RouteSolver.h"
#include "route/RouteText.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace route {

bool HasDoneState(StopKind kind)
{
    return kind == StopKind::EliteSkill || kind == StopKind::Chest;
}

void RouteFollow::Start(QPointF start, std::vector<RouteStop> stops)
{
    m_start = m_standing = start;
    m_passed.clear();
    m_cameFrom.clear();
    m_done.clear();
    m_ahead = std::move(stops);
    const RoutePlan plan = PlanRoute(m_start, StopPoints(m_ahead));
    Reorder(plan.Order);
}

void RouteFollow::Reorder(const std::vector<int>& order)
{
    std::vector<RouteStop> ordered;
    ordered.reserve(order.size());
    for (int i : order)
        ordered.push_back(m_ahead[static_cast<std::size_t>(i)]);
    m_ahead = std::move(ordered);
}

void RouteFollow::Refresh(const std::vector<RouteStop>& stops, const std::function<bool(const RouteStop&)>& isDone)
{
    std::set<Key> now;
    for (const RouteStop& s : stops)
        now.insert(KeyOf(s));
    auto gone = [&](const RouteStop& s) { return !now.count(KeyOf(s)); };
    auto done = [&](const RouteStop& s) { return !isDone || isDone(s); };

    // The next stop done: the player stands where it was.
    if (!m_ahead.empty() && gone(m_ahead.front()) && done(m_ahead.front()))
        m_standing = QPointF(m_ahead.front().At);
    for (const auto* list : {&m_passed, &m_ahead})
        for (const RouteStop& s : *list)
            if (gone(s) && done(s))
                m_done.insert(KeyOf(s));
    for (std::size_t i = m_passed.size(); i-- > 0;)
        if (gone(m_passed[i])) {
            m_passed.erase(m_passed.begin() + static_cast<std::ptrdiff_t>(i));
            m_cameFrom.erase(m_cameFrom.begin() + static_cast<std::ptrdiff_t>(i));
        }
    std::set<Key> known;
    for (const RouteStop& s : m_passed)
        known.insert(KeyOf(s));
    for (const RouteStop& s : m_ahead)
        known.insert(KeyOf(s));

    // Those still ahead keep their order (with today's names and places);
    // those back or new go to the end, for the planner to place.
    std::vector<RouteStop> ahead;
    for (int i : CarriedOrder(m_ahead, stops))
        ahead.push_back(stops[static_cast<std::size_t>(i)]);
    for (const RouteStop& s : stops)
        if (!known.count(KeyOf(s))) {
            ahead.push_back(s);
            m_done.erase(KeyOf(s));
        }
    m_ahead = std::move(ahead);
    Replan();
}

void RouteFollow::Replan()
{
    std::vector<int> order(m_ahead.size());
    std::iota(order.begin(), order.end(), 0);
    Reorder(route::Replan(m_standing, StopPoints(m_ahead), order).Order);
}

bool RouteFollow::PassNext()
{
    if (m_ahead.empty())
        return false;
    m_cameFrom.push_back(m_standing);
    m_passed.push_back(m_ahead.front());
    m_standing = QPointF(m_ahead.front().At);
    m_ahead.erase(m_ahead.begin());
    return true;
}

bool RouteFollow::StepBack()
{
    if (m_passed.empty())
        return false;
    m_ahead.insert(m_ahead.begin(), m_passed.back());
    m_standing = m_cameFrom.back();
    m_passed.pop_back();
    m_cameFrom.pop_back();
    return true;
}

std::vector<RouteStop> RouteFollow::Walk() const
{
    std::vector<RouteStop> walk(m_passed);
    walk.insert(walk.end(), m_ahead.begin(), m_ahead.end());
    return walk;
}

double RouteFollow::DistanceToNext() const
{
    if (m_ahead.empty())
        return 0.0;
    const QPointF d = QPointF(m_ahead.front().At) - m_standing;
    return std::hypot(d.x(), d.y());
}

QString RouteFollow::NextLine() const
{
    if (m_ahead.empty())
        return QString();
    return NextStopLine(m_ahead.front().Name, Left(), Total(), DistanceToNext());
}

QString RouteFollow::CopyText() const
{
    std::vector<int> order(m_ahead.size());
    std::iota(order.begin(), order.end(), 0);
    return RouteText(m_ahead, order);
}

} // namespace route

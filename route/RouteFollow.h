// The route being walked in one region: the stops passed, the stops ahead in
// planned order, where the player stands, and planning again when the
// region's stops change (a marking, an undone marking, a filter) or when the
// player passes a stop. The map and the panel show it; they keep one each
// region shown and start it afresh when the route is switched on.
#pragma once

#include "route/RouteStops.h"

#include <QPointF>
#include <QString>

#include <functional>
#include <set>
#include <tuple>
#include <vector>

namespace route {

// Elite skills are captured and chests opened; the other kinds are only
// passed.
bool HasDoneState(StopKind kind);

class RouteFollow {
public:
    // A new route from `start` through `stops`: nothing passed, nothing done.
    void Start(QPointF start, std::vector<RouteStop> stops);

    // The region's stops read again. Stops no longer there are done (the
    // route now stands at the next stop's place when it was the next stop),
    // unless `isDone` says one is not (a filter left it out): that one just
    // leaves the route. Stops that are back or new are planned in; passed
    // ones stay passed. The stops ahead are planned again from where the
    // route stands.
    void Refresh(const std::vector<RouteStop>& stops, const std::function<bool(const RouteStop&)>& isDone = nullptr);

    // `N`: the next stop passed; the route now stands at its place. False
    // when no stop is left.
    bool PassNext();
    // `Shift+N`: the stop passed last is the next one again; the route
    // stands where it stood before it. False when none was passed.
    bool StepBack();

    // Every stop of the route in walking order: the passed ones, then those
    // ahead.
    std::vector<RouteStop> Walk() const;
    // Position of the next stop in Walk(); -1 when none is left.
    int NextIndex() const { return m_ahead.empty() ? -1 : static_cast<int>(m_passed.size()); }
    const std::vector<RouteStop>& Ahead() const { return m_ahead; }
    QPointF StartPoint() const { return m_start; }
    // Where the route stands: the start, or the place of the stop passed or
    // done last as the next stop.
    QPointF Standing() const { return m_standing; }

    int Left() const { return static_cast<int>(m_ahead.size()); }
    // Stops passed, left and done since the start.
    int Total() const { return static_cast<int>(m_passed.size() + m_ahead.size() + m_done.size()); }
    // Straight-line length from where the route stands to the next stop.
    double DistanceToNext() const;

    // "Next: <name> — <k> of <n> stops left, <distance> px"; empty when no
    // stop is left.
    QString NextLine() const;
    // The stops ahead as plain text, numbered from 1 (RouteText).
    QString CopyText() const;

private:
    using Key = std::tuple<StopKind, int, int>;
    static Key KeyOf(const RouteStop& s) { return {s.Kind, s.Item, s.Place}; }
    // The stops ahead planned again from where the route stands, in the
    // order they stand in now (new ones inserted where they cost least).
    void Replan();
    // The stops ahead put in `order` (indexes into them).
    void Reorder(const std::vector<int>& order);

    QPointF m_start;
    QPointF m_standing;
    std::vector<RouteStop> m_passed;
    std::vector<QPointF> m_cameFrom; // where the route stood before each passed stop
    std::vector<RouteStop> m_ahead;
    std::set<Key> m_done; // stops gone since the start
};

} // namespace route

// The order in which to walk to a set of stops: an open path (no way back)
// from a start point that is not itself a stop, through every stop once,
// measured in straight lines between map pixels (the maps carry no paths).
// Few stops are planned exactly; more by a construction improved until no
// move helps. Pure geometry: no windows, no world.
#pragma once

#include <QPointF>

#include <vector>

namespace route {

// A way through the stops: the stop indexes in walking order, and the
// length of the open path from the start through them, in map pixels.
struct RoutePlan {
    std::vector<int> Order;
    double Length = 0.0;
};

// The most stops planned exactly (every subset is looked at); above it the
// improvement plans.
inline constexpr int kExactStops = 12;

// Length of the open path from `start` through stops in `order`.
double PathLength(QPointF start, const std::vector<QPointF>& stops, const std::vector<int>& order);

// The shortest open path from `start` through every stop (dynamic
// programming over subsets of stops). Above kExactStops stops, where that
// would take too long and too much memory, it is PlanHeuristic's plan.
RoutePlan PlanExact(QPointF start, const std::vector<QPointF>& stops);

// `order` improved by moves that shorten the path until none does: a part
// walked backwards (2-opt), one to three consecutive stops moved elsewhere
// in either direction (Or-opt), and then short shakes of a few stops kept
// only when they lead to a shorter path. An order that is not a permutation
// of the stops is first mended (unknown and repeated indexes dropped,
// missing stops inserted where they cost least). Deterministic: the same
// input gives the same plan. Above a thousand stops only the moves among
// near neighbours are made, so that time and memory stay bounded.
RoutePlan ImproveRoute(QPointF start, const std::vector<QPointF>& stops, const std::vector<int>& order);

// Nearest stop first from the start, then ImproveRoute: the planner used
// above kExactStops, kept callable for any count.
RoutePlan PlanHeuristic(QPointF start, const std::vector<QPointF>& stops);

// The route for the stops: PlanExact up to kExactStops, else PlanHeuristic.
RoutePlan PlanRoute(QPointF start, const std::vector<QPointF>& stops);

// Plans again after the stops changed (one taken away, one brought back),
// starting from the order walked so far (`previousOrder`, indexes into the
// new `stops`; indexes no longer valid are dropped, new stops inserted where
// they cost least). Exact up to kExactStops; above, the improvement from
// that order, which keeps the route recognisable and costs less than a
// fresh plan.
RoutePlan Replan(QPointF start, const std::vector<QPointF>& stops, const std::vector<int>& previousOrder);

} // namespace route

// The route planner: exact plans against every order tried, the improvement
// against paths whose best is known by hand, and orders mended or carried.

#include "route/RouteSolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <random>

namespace {

using route::RoutePlan;

struct Instance {
    QPointF start;
    std::vector<QPointF> stops;
};

// Uniform points of a 3200 x 2400 map, the same for a seed everywhere.
Instance RandomInstance(uint32_t seed, int n)
{
    std::mt19937 rng(seed);
    auto coordinate = [&](double size) { return static_cast<double>(rng()) / 4294967296.0 * size; };
    Instance in;
    in.start = {coordinate(3200), coordinate(2400)};
    for (int i = 0; i < n; ++i)
        in.stops.emplace_back(coordinate(3200), coordinate(2400));
    return in;
}

// Every order tried: the shortest open path.
double BruteForce(const Instance& in)
{
    std::vector<int> order(in.stops.size());
    std::iota(order.begin(), order.end(), 0);
    double best = route::PathLength(in.start, in.stops, order);
    while (std::next_permutation(order.begin(), order.end()))
        best = std::min(best, route::PathLength(in.start, in.stops, order));
    return best;
}

bool IsPermutation(std::vector<int> order, std::size_t n)
{
    std::sort(order.begin(), order.end());
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i] != static_cast<int>(i))
            return false;
    return order.size() == n;
}

TEST(RouteSolver, ExactMatchesEveryOrderTried)
{
    for (int n = 0; n <= 8; ++n)
        for (uint32_t seed : {11u, 12u, 13u}) {
            const Instance in = RandomInstance(seed * 100 + static_cast<uint32_t>(n), n);
            const RoutePlan plan = route::PlanExact(in.start, in.stops);
            SCOPED_TRACE(testing::Message() << n << " stops, seed " << seed);
            ASSERT_TRUE(IsPermutation(plan.Order, in.stops.size()));
            EXPECT_NEAR(plan.Length, route::PathLength(in.start, in.stops, plan.Order), 1e-6);
            EXPECT_NEAR(plan.Length, BruteForce(in), 1e-6);
        }
}

// Stops on one line, shuffled: the best open path walks to the nearer end
// first, then to the far end; its length is worked out by hand.
TEST(RouteSolver, StopsOnALineWalkedEndToEnd)
{
    const struct {
        const char* name;
        double start;
        int from, to; // the stops stand at from..to (no stop at 0)
        double length;
        bool exact; // PlanRoute plans these exactly
    } cases[] = {
        {"start at one end, 5 stops", 0, 1, 5, 5, true},
        {"start between, nearer left end", 0, -3, 8, 2 * 3 + 8, true},
        {"start between, nearer right end", 0, -9, 2, 2 * 2 + 9, true},
        {"start at one end, 60 stops", 0, 1, 60, 60, false},
        {"start between, 40 stops", 0, -10, 30, 2 * 10 + 30, false},
        {"start far left of 200 stops", -50, 1, 200, 250, false},
    };
    for (const auto& c : cases) {
        std::vector<QPointF> stops;
        for (int x = c.from; x <= c.to; ++x)
            if (x != 0)
                stops.emplace_back(x * 10.0, 500.0);
        std::shuffle(stops.begin(), stops.end(), std::mt19937(7));
        const RoutePlan plan = route::PlanRoute({c.start * 10.0, 500.0}, stops);
        EXPECT_TRUE(IsPermutation(plan.Order, stops.size())) << c.name;
        EXPECT_NEAR(plan.Length, c.length * 10.0, 1e-6) << c.name;
        EXPECT_EQ(stops.size() <= std::size_t(route::kExactStops), c.exact) << c.name;
        // The improvement alone too, above the exact limit.
        if (!c.exact) {
            EXPECT_NEAR(route::PlanHeuristic({c.start * 10.0, 500.0}, stops).Length, c.length * 10.0, 1e-6) << c.name;
        }
    }
}

// The improvement alone on few stops: within 1 % of the exact optimum on
// average (a loose check of its quality; the benchmark reports the figure).
TEST(RouteSolver, HeuristicCloseToExactOnFewStops)
{
    double gaps = 0.0;
    constexpr int kInstances = 30;
    for (int k = 0; k < kInstances; ++k) {
        const Instance in = RandomInstance(500u + static_cast<uint32_t>(k), 10 + k % 3);
        const double exact = route::PlanExact(in.start, in.stops).Length;
        const RoutePlan heuristic = route::PlanHeuristic(in.start, in.stops);
        ASSERT_TRUE(IsPermutation(heuristic.Order, in.stops.size()));
        ASSERT_GE(heuristic.Length, exact - 1e-6);
        gaps += (heuristic.Length - exact) / exact;
    }
    EXPECT_LT(gaps / kInstances, 0.01);
}

// Orders handed in are mended, and the result is always every stop once and
// never longer than the order as handed in.
TEST(RouteSolver, OrdersHandedInAreMended)
{
    const Instance in = RandomInstance(77, 30);
    std::vector<int> walked(30);
    std::iota(walked.begin(), walked.end(), 0);
    const struct {
        const char* name;
        std::vector<int> order;
    } cases[] = {
        {"every stop once", walked},
        {"empty", {}},
        {"repeated and unknown indexes", {3, 3, -1, 30, 999, 4, 3}},
        {"half the stops", std::vector<int>(walked.begin(), walked.begin() + 15)},
    };
    for (const auto& c : cases) {
        const RoutePlan improved = route::ImproveRoute(in.start, in.stops, c.order);
        EXPECT_TRUE(IsPermutation(improved.Order, in.stops.size())) << c.name;
        EXPECT_NEAR(improved.Length, route::PathLength(in.start, in.stops, improved.Order), 1e-6) << c.name;
        const RoutePlan again = route::Replan(in.start, in.stops, c.order);
        EXPECT_EQ(again.Order, improved.Order) << c.name << ": same input, same route";
    }
    EXPECT_LE(route::ImproveRoute(in.start, in.stops, walked).Length,
              route::PathLength(in.start, in.stops, walked) + 1e-9);
}

TEST(RouteSolver, SmallCountsAndExactLimit)
{
    const QPointF start(100, 100);
    EXPECT_TRUE(route::PlanRoute(start, {}).Order.empty());
    EXPECT_EQ(route::PlanRoute(start, {}).Length, 0.0);
    EXPECT_EQ(route::PlanHeuristic(start, {{103, 104}}).Order, std::vector<int>{0});
    EXPECT_DOUBLE_EQ(route::PlanHeuristic(start, {{103, 104}}).Length, 5.0);
    // Two stops at one point, and one at the start itself.
    const RoutePlan same = route::PlanRoute(start, {{100, 100}, {110, 100}, {110, 100}});
    EXPECT_EQ(same.Order.front(), 0);
    EXPECT_DOUBLE_EQ(same.Length, 10.0);
    // Beyond the exact limit PlanExact still answers, with every stop.
    const Instance many = RandomInstance(5, route::kExactStops + 8);
    EXPECT_TRUE(IsPermutation(route::PlanExact(many.start, many.stops).Order, many.stops.size()));
}

// What no map holds still gives a route through every stop, in bounded time
// and memory.
TEST(RouteSolver, UnusualInputStillVisitsEveryStop)
{
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        Instance in;
    } cases[] = {
        {"a stop that is not a number, exact", {{0, 0}, {{1, 1}, {nan, 5}, {3, 3}}}},
        {"an endless start, exact", {{inf, 0}, {{1, 1}, {2, 2}}}},
        {"a stop that is not a number, improved", RandomInstance(9, 40)},
        {"three thousand stops", RandomInstance(10, 3000)},
    };
    for (auto c : cases) {
        if (c.in.stops.size() == 40)
            c.in.stops[17] = {nan, nan};
        const RoutePlan plan = route::PlanRoute(c.in.start, c.in.stops);
        EXPECT_TRUE(IsPermutation(plan.Order, c.in.stops.size())) << c.name;
    }
}

} // namespace

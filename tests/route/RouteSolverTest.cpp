// The route planner: exact plans against every order tried, the improvement
// against paths whose best is worked out by hand, and any input still giving
// a route through every stop.

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
    auto at = [&](double size) { return static_cast<double>(rng()) / 4294967296.0 * size; };
    Instance in{{at(3200), at(2400)}, {}};
    for (int i = 0; i < n; ++i)
        in.stops.emplace_back(at(3200), at(2400));
    return in;
}

bool IsPermutation(std::vector<int> order, std::size_t n)
{
    std::sort(order.begin(), order.end());
    std::vector<int> every(n);
    std::iota(every.begin(), every.end(), 0);
    return order == every;
}

TEST(RouteSolver, ExactMatchesEveryOrderTried)
{
    for (int n = 0; n <= 8; ++n)
        for (uint32_t seed : {11u, 12u, 13u}) {
            const Instance in = RandomInstance(seed * 100 + static_cast<uint32_t>(n), n);
            std::vector<int> order(in.stops.size());
            std::iota(order.begin(), order.end(), 0);
            double best = route::PathLength(in.start, in.stops, order);
            while (std::next_permutation(order.begin(), order.end()))
                best = std::min(best, route::PathLength(in.start, in.stops, order));
            const RoutePlan plan = route::PlanExact(in.start, in.stops);
            SCOPED_TRACE(testing::Message() << n << " stops, seed " << seed);
            ASSERT_TRUE(IsPermutation(plan.Order, in.stops.size()));
            EXPECT_NEAR(plan.Length, route::PathLength(in.start, in.stops, plan.Order), 1e-6);
            EXPECT_NEAR(plan.Length, best, 1e-6);
        }
}

// Stops on one line, shuffled: the best open path walks to the nearer end
// first, then to the far end.
TEST(RouteSolver, StopsOnALineWalkedEndToEnd)
{
    const struct {
        const char* name;
        int start, from, to; // stops at from..to but 0, times 10 pixels
        int length;
    } cases[] = {
        {"start at one end, 5 stops (exact)", 0, 1, 5, 5},
        {"start between, nearer the left end (exact)", 0, -3, 8, 2 * 3 + 8},
        {"start at one end, 60 stops", 0, 1, 60, 60},
        {"start between, 40 stops", 0, -10, 30, 2 * 10 + 30},
        {"start far left of 200 stops", -50, 1, 200, 250},
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
        EXPECT_NEAR(route::PlanHeuristic({c.start * 10.0, 500.0}, stops).Length, c.length * 10.0, 1e-6) << c.name;
    }
}

// The improvement alone on few stops: within 1 % of the exact optimum on
// average (a loose check; the benchmark reports the figure).
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

// Orders handed in are mended; points no map holds and counts no map has
// still give every stop once, the same route for the same input.
TEST(RouteSolver, EveryStopOnceWhateverTheInput)
{
    const double nan = std::nan("");
    const Instance thirty = RandomInstance(77, 30);
    Instance holed = RandomInstance(9, 40);
    holed.stops[17] = {nan, nan};
    const struct {
        const char* name;
        Instance in;
        std::vector<int> order;
    } cases[] = {
        {"order empty", thirty, {}},
        {"repeated and unknown indexes", thirty, {3, 3, -1, 30, 999, 4, 3}},
        {"half the stops", thirty, {29, 28, 27, 26, 25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15}},
        {"no stop", {{5, 5}, {}}, {0}},
        {"one stop", {{5, 5}, {{8, 9}}}, {}},
        {"a stop that is not a number, exact", {{0, 0}, {{1, 1}, {nan, 5}, {3, 3}}}, {}},
        {"an endless start, exact", {{std::numeric_limits<double>::infinity(), 0}, {{1, 1}, {2, 2}}}, {}},
        {"a stop that is not a number, improved", holed, {}},
        {"three thousand stops", RandomInstance(10, 3000), {}},
    };
    for (const auto& c : cases) {
        const RoutePlan plan = route::Replan(c.in.start, c.in.stops, c.order);
        EXPECT_TRUE(IsPermutation(plan.Order, c.in.stops.size())) << c.name;
        EXPECT_NEAR(plan.Length, route::PathLength(c.in.start, c.in.stops, plan.Order), 1e-6) << c.name;
        if (c.in.stops.size() == 30) {
            EXPECT_EQ(route::ImproveRoute(c.in.start, c.in.stops, c.order).Order, plan.Order) << c.name;
        }
    }
    EXPECT_DOUBLE_EQ(route::PlanRoute({5, 5}, {{8, 9}}).Length, 5.0);
}

} // namespace

// Times of the route planner on uniform random stops in a 3200 x 2400 map
// (12 stops: the largest exact plan),
// and how far its plans are from the best known: the exact optimum for 10 to
// 12 stops, the best of 20 runs of the same improvement from random orders
// for 200 stops. The gaps are counters of one run, not timed.

#include "route/RouteSolver.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

namespace {

struct Instance {
    QPointF start;
    std::vector<QPointF> stops;
};

QPointF RandomPoint(std::mt19937& rng)
{
    constexpr double kWidth = 3200.0, kHeight = 2400.0;
    const double x = static_cast<double>(rng()) / 4294967296.0 * kWidth;
    const double y = static_cast<double>(rng()) / 4294967296.0 * kHeight;
    return {x, y};
}

Instance RandomInstance(uint32_t seed, int stops)
{
    std::mt19937 rng(seed);
    Instance in;
    in.start = RandomPoint(rng);
    for (int i = 0; i < stops; ++i)
        in.stops.push_back(RandomPoint(rng));
    return in;
}

void Plan(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    std::vector<Instance> instances;
    for (uint32_t seed = 1; seed <= 8; ++seed)
        instances.push_back(RandomInstance(seed, n));
    std::size_t i = 0;
    for (auto _ : state) {
        const Instance& in = instances[i++ % instances.size()];
        benchmark::DoNotOptimize(route::PlanRoute(in.start, in.stops));
    }
}
BENCHMARK(Plan)->Arg(12)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

// The next stop captured: taken away, and the rest planned again from the
// place it stood, starting from the order walked so far.
void ReplanAfterRemoval(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    struct Case {
        QPointF from;
        std::vector<QPointF> rest;
        std::vector<int> carried;
    };
    std::vector<Case> cases;
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        const Instance in = RandomInstance(seed, n);
        const route::RoutePlan plan = route::PlanRoute(in.start, in.stops);
        const int taken = plan.Order.front();
        Case c{in.stops[static_cast<std::size_t>(taken)], {}, {}};
        std::vector<int> newIndex(in.stops.size(), -1);
        for (std::size_t s = 0; s < in.stops.size(); ++s)
            if (static_cast<int>(s) != taken) {
                newIndex[s] = static_cast<int>(c.rest.size());
                c.rest.push_back(in.stops[s]);
            }
        for (int s : plan.Order)
            if (s != taken)
                c.carried.push_back(newIndex[static_cast<std::size_t>(s)]);
        cases.push_back(std::move(c));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const Case& c = cases[i++ % cases.size()];
        benchmark::DoNotOptimize(route::Replan(c.from, c.rest, c.carried));
    }
}
BENCHMARK(ReplanAfterRemoval)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

// The two comparisons, once: mean and largest gap in per cent.
void OptimalityGap(benchmark::State& state)
{
    double exactMean = 0.0, exactMax = 0.0, randomMean = 0.0, randomMax = 0.0;
    for (auto _ : state) {
        constexpr int kSmall = 100;
        double sum = 0.0;
        for (int k = 0; k < kSmall; ++k) {
            const Instance in = RandomInstance(1000u + static_cast<uint32_t>(k), 10 + k % 3);
            const double exact = route::PlanExact(in.start, in.stops).Length;
            const double heuristic = route::PlanHeuristic(in.start, in.stops).Length;
            const double gap = 100.0 * (heuristic - exact) / exact;
            sum += gap;
            exactMax = std::max(exactMax, gap);
        }
        exactMean = sum / kSmall;

        constexpr int kLarge = 20, kRuns = 20;
        sum = 0.0;
        for (int k = 0; k < kLarge; ++k) {
            const Instance in = RandomInstance(2000u + static_cast<uint32_t>(k), 200);
            const double planned = route::PlanRoute(in.start, in.stops).Length;
            std::mt19937 rng(3000u + static_cast<uint32_t>(k));
            double best = planned * 10.0;
            std::vector<int> order(in.stops.size());
            for (int run = 0; run < kRuns; ++run) {
                std::iota(order.begin(), order.end(), 0);
                std::shuffle(order.begin(), order.end(), rng);
                best = std::min(best, route::ImproveRoute(in.start, in.stops, order).Length);
            }
            const double gap = 100.0 * (planned - best) / best;
            sum += gap;
            randomMax = std::max(randomMax, gap);
        }
        randomMean = sum / kLarge;
    }
    state.counters["exact_gap_mean_pct"] = exactMean;
    state.counters["exact_gap_max_pct"] = exactMax;
    state.counters["random_start_gap_mean_pct"] = randomMean;
    state.counters["random_start_gap_max_pct"] = randomMax;
}
BENCHMARK(OptimalityGap)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();

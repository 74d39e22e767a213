#include "route/RouteSolver.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <deque>
#include <limits>
#include <numeric>

namespace route {

namespace {

using Index = std::size_t;

// Moves shorter than this are no improvement: rounding must not make the
// search go round in circles.
constexpr double kEpsilon = 1e-9;
// Candidates looked at around each stop.
constexpr int kNeighbours = 10;
// The shakes are placed within this many positions of each other.
constexpr int kShakeSpan = 30;

// Above this many stops the distances are worked out when asked instead of
// kept in a table (which grows with the square of the count), and the plan
// is the neighbour moves alone, without the full passes and the shakes.
constexpr int kLargeStops = 1000;

// A point that is not a number costs nothing to reach, so that it cannot
// spoil the comparisons.
double Distance(QPointF a, QPointF b)
{
    const double dx = a.x() - b.x();
    const double dy = a.y() - b.y();
    const double d = std::sqrt(dx * dx + dy * dy);
    return std::isfinite(d) ? d : 0.0;
}

// A small generator of our own: the same numbers on every platform, so that
// the same stops always give the same route.
class Shaker {
public:
    explicit Shaker(uint64_t seed) : m_state(seed) {}
    // A number in 0 .. bound-1 (bound > 0).
    int below(int bound)
    {
        m_state += 0x9E3779B97F4A7C15ULL;
        uint64_t z = m_state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        z ^= z >> 31;
        return static_cast<int>(z % static_cast<uint64_t>(bound));
    }

private:
    uint64_t m_state;
};

// Distances between the nodes: the stops 0..n-1 and the start as node n.
class Distances {
public:
    Distances(QPointF start, const std::vector<QPointF>& stops)
        : m_nodes(static_cast<int>(stops.size()) + 1), m_at(stops)
    {
        m_at.push_back(start);
        if (m_nodes > kLargeStops + 1)
            return;
        m_d.resize(static_cast<Index>(m_nodes) * static_cast<Index>(m_nodes));
        for (int a = 0; a < m_nodes; ++a)
            for (int b = a; b < m_nodes; ++b)
                m_d[cell(a, b)] = m_d[cell(b, a)] = Distance(m_at[static_cast<Index>(a)], m_at[static_cast<Index>(b)]);
    }
    int nodes() const { return m_nodes; }
    int start() const { return m_nodes - 1; }
    double operator()(int a, int b) const
    {
        return m_d.empty() ? Distance(m_at[static_cast<Index>(a)], m_at[static_cast<Index>(b)]) : m_d[cell(a, b)];
    }

    // The k nearest other nodes of every node, nearest first.
    std::vector<std::vector<int>> nearest(int k) const
    {
        std::vector<std::vector<int>> lists(static_cast<Index>(m_nodes));
        std::vector<int> others;
        for (int a = 0; a < m_nodes; ++a) {
            others.clear();
            for (int b = 0; b < m_nodes; ++b)
                if (b != a)
                    others.push_back(b);
            const auto keep = static_cast<std::ptrdiff_t>(std::min<Index>(static_cast<Index>(k), others.size()));
            std::partial_sort(others.begin(), others.begin() + keep, others.end(),
                              [&](int x, int y) { return (*this)(a, x) < (*this)(a, y); });
            lists[static_cast<Index>(a)].assign(others.begin(), others.begin() + keep);
        }
        return lists;
    }

private:
    Index cell(int a, int b) const
    {
        return static_cast<Index>(a) * static_cast<Index>(m_nodes) + static_cast<Index>(b);
    }

    int m_nodes;
    std::vector<QPointF> m_at; // by node
    std::vector<double> m_d;   // by pair of nodes; empty for many stops
};

// The indexes of `order` that name a stop, each once, then every stop it
// left out, each inserted where it lengthens the path least.
std::vector<int> Mended(const Distances& d, const std::vector<int>& order)
{
    const int n = d.nodes() - 1;
    std::vector<char> seen(static_cast<Index>(n), 0);
    std::vector<int> path;
    for (int s : order)
        if (s >= 0 && s < n && !seen[static_cast<Index>(s)]) {
            seen[static_cast<Index>(s)] = 1;
            path.push_back(s);
        }
    for (int s = 0; s < n; ++s) {
        if (seen[static_cast<Index>(s)])
            continue;
        // Position p: between path[p-1] (the start for p = 0) and path[p].
        Index best = path.size();
        double bestCost = path.empty() ? 0.0 : d(path.back(), s);
        for (Index p = 0; p < path.size(); ++p) {
            const int before = p == 0 ? d.start() : path[p - 1];
            const double cost = d(before, s) + d(s, path[p]) - d(before, path[p]);
            if (cost < bestCost) {
                bestCost = cost;
                best = p;
            }
        }
        path.insert(path.begin() + static_cast<std::ptrdiff_t>(best), s);
    }
    return path;
}

// An open path held as nodes by position (position 0 the start, fixed) and
// positions by node, improved by 2-opt and Or-opt moves. Nodes whose
// surroundings changed wait in a queue to be looked at again (the others
// are known to offer no move among their neighbours).
class Path {
public:
    Path(const Distances& d, const std::vector<std::vector<int>>& near, const std::vector<int>& order)
        : m_d(d), m_near(near), m_pos(static_cast<Index>(d.nodes())), m_queued(static_cast<Index>(d.nodes()), 0)
    {
        m_t.reserve(order.size() + 1);
        m_t.push_back(d.start());
        m_t.insert(m_t.end(), order.begin(), order.end());
        renumber();
    }

    int last() const { return static_cast<int>(m_t.size()) - 1; }
    int at(int p) const { return m_t[static_cast<Index>(p)]; }
    int pos(int node) const { return m_pos[static_cast<Index>(node)]; }
    // Length of the edge from position p to p + 1; none after the last.
    double edge(int p) const { return p < last() ? m_d(at(p), at(p + 1)) : 0.0; }

    double length() const
    {
        double sum = 0.0;
        for (int p = 0; p < last(); ++p)
            sum += edge(p);
        return sum;
    }
    std::vector<int> order() const { return std::vector<int>(m_t.begin() + 1, m_t.end()); }
    const std::vector<int>& nodes() const { return m_t; }
    void assign(const std::vector<int>& nodes)
    {
        m_t = nodes;
        renumber();
    }

    void queue(int node)
    {
        if (!m_queued[static_cast<Index>(node)]) {
            m_queued[static_cast<Index>(node)] = 1;
            m_waiting.push_back(node);
        }
    }
    void queueAll()
    {
        for (int node : m_t)
            queue(node);
    }

    // Applies improving moves until no queued node offers one.
    void settle()
    {
        while (!m_waiting.empty()) {
            const int a = m_waiting.front();
            m_waiting.pop_front();
            m_queued[static_cast<Index>(a)] = 0;
            if (twoOpt(a) || orOpt(a))
                queue(a);
        }
    }

    // One pass over every move, neighbours or not; true when one was made
    // (the nodes it touched are then queued).
    bool sweep()
    {
        for (int p = 0; p < last(); ++p)
            for (int q = p + 2; q <= last(); ++q)
                if (tryReverse(p, q))
                    return true;
        for (int s = 1; s <= last(); ++s)
            for (int len = 1; len <= 3 && s + len - 1 <= last(); ++len) {
                const double removed = removal(s, s + len - 1);
                for (int g = 0; g <= last(); ++g)
                    if (tryMove(s, s + len - 1, g, removed))
                        return true;
            }
        return false;
    }

    // Moves part B of A B C D behind part C (A C B D), the parts placed at
    // most kShakeSpan positions apart: a change no single 2-opt or Or-opt
    // move undoes.
    void shake(Shaker& random)
    {
        const int stops = last();
        if (stops < 4)
            return;
        const int span = std::min(stops, kShakeSpan);
        const int from = 1 + random.below(stops - span + 1);
        int cuts[3];
        for (int& c : cuts)
            c = from + random.below(span);
        std::sort(std::begin(cuts), std::end(cuts));
        const int p1 = cuts[0], p2 = cuts[1] + 1, p3 = cuts[2] + 2;
        if (p3 > stops + 1 || p2 >= p3 || p1 >= p2)
            return;
        for (int p : {p1 - 1, p1, p2 - 1, p2, p3 - 1})
            queue(at(p));
        if (p3 <= stops)
            queue(at(p3));
        std::rotate(m_t.begin() + p1, m_t.begin() + p2, m_t.begin() + p3);
        renumber(p1, p3 - 1);
    }

private:
    void renumber() { renumber(0, last()); }
    void renumber(int from, int to)
    {
        for (int p = from; p <= to; ++p)
            m_pos[static_cast<Index>(at(p))] = p;
    }

    // Reversing positions p+1 .. q (0 <= p, p + 2 <= q <= last): the edges
    // after p and after q make way for (t[p], t[q]) and (t[p+1], t[q+1]).
    bool tryReverse(int p, int q)
    {
        const double added = m_d(at(p), at(q)) + (q < last() ? m_d(at(p + 1), at(q + 1)) : 0.0);
        if (added >= edge(p) + edge(q) - kEpsilon)
            return false;
        for (int x : {p, p + 1, q})
            queue(at(x));
        if (q < last())
            queue(at(q + 1));
        std::reverse(m_t.begin() + p + 1, m_t.begin() + q + 1);
        renumber(p + 1, q);
        return true;
    }

    // 2-opt moves that give node a the edge to one of its neighbours.
    bool twoOpt(int a)
    {
        const int i = pos(a);
        // The end of the path turned round: a's next edge makes way for the
        // edge from a to the last stop.
        if (i + 2 <= last() && tryReverse(i, last()))
            return true;
        const double longest = std::max(edge(i), i >= 1 ? edge(i - 1) : 0.0);
        for (int c : m_near[static_cast<Index>(a)]) {
            const double ac = m_d(a, c);
            // Nearest first: no farther neighbour shortens either edge.
            if (ac >= longest)
                break;
            const int j = pos(c);
            if (std::abs(i - j) < 2)
                continue;
            // a and c joined, each losing the edge to its next node.
            if (i < last() && ac < edge(i) && tryReverse(std::min(i, j), std::max(i, j)))
                return true;
            // a and c joined, each losing the edge from its previous node.
            if (i >= 1 && j >= 1 && ac < edge(i - 1) && tryReverse(std::min(i, j) - 1, std::max(i, j) - 1))
                return true;
        }
        return false;
    }

    // What taking positions s .. e (1 <= s <= e <= last) out of the path
    // saves: their two edges, less the edge that closes the gap.
    double removal(int s, int e) const
    {
        const int prev = at(s - 1);
        return m_d(prev, at(s)) + (e < last() ? m_d(at(e), at(e + 1)) - m_d(prev, at(e + 1)) : 0.0);
    }

    // Moving positions s .. e, which save `removed` when taken out, between
    // g and g + 1 (or behind the last stop for g = last), either way round.
    bool tryMove(int s, int e, int g, double removed)
    {
        if (g >= s - 1 && g <= e)
            return false;
        const bool end = g == last();
        const int before = at(g);
        const int after = end ? -1 : at(g + 1);
        const double gap = end ? 0.0 : m_d(before, after);
        const double forward = m_d(before, at(s)) + (end ? 0.0 : m_d(at(e), after) - gap);
        const double backward = m_d(before, at(e)) + (end ? 0.0 : m_d(at(s), after) - gap);
        const bool reversed = backward < forward;
        if (std::min(forward, backward) >= removed - kEpsilon)
            return false;
        for (int x : {s - 1, s, e, g})
            queue(at(x));
        if (e < last())
            queue(at(e + 1));
        if (!end)
            queue(after);
        m_part.assign(m_t.begin() + s, m_t.begin() + e + 1);
        if (reversed)
            std::reverse(m_part.begin(), m_part.end());
        m_t.erase(m_t.begin() + s, m_t.begin() + e + 1);
        const int behind = g < s ? g + 1 : g - (e - s + 1) + 1;
        m_t.insert(m_t.begin() + behind, m_part.begin(), m_part.end());
        renumber(std::min(s, g), std::max(e, g));
        return true;
    }

    // Or-opt moves of the one to three stops that begin or end at node a,
    // to a place beside a neighbour of either end.
    bool orOpt(int a)
    {
        const int i = pos(a);
        if (i == 0)
            return false;
        for (int len = 1; len <= 3; ++len) {
            // The part beginning at a, then (for two or three) the one ending there.
            for (int side = 0; side < (len == 1 ? 1 : 2); ++side) {
                const int s = side == 0 ? i : i - len + 1;
                const int e = s + len - 1;
                if (s < 1 || e > last())
                    continue;
                const double removed = removal(s, e);
                if (tryMove(s, e, last(), removed))
                    return true;
                for (const int end : {at(s), at(e)})
                    for (int c : m_near[static_cast<Index>(end)]) {
                        // Nearest first: farther neighbours cannot pay for
                        // their new edge either.
                        if (m_d(end, c) >= removed)
                            break;
                        const int j = pos(c);
                        if (tryMove(s, e, j, removed) || (j >= 1 && tryMove(s, e, j - 1, removed)))
                            return true;
                    }
            }
        }
        return false;
    }

    const Distances& m_d;
    const std::vector<std::vector<int>>& m_near;
    std::vector<int> m_t;
    std::vector<int> m_pos;
    std::vector<char> m_queued;
    std::deque<int> m_waiting;
    std::vector<int> m_part; // the stops being moved
};

// Local improvement until neither a neighbour move nor any other helps.
void Settle(Path& path)
{
    path.settle();
    while (path.sweep())
        path.settle();
}

RoutePlan Improve(const Distances& d, const std::vector<int>& order)
{
    const int n = d.nodes() - 1;
    if (n <= 1) {
        const std::vector<int> path = Mended(d, order);
        return {path, path.empty() ? 0.0 : d(d.start(), path.front())};
    }
    const std::vector<std::vector<int>> near = d.nearest(kNeighbours);
    Path path(d, near, Mended(d, order));
    path.queueAll();
    if (n > kLargeStops) {
        path.settle();
        return {path.order(), path.length()};
    }
    Settle(path);

    // Shakes, each kept only when the path comes out shorter.
    Shaker random(0x5EEDu + static_cast<uint64_t>(n));
    std::vector<int> best = path.nodes();
    double bestLength = path.length();
    const int shakes = 2 * n + 50;
    for (int k = 0; k < shakes; ++k) {
        path.shake(random);
        path.settle();
        const double length = path.length();
        if (length < bestLength - kEpsilon) {
            best = path.nodes();
            bestLength = length;
        } else {
            path.assign(best);
        }
    }
    path.assign(best);
    path.queueAll();
    Settle(path);
    return {path.order(), path.length()};
}

} // namespace

double PathLength(QPointF start, const std::vector<QPointF>& stops, const std::vector<int>& order)
{
    double sum = 0.0;
    QPointF at = start;
    for (int s : order) {
        if (s < 0 || static_cast<Index>(s) >= stops.size())
            continue;
        sum += Distance(at, stops[static_cast<Index>(s)]);
        at = stops[static_cast<Index>(s)];
    }
    return sum;
}

RoutePlan PlanExact(QPointF start, const std::vector<QPointF>& stops)
{
    const int n = static_cast<int>(stops.size());
    if (n > kExactStops)
        return PlanHeuristic(start, stops);
    if (n == 0)
        return {};
    const Distances d(start, stops);
    const Index full = (Index{1} << n) - 1;
    const Index cells = (full + 1) * static_cast<Index>(n);
    // best[set * n + k]: the shortest path from the start through the stops
    // of `set`, ending at stop k (in the set); came[...] the stop before k
    // (-1: the start). Each set is built from the smaller ones before it.
    std::vector<double> best(cells);
    std::vector<int> came(cells, -1);
    auto cell = [n](Index set, int j) { return set * static_cast<Index>(n) + static_cast<Index>(j); };
    for (Index set = 1; set <= full; ++set)
        for (Index ends = set; ends != 0; ends &= ends - 1) {
            const int k = std::countr_zero(ends);
            const Index before = set & ~(Index{1} << k);
            if (before == 0) {
                best[cell(set, k)] = d(d.start(), k);
                continue;
            }
            double shortest = std::numeric_limits<double>::infinity();
            int from = -1;
            for (Index rest = before; rest != 0; rest &= rest - 1) {
                const int j = std::countr_zero(rest);
                const double length = best[cell(before, j)] + d(j, k);
                if (length < shortest) {
                    shortest = length;
                    from = j;
                }
            }
            best[cell(set, k)] = shortest;
            came[cell(set, k)] = from;
        }
    int end = 0;
    for (int j = 1; j < n; ++j)
        if (best[cell(full, j)] < best[cell(full, end)])
            end = j;
    RoutePlan plan;
    plan.Length = best[cell(full, end)];
    Index set = full;
    for (int j = end; j >= 0;) {
        plan.Order.push_back(j);
        const int before = came[cell(set, j)];
        set &= ~(Index{1} << j);
        j = before;
    }
    std::reverse(plan.Order.begin(), plan.Order.end());
    return plan;
}

RoutePlan ImproveRoute(QPointF start, const std::vector<QPointF>& stops, const std::vector<int>& order)
{
    const Distances d(start, stops);
    return Improve(d, order);
}

RoutePlan PlanHeuristic(QPointF start, const std::vector<QPointF>& stops)
{
    const Distances d(start, stops);
    const int n = d.nodes() - 1;
    std::vector<int> order;
    std::vector<char> taken(static_cast<Index>(n), 0);
    for (int at = d.start(); static_cast<int>(order.size()) < n;) {
        int next = -1;
        for (int s = 0; s < n; ++s)
            if (!taken[static_cast<Index>(s)] && (next < 0 || d(at, s) < d(at, next)))
                next = s;
        taken[static_cast<Index>(next)] = 1;
        order.push_back(next);
        at = next;
    }
    return Improve(d, order);
}

RoutePlan PlanRoute(QPointF start, const std::vector<QPointF>& stops)
{
    return static_cast<int>(stops.size()) <= kExactStops ? PlanExact(start, stops) : PlanHeuristic(start, stops);
}

RoutePlan Replan(QPointF start, const std::vector<QPointF>& stops, const std::vector<int>& previousOrder)
{
    if (static_cast<int>(stops.size()) <= kExactStops)
        return PlanExact(start, stops);
    return ImproveRoute(start, stops, previousOrder);
}

} // namespace route

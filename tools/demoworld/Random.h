// A small fixed-sequence random source for the demo world. The standard
// library's distributions are implementation-defined, so every draw here is
// computed by hand: the same seed gives the same world on every platform.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace demoworld {

class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}

    // Seed derived from a parent seed and a few numbers (campaign, region...).
    static uint64_t derive(uint64_t seed, uint64_t a, uint64_t b = 0, uint64_t c = 0)
    {
        uint64_t s = seed ^ 0x9E3779B97F4A7C15ull;
        for (uint64_t v : {a, b, c})
            s = mix(s + v * 0xBF58476D1CE4E5B9ull + 0x94D049BB133111EBull);
        return s;
    }

    static uint64_t mix(uint64_t z)
    {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    uint64_t next()
    {
        m_state += 0x9E3779B97F4A7C15ull;
        return mix(m_state);
    }

    // Uniform in [0, n); 0 when n <= 0.
    int below(int n)
    {
        if (n <= 0)
            return 0;
        return static_cast<int>((next() >> 33) % static_cast<uint64_t>(n));
    }
    // Uniform in [lo, hi].
    int range(int lo, int hi) { return lo + below(hi - lo + 1); }
    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }
    bool chance(double p) { return unit() < p; }

    template <typename T>
    const T& pick(const std::vector<T>& v)
    {
        return v[static_cast<size_t>(below(static_cast<int>(v.size())))];
    }
    template <typename T, size_t N>
    const T& pick(const T (&a)[N])
    {
        return a[below(static_cast<int>(N))];
    }

    template <typename T>
    void shuffle(std::vector<T>& v)
    {
        for (size_t i = v.size(); i > 1; --i)
            std::swap(v[i - 1], v[static_cast<size_t>(below(static_cast<int>(i)))]);
    }

private:
    uint64_t m_state;
};

} // namespace demoworld

// The colour science behind the profession palette check, against published
// figures: the CIEDE2000 test pairs of Sharma, Wu and Dalal (2005), sRGB
// primaries in L*a*b*, and a colour worked through a simulation by hand.
#include "core/ColourDifference.h"

#include <gtest/gtest.h>

namespace {

using namespace colourdiff;

TEST(DeltaE2000, PublishedTestPairs)
{
    // Rows of the published table (pair number, both colours, ΔE00 to 4 places).
    const struct {
        const char* name;
        Lab first, second;
        double expected;
    } pairs[] = {
        {"1: blue, chroma changes", {50, 2.6772, -79.7751}, {50, 0, -82.7485}, 2.0425},
        {"4: blue, hue rotation term", {50, -1.3802, -84.2814}, {50, 0, -82.7485}, 1.0000},
        {"7: one side achromatic", {50, 0, 0}, {50, -1, 2}, 2.3669},
        {"10: hue mean across 0/360", {50, 2.49, -0.001}, {50, -2.49, 0.0010}, 7.1792},
        {"11: hue difference just past 180", {50, 2.49, -0.001}, {50, -2.49, 0.0011}, 7.2195},
        {"14: hue mean below 360", {50, -0.001, 2.49}, {50, 0.0010, -2.49}, 4.8045},
        {"15: hue mean wraps the other way", {50, -0.001, 2.49}, {50, 0.0011, -2.49}, 4.7461},
        {"17: large difference", {50, 2.5, 0}, {73, 25, -18}, 27.1492},
        {"19: large difference, other hue", {50, 2.5, 0}, {56, -27, -3}, 31.9030},
        {"25: greens", {60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
        {"29: dark blues", {22.7233, 20.0904, -46.6940}, {23.0331, 14.9730, -42.5619}, 2.0373},
        {"31: near white", {90.8027, -2.0831, 1.4410}, {91.1528, -1.6435, 0.0447}, 1.4441},
        {"34: near black", {2.0776, 0.0795, -1.1350}, {0.9033, -0.0636, -0.5514}, 0.9082},
    };
    for (const auto& p : pairs)
        EXPECT_NEAR(DeltaE2000(p.first, p.second), p.expected, 5e-5) << p.name;
}

TEST(ColourScience, SrgbToLabAndTheSimulatedVisions)
{
    const struct {
        const char* name;
        Rgb colour;
        Lab lab;
    } labs[] = {
        {"white", {255, 255, 255}, {100, 0, 0}},
        {"red", {255, 0, 0}, {53.2408, 80.0925, 67.2032}},
        {"blue", {0, 0, 255}, {32.2970, 79.1875, -107.8602}},
        {"mid grey", {128, 128, 128}, {53.5850, 0, 0}},
    };
    for (const auto& r : labs) {
        const Lab lab = ToLab(r.colour);
        EXPECT_NEAR(lab.L, r.lab.L, 0.01) << r.name;
        EXPECT_NEAR(lab.a, r.lab.a, 0.01) << r.name;
        EXPECT_NEAR(lab.b, r.lab.b, 0.01) << r.name;
    }
    auto seen = [](Rgb c, Vision v) {
        const Rgb s = Simulate(c, v);
        return std::array<int, 3>{s.r, s.g, s.b};
    };
    // Linear (1, 0, 0) through each matrix's first column: (0.152286,
    // 0.114503, -0.003882) and (0.367322, 0.280085, -0.011820), the negative
    // clamped, re-encoded: 0.4266, 0.3727, 0 and 0.6401, 0.5658, 0 of 255.
    EXPECT_EQ(seen({255, 0, 0}, Vision::Protanopia), (std::array<int, 3>{109, 95, 0}));
    EXPECT_EQ(seen({255, 0, 0}, Vision::Deuteranopia), (std::array<int, 3>{163, 144, 0}));
    // Each row of both matrices sums to 1: greys stay as they are.
    EXPECT_EQ(seen({170, 170, 170}, Vision::Protanopia), (std::array<int, 3>{170, 170, 170}));
    // The colour number of the files holds red in its low byte.
    const Rgb c = FromColourNumber(0x3C5CCCu);
    EXPECT_EQ((std::array<int, 3>{c.r, c.g, c.b}), (std::array<int, 3>{0xCC, 0x5C, 0x3C}));
}

} // namespace

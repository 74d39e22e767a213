// Colour differences as a reader sees them: sRGB decoded to linear light,
// CIE L*a*b* (D65 white), the CIEDE2000 difference between two colours, and
// how a colour looks to a reader without red cones (protanopia) or without
// green cones (deuteranopia), simulated at full severity with the matrices of
// Machado, Oliveira and Fernandes (2009). The profession palette is judged by
// the closest pair of its colours in each of these visions.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace colourdiff {

struct Rgb {
    int r = 0, g = 0, b = 0; // sRGB, 0..255 each
};

struct Lab {
    double L = 0, a = 0, b = 0;
};

enum class Vision { Normal, Protanopia, Deuteranopia };
inline constexpr std::array<Vision, 3> AllVisions = {Vision::Normal, Vision::Protanopia, Vision::Deuteranopia};
const char* VisionName(Vision vision);

// One sRGB channel (0..1) to linear light and back (clamped to 0..1).
double SrgbToLinear(double channel);
double LinearToSrgb(double linear);

Lab ToLab(Rgb colour);

// CIEDE2000 with the parametric factors kL = kC = kH = 1.
double DeltaE2000(const Lab& first, const Lab& second);

// The colour as seen in `vision`: the matrix applied in linear light, the
// result re-encoded to 8-bit sRGB.
Rgb Simulate(Rgb colour, Vision vision);

// The colour number of the data files (red in the low byte) as sRGB.
Rgb FromColourNumber(uint32_t number);

struct ClosestPair {
    double DeltaE = 0; // 0 with fewer than two colours
    int First = -1;    // indices into the colours given
    int Second = -1;
};

// The two colours that look most alike in `vision`.
ClosestPair FindClosestPair(std::span<const Rgb> colours, Vision vision);

} // namespace colourdiff

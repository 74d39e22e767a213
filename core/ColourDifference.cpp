#include "core/ColourDifference.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace colourdiff {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Machado, Oliveira and Fernandes (2009), severity 1.0, for linear RGB.
constexpr Matrix kProtanopia = {
    {{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix kDeuteranopia = {
    {{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}};

// D65 reference white of sRGB.
constexpr double kWhiteX = 0.95047, kWhiteY = 1.0, kWhiteZ = 1.08883;

double Radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

double LabF(double t)
{
    constexpr double d = 6.0 / 29.0;
    return t > d * d * d ? std::cbrt(t) : t / (3 * d * d) + 4.0 / 29.0;
}

// Hue angle in degrees, 0..360; 0 for a colour without chroma.
double Hue(double a, double b)
{
    if (a == 0 && b == 0)
        return 0;
    const double h = std::atan2(b, a) * 180.0 / std::numbers::pi;
    return h < 0 ? h + 360 : h;
}

double Pow7(double x)
{
    const double x2 = x * x;
    return x2 * x2 * x2 * x;
}

} // namespace

const char* VisionName(Vision vision)
{
    switch (vision) {
    case Vision::Normal:
        return "normal vision";
    case Vision::Protanopia:
        return "protanopia";
    case Vision::Deuteranopia:
        return "deuteranopia";
    }
    return "";
}

double SrgbToLinear(double c)
{
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double LinearToSrgb(double v)
{
    v = std::clamp(v, 0.0, 1.0);
    return v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
}

Lab ToLab(Rgb colour)
{
    const double r = SrgbToLinear(colour.r / 255.0), g = SrgbToLinear(colour.g / 255.0),
                 b = SrgbToLinear(colour.b / 255.0);
    const double x = 0.4124564 * r + 0.3575761 * g + 0.1804375 * b;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = 0.0193339 * r + 0.1191920 * g + 0.9503041 * b;
    const double fx = LabF(x / kWhiteX), fy = LabF(y / kWhiteY), fz = LabF(z / kWhiteZ);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double DeltaE2000(const Lab& one, const Lab& two)
{
    const double c1 = std::hypot(one.a, one.b), c2 = std::hypot(two.a, two.b);
    const double cMean7 = Pow7((c1 + c2) / 2);
    const double g = 0.5 * (1 - std::sqrt(cMean7 / (cMean7 + Pow7(25))));
    const double a1 = (1 + g) * one.a, a2 = (1 + g) * two.a;
    const double c1p = std::hypot(a1, one.b), c2p = std::hypot(a2, two.b);
    const double h1 = Hue(a1, one.b), h2 = Hue(a2, two.b);
    const bool achromatic = c1p * c2p == 0;

    double dh = 0;
    if (!achromatic) {
        dh = h2 - h1;
        if (dh > 180)
            dh -= 360;
        else if (dh < -180)
            dh += 360;
    }
    const double dL = two.L - one.L;
    const double dC = c2p - c1p;
    const double dH = 2 * std::sqrt(c1p * c2p) * std::sin(Radians(dh / 2));

    const double lMean = (one.L + two.L) / 2;
    const double cMean = (c1p + c2p) / 2;
    double hMean = h1 + h2;
    if (!achromatic) {
        if (std::abs(h1 - h2) <= 180)
            hMean = (h1 + h2) / 2;
        else
            hMean = h1 + h2 < 360 ? (h1 + h2 + 360) / 2 : (h1 + h2 - 360) / 2;
    }
    const double t = 1 - 0.17 * std::cos(Radians(hMean - 30)) + 0.24 * std::cos(Radians(2 * hMean)) +
                     0.32 * std::cos(Radians(3 * hMean + 6)) - 0.20 * std::cos(Radians(4 * hMean - 63));
    const double dTheta = 30 * std::exp(-std::pow((hMean - 275) / 25, 2));
    const double cMeanP7 = Pow7(cMean);
    const double rc = 2 * std::sqrt(cMeanP7 / (cMeanP7 + Pow7(25)));
    const double l50 = (lMean - 50) * (lMean - 50);
    const double sl = 1 + 0.015 * l50 / std::sqrt(20 + l50);
    const double sc = 1 + 0.045 * cMean;
    const double sh = 1 + 0.015 * cMean * t;
    const double rt = -std::sin(Radians(2 * dTheta)) * rc;
    const double lTerm = dL / sl, cTerm = dC / sc, hTerm = dH / sh;
    return std::sqrt(lTerm * lTerm + cTerm * cTerm + hTerm * hTerm + rt * cTerm * hTerm);
}

Rgb Simulate(Rgb colour, Vision vision)
{
    if (vision == Vision::Normal)
        return colour;
    const Matrix& m = vision == Vision::Protanopia ? kProtanopia : kDeuteranopia;
    const std::array<double, 3> in = {SrgbToLinear(colour.r / 255.0), SrgbToLinear(colour.g / 255.0),
                                      SrgbToLinear(colour.b / 255.0)};
    std::array<int, 3> out{};
    for (std::size_t i = 0; i < 3; ++i) {
        const double v = m[i][0] * in[0] + m[i][1] * in[1] + m[i][2] * in[2];
        out[i] = static_cast<int>(std::lround(LinearToSrgb(v) * 255));
    }
    return {out[0], out[1], out[2]};
}

Rgb FromColourNumber(uint32_t number)
{
    return {static_cast<int>(number & 0xFF), static_cast<int>((number >> 8) & 0xFF),
            static_cast<int>((number >> 16) & 0xFF)};
}

ClosestPair FindClosestPair(std::span<const Rgb> colours, Vision vision)
{
    std::vector<Lab> labs;
    labs.reserve(colours.size());
    for (const Rgb& c : colours)
        labs.push_back(ToLab(Simulate(c, vision)));
    ClosestPair closest;
    for (std::size_t i = 0; i < labs.size(); ++i)
        for (std::size_t j = i + 1; j < labs.size(); ++j) {
            const double d = DeltaE2000(labs[i], labs[j]);
            if (closest.First < 0 || d < closest.DeltaE)
                closest = {d, static_cast<int>(i), static_cast<int>(j)};
        }
    return closest;
}

} // namespace colourdiff

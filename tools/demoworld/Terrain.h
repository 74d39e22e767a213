// Procedural region maps: a height field with coast, lakes, hills, mountains
// and rivers, coloured in a campaign's palette and drawn like a hand-made map.
//
// The fields are computed on a coarse grid (one sample every few pixels) and
// read back with bilinear interpolation plus a fine detail texture, so the
// same function answers "is this pixel land?" for marker placement and gives
// the colour of every pixel of the picture.
#pragma once

#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QRgb>

#include <cstdint>
#include <vector>

namespace demoworld {

struct Palette {
    QRgb deepSea, shallowSea, coastLine, sand, dryGrass, grass, forest, treeDark, treeLight;
    QRgb hills, rock, rockDark, snow, lake, river, road, paper;
    float snowLevel;   // height above which the ground is white
    float forestAbove; // moisture above which forest grows
    bool conifers;     // tree symbols drawn as pointed firs
};

// Palettes by campaign number (1 temperate, 2 arid, 3 volcanic, 4 frozen;
// anything else falls back to the temperate one).
const Palette& CampaignPalette(int campaign);

struct Road {
    QPoint from, to;
};

class Terrain {
public:
    Terrain(uint64_t seed, int width, int height, const Palette& palette);

    int width() const { return m_width; }
    int height() const { return m_height; }

    // Ground height at a pixel: below 0 is sea.
    float heightAt(int x, int y) const;
    // True when the pixel is dry land: above the sea, outside lakes and away
    // from rivers.
    bool isLand(int x, int y) const;
    // True when the pixel and the ring of `radius` around it are dry land.
    bool isLandAround(int x, int y, int radius) const;

    // The finished map picture. Roads are drawn where they stay on land.
    QImage render(const std::vector<Road>& roads) const;

private:
    struct Sample {
        float h, m, lake;
    };
    struct Shaded {
        float h, m, lake, gx, gy; // gx, gy: height change over 8 pixels
    };
    Shaded shadedAt(int x, int y) const;
    Sample sampleAt(float x, float y) const;
    bool riverNear(int x, int y) const;
    void buildFields(uint64_t seed);
    void traceRivers(uint64_t seed);

    int m_width, m_height;
    int m_gw, m_gh; // grid size
    const Palette& m_palette;
    std::vector<float> m_h, m_m, m_lake, m_gx, m_gy;
    std::vector<uint8_t> m_riverMask; // per grid cell
    std::vector<std::vector<QPointF>> m_rivers;
    uint64_t m_seed;
};

} // namespace demoworld

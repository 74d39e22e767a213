// The land test that places markers agrees with the picture that is drawn.
#include "tools/demoworld/Terrain.h"

#include <gtest/gtest.h>

namespace {

using demoworld::CampaignPalette;
using demoworld::Terrain;

// Water of the temperate palette is strongly blue; no land colour is.
bool LooksLikeWater(QRgb c)
{
    return qBlue(c) - qRed(c) > 25;
}

struct TerrainCase {
    const char* label;
    uint64_t seed;
};

class DemoWorldTerrain : public ::testing::TestWithParam<TerrainCase> {};

TEST_P(DemoWorldTerrain, LandTestAgreesWithThePicture)
{
    const Terrain terrain(GetParam().seed, 640, 480, CampaignPalette(1));
    const QImage map = terrain.render({});
    ASSERT_EQ(map.size(), QSize(640, 480));
    int land = 0, sea = 0;
    for (int y = 20; y < 460; y += 7) {
        for (int x = 20; x < 620; x += 7) {
            if (terrain.isLandAround(x, y, 3)) {
                ++land;
                EXPECT_FALSE(LooksLikeWater(map.pixel(x, y))) << "land at " << x << "," << y << " drawn as water";
            } else if (terrain.heightAt(x, y) < -0.05f) {
                ++sea;
                EXPECT_TRUE(LooksLikeWater(map.pixel(x, y))) << "sea at " << x << "," << y << " drawn as land";
            }
        }
    }
    EXPECT_GT(land, 100) << "a map with hardly any land";
}

INSTANTIATE_TEST_SUITE_P(Seeds, DemoWorldTerrain,
                         ::testing::Values(TerrainCase{"first", 1}, TerrainCase{"second", 0xBEEF},
                                           TerrainCase{"third", 123456789}),
                         [](const ::testing::TestParamInfo<TerrainCase>& row) { return std::string(row.param.label); });

TEST(DemoWorldTerrainEdges, NothingOutsideTheSheetIsLand)
{
    const Terrain terrain(5, 400, 300, CampaignPalette(2));
    for (const QPoint p : {QPoint(-1, 10), QPoint(10, -1), QPoint(400, 10), QPoint(10, 300), QPoint(5000, 5000)})
        EXPECT_FALSE(terrain.isLand(p.x(), p.y())) << p.x() << "," << p.y();
}

} // namespace

#include "mapview/MapResources.h"
#include "mapview/modZones.h"

#include <gtest/gtest.h>

using namespace mapview;

namespace {

// Every icon a campaign of icon set 1..3 places with a real anchor is twice
// the anchor in size, so that the anchor falls on the icon's centre.
TEST(MapResources, ZoneIconsFitTheirAnchors)
{
    modZones::ZoneIconAnchorTable anchors;
    modZones::InitZoneIconAnchors(anchors);
    const MapResources& res = MapResources::Get();
    for (int campaign = 1; campaign <= 4; ++campaign) {
        const int set = campaign == 4 ? 1 : campaign;
        for (int kind = 1; kind <= 6; ++kind) {
            const QPoint a = anchors(campaign, kind);
            if (a.isNull())
                continue;
            const QImage& icon = res.ZoneIcon(kind, set);
            ASSERT_FALSE(icon.isNull()) << "campaign " << campaign << " kind " << kind;
            EXPECT_EQ(icon.size(), QSize(2 * a.x(), 2 * a.y())) << "campaign " << campaign << " kind " << kind;
        }
    }
}

TEST(MapResources, IconsAreOpaqueInTheMiddleAndClearAtTheCorner)
{
    const MapResources& res = MapResources::Get();
    std::vector<const QImage*> images;
    for (int set = 1; set <= 3; ++set)
        for (int kind = 1; kind <= 6; ++kind)
            images.push_back(&res.ZoneIcon(kind, set));
    for (int i = 0; i < FlashLayerCount; ++i)
        images.push_back(&res.Selection(static_cast<FlashLayer>(i)));
    for (const QImage* img : images) {
        ASSERT_FALSE(img->isNull());
        EXPECT_EQ(qAlpha(img->pixel(0, 0)), 0);
    }
    for (int set = 1; set <= 3; ++set)
        for (int kind = 1; kind <= 6; ++kind) {
            const QImage& img = res.ZoneIcon(kind, set);
            EXPECT_EQ(qAlpha(img.pixel(img.width() / 2, img.height() / 3)), 255) << set << "/" << kind;
        }
    EXPECT_TRUE(res.ZoneIcon(7, 1).isNull());
    EXPECT_TRUE(res.ZoneIcon(3, 4).isNull());
}

} // namespace

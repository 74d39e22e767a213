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

} // namespace

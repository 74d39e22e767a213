#include "mapview/ZoneLayer.h"

#include "mapview/LabelSpace.h"
#include "mapview/MapResources.h"
#include "mapview/modZones.h"
#include "world/World.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace mapview {

namespace {

// Colour of the zone names.
const QColor kZoneLabelColour(255, 234, 203);

bool NameOnly(const ZoneEntry& z)
{
    return z.Kind == modZones::OpenArea && z.IconFlag != 1;
}

bool CenteredName(const ZoneEntry& z)
{
    return z.Kind == modZones::OpenArea && z.IconFlag == 0;
}

} // namespace

int PointsToPixels(int points)
{
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont ZoneLabelFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(PointsToPixels(10));
    font.setBold(true);
    return font;
}

int ZoneIconSet(int campaign)
{
    if (campaign == 4)
        return 1;
    return campaign >= 1 && campaign <= ZoneIconSets ? campaign : 0;
}

void ComputeZoneLabelBoxes(CampaignTable& campaigns, const modZones::ZoneIconAnchorTable& anchors)
{
    const QFontMetrics metrics(ZoneLabelFont());
    const int th = metrics.height();
    for (std::size_t c = 1; c < campaigns.size(); ++c) {
        for (RegionEntry& region : campaigns[c].Regions) {
            for (std::size_t i = 1; i < region.Zones.size(); ++i) {
                ZoneEntry& z = region.Zones[i];
                const int tw2 = metrics.horizontalAdvance(z.Name) / 2;
                int top, bottom;
                if (CenteredName(z)) {
                    top = z.Y - th / 2;
                    bottom = z.Y + th / 2;
                } else {
                    const int dy = anchors(static_cast<int>(c), static_cast<int>(z.Kind)).y();
                    top = z.Y - dy;
                    bottom = z.Y + th + dy;
                }
                z.LabelBox = QRect(z.X - tw2, top, 2 * tw2, bottom - top);
            }
        }
    }
}

void DrawZones(QPainter& picTemp, const CampaignTable& campaigns, const modZones::ZoneIconAnchorTable& anchors, int c,
               int r, const MarkerPlacement& place, LabelSpace* labels)
{
    if (r < 1 || c < 0 || !modCampaigns::RegionExists(campaigns, c, r))
        return;
    const RegionEntry& region = campaigns[static_cast<std::size_t>(c)].Regions[static_cast<std::size_t>(r)];
    const MapResources& res = MapResources::Get();
    const int iconSet = ZoneIconSet(c);

    picTemp.save();
    picTemp.setFont(ZoneLabelFont());
    picTemp.setPen(kZoneLabelColour);
    for (std::size_t i = 1; i < region.Zones.size(); ++i) {
        const ZoneEntry& z = region.Zones[i];
        const QPoint shift = place.Shift({z.X, z.Y});
        if (!NameOnly(z)) {
            const QImage& icon = res.ZoneIcon(static_cast<int>(z.Kind), iconSet);
            if (!icon.isNull()) {
                const QPoint anchor = anchors(c, static_cast<int>(z.Kind));
                picTemp.drawImage(z.X - anchor.x() + shift.x(), z.Y - anchor.y() + shift.y(), icon);
            }
        }
        // Zoomed, a name that would cover one drawn before is left out.
        const QRect box = z.LabelBox.translated(shift);
        if (labels && !labels->Claim(box))
            continue;
        const int vertical = CenteredName(z) ? Qt::AlignVCenter : Qt::AlignBottom;
        picTemp.drawText(box, Qt::AlignHCenter | vertical | Qt::TextSingleLine | Qt::TextDontClip, z.Name);
    }
    picTemp.restore();
}

void ZoneLayer::Draw(QImage& picTemp, const MapContext& ctx) const
{
    QPainter painter(&picTemp);
    DrawZones(painter, ctx.world.campaigns, ctx.world.zoneIconAnchors, ctx.CurrentCampaign, ctx.CurrentRegion,
              ctx.Place, ctx.Labels);
}

} // namespace mapview

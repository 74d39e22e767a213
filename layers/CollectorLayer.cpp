#include "layers/CollectorLayer.h"

#include "core/TextNumbers.h"
#include "layers/LayerMarkers.h"
#include "panel/modCollectorsTab.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QStringList>

namespace collectorlayer {

using mapview::MapContext;
using mapview::MarkerRect;

namespace {

const modCollectors::Collector* CollectorOf(const World& world, int id)
{
    if (id < 1 || id > world.collectors.highest())
        return nullptr;
    const modCollectors::Collector& col = world.collectors.Collectors[static_cast<std::size_t>(id)];
    // A collector without a place is never on a map.
    return col.X == -1 || col.Y == -1 ? nullptr : &col;
}

bool OnMap(const modCollectors::Collector& col, int c, int r)
{
    return col.Campaign == c && col.Region == r;
}

// Where the marker of `col` is drawn (and answers the pointer).
MarkerRect RectOf(const modCollectors::Collector& col, bool large, const mapview::MarkerPlacement& place)
{
    return mapview::MarkerArea(mapview::MarkerKind::Collector, {col.X, col.Y},
                               {col.Left, col.Top, col.Right, col.Bottom}, large)
        .Moved(place.Shift({col.X, col.Y}));
}

constexpr int kTooltipWidth = 300;
constexpr int kLeft = 12;
constexpr int kCaptionWidth = 76;
const QColor kValueColour(240, 240, 236);
const QColor kMatchedName(238, 221, 170);
const QColor kMatchedStats(255, 255, 255);
const QColor kUnmatched(150, 150, 150);

} // namespace

std::optional<int> ZoneFilter(const World& world, const PanelState& panel)
{
    const int zone = panel.ChosenZone(world.campaigns);
    return zone == 0 ? std::nullopt : std::optional<int>(zone);
}

void DrawCollectors(QImage& picTemp, const World& world, const PanelState& panel, int c, int r,
                    const mapview::MarkerPlacement& place)
{
    if (!panel.isShown(TabCollectors))
        return;
    const std::optional<int> zone = ZoneFilter(world, panel);
    const bool large = panel.LargeMarkers;
    const QImage& armour = layermarkers::Picture(layermarkers::Marker::CollArmature, large, picTemp.devicePixelRatio());
    const QImage& weapons = layermarkers::Picture(layermarkers::Marker::CollArmi, large, picTemp.devicePixelRatio());
    for (const PanelEntry& entry : panel.lstCollectors.entries) {
        const modCollectors::Collector* col = CollectorOf(world, entry.data);
        if (!col || !OnMap(*col, c, r) || (zone && col->Zone != *zone))
            continue;
        const MarkerRect area = RectOf(*col, large, place);
        layermarkers::BlitIcon(picTemp, col->IsArmor ? armour : weapons, area.Left, area.Top);
    }
}

int FindCollectorAt(const World& world, const PanelState& panel, int c, int r, QPointF pointer, QPoint offset,
                    const mapview::MarkerPlacement& place)
{
    const QPoint pt = mapview::MapPointAt(pointer, offset);
    for (const PanelEntry& entry : panel.lstCollectors.entries) {
        const modCollectors::Collector* col = CollectorOf(world, entry.data);
        if (col && OnMap(*col, c, r) && RectOf(*col, panel.LargeMarkers, place).Contains(pt.x(), pt.y()))
            return entry.data;
    }
    return -1;
}

layertooltip::Tooltip FillCollectorTooltip(const World& world, const PanelState& panel, int collector)
{
    using layertooltip::LabelFont;
    using layertooltip::MakeLabel;
    layertooltip::Tooltip t;
    t.Width = kTooltipWidth;
    static const modCollectors::Collector kNone;
    const modCollectors::Collector* found = CollectorOf(world, collector);
    const modCollectors::Collector& col = found ? *found : kNone;
    const int width = kTooltipWidth - 2 * kLeft;
    const QColor captionColour = world.colourTable[0];

    t.BandColour = world.colourTable[1];
    layertooltip::Label name =
        MakeLabel(col.Name, kLeft, 6, width, LabelFont(9, true), layertooltip::TextOn(t.BandColour), false);
    name.Rect.setHeight(16);
    name.Flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    t.Band = QRect(QPoint(6, 6), QPoint(t.Width - 7, name.Rect.height() + 4));
    t.Labels.push_back(name);

    const QFont captionFont = LabelFont(8, true);
    const QFont valueFont = LabelFont(8);
    const int valueLeft = kLeft + kCaptionWidth;
    const int valueWidth = kTooltipWidth - kLeft - valueLeft;
    int top = name.bottom() + 8;
    t.Labels.push_back(MakeLabel(world.language(Text::CollectorRequestCaption), kLeft, top, kCaptionWidth, captionFont,
                                 captionColour, false));
    const layertooltip::Label request = MakeLabel(col.Request, valueLeft, top, valueWidth, valueFont, kValueColour);
    t.Labels.push_back(request);
    top = request.bottom() + 2;
    t.Labels.push_back(MakeLabel(world.language(Text::CollectorLocationCaption), kLeft, top, kCaptionWidth, captionFont,
                                 captionColour, false));
    const layertooltip::Label location = MakeLabel(col.Location, valueLeft, top, valueWidth, valueFont, kValueColour);
    t.Labels.push_back(location);
    t.SeparatorY = location.bottom() + 5;

    // One row per reward: the name, then its property lines; bright when the
    // reward matches the panel's filters.
    const modCollectorsTab::RewardQuery query = modCollectorsTab::ReadRewardQuery(world, panel);
    int y = location.bottom() + 9;
    int bottom = location.bottom();
    for (std::size_t i = 1; i < col.Rewards.size(); ++i) {
        const modCollectors::CollectorReward& reward = col.Rewards[i];
        QStringList lines;
        for (std::size_t s = 1; s < reward.Stats.size(); ++s)
            if (!reward.Stats[s].trimmed().isEmpty())
                lines << QStringLiteral("- ") + reward.Stats[s];
        const bool matched = modCollectorsTab::RewardMatches(reward, query);
        const layertooltip::Label rewardName =
            MakeLabel(reward.Name, kLeft, y, width, LabelFont(8, true), matched ? kMatchedName : kUnmatched);
        layertooltip::Label stats = MakeLabel(lines.join(QLatin1Char('\n')), kLeft + 8, rewardName.bottom(), width - 8,
                                              valueFont, matched ? kMatchedStats : kUnmatched);
        if (lines.isEmpty())
            stats.Rect.setHeight(0);
        t.Labels.push_back(rewardName);
        t.Labels.push_back(stats);
        bottom = stats.bottom();
        y = bottom + 3;
    }
    t.Height = bottom + 10;
    return t;
}

void CollectorLayer::Draw(QImage& picTemp, const MapContext& ctx) const
{
    DrawCollectors(picTemp, ctx.world, ctx.panel, ctx.CurrentCampaign, ctx.CurrentRegion, ctx.Place);
}

std::optional<mapview::LayerHit> CollectorLayer::Find(QPointF pointer, const MapContext& ctx) const
{
    const int id =
        FindCollectorAt(ctx.world, ctx.panel, ctx.CurrentCampaign, ctx.CurrentRegion, pointer, ctx.Offset, ctx.Place);
    if (id < 1)
        return std::nullopt;
    return mapview::LayerHit{
        id, 0,
        RectOf(ctx.world.collectors.Collectors[static_cast<std::size_t>(id)], ctx.panel.LargeMarkers, ctx.Place)};
}

std::optional<mapview::TooltipImage> CollectorLayer::BuildTooltip(const mapview::LayerHit& hit, const MapContext& ctx,
                                                                  const QImage& viewport) const
{
    const layertooltip::Tooltip t = FillCollectorTooltip(ctx.world, ctx.panel, hit.Item);
    const QPoint pos = mapview::PlaceTooltip(QSize(t.Width, t.Height), hit.Marker, ctx.Offset, ctx.ViewSize);
    return mapview::TooltipImage{layertooltip::Paint(t, viewport, pos), pos, TooltipTag(hit)};
}

std::optional<QPoint> CollectorLayer::SelectionPosition(const MapContext& ctx) const
{
    const modCollectors::Collector* col = CollectorOf(ctx.world, ctx.panel.lstCollectors.selectedData(-1));
    if (!col || !OnMap(*col, ctx.CurrentCampaign, ctx.CurrentRegion))
        return std::nullopt;
    return QPoint(col->X, col->Y);
}

} // namespace collectorlayer

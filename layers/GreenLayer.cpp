#include "layers/GreenLayer.h"

#include "layers/CollectorLayer.h"
#include "layers/LayerMarkers.h"
#include "mapview/MarkerPainter.h"
#include "panel/modGreensTab.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <algorithm>
#include <vector>

namespace greenlayer {

using mapview::MapContext;

namespace {

bool OnMap(const modElite::EliteLocation& loc, int c, int r)
{
    return loc.Campaign == c && loc.Region == r;
}

// Which elite numbers lstElite lists, looked up once per drawing.
std::vector<char> ListedElites(const World& world, const PanelState& panel)
{
    std::vector<char> listed(static_cast<std::size_t>(std::max(0, world.elite.highest()) + 1), 0);
    for (const PanelEntry& e : panel.lstElite.entries)
        if (e.data >= 0 && e.data < static_cast<int>(listed.size()))
            listed[static_cast<std::size_t>(e.data)] = 1;
    return listed;
}

GreenMark MarkOf(const World& world, const PanelState& panel, int green, const std::vector<char>& listed)
{
    if (!modGreensTab::GreenBossLocation(world, green))
        return GreenMark::None;
    const int elite = world.greens.Greens[static_cast<std::size_t>(green)].EliteNumber;
    const bool elitesShown = panel.isShown(TabElite);
    // A boss without an elite skill is always boxed while the elite layer is
    // shown; one with a skill only while the skill is listed.
    if (elite == 0)
        return elitesShown ? GreenMark::Bar : GreenMark::Marker;
    const bool isListed = elite < static_cast<int>(listed.size()) && listed[static_cast<std::size_t>(elite)];
    return elitesShown && isListed ? GreenMark::Bar : GreenMark::Marker;
}

} // namespace

GreenMark GreenMarkOf(const World& world, const PanelState& panel, int green)
{
    return MarkOf(world, panel, green, ListedElites(world, panel));
}

void DrawGreens(QImage& picTemp, const World& world, const PanelState& panel, int c, int r,
                const mapview::MarkerPlacement& place)
{
    if (!panel.isShown(TabGreens))
        return;
    const std::optional<int> zone = collectorlayer::ZoneFilter(world, panel);
    const bool large = panel.LargeMarkers;
    const QImage& marker = layermarkers::Picture(layermarkers::Marker::GreenMarker, large, picTemp.devicePixelRatio());
    mapview::MarkerPainter painter(picTemp, QFont(), qRgb(0, 0, 0));
    const std::vector<char> listed = ListedElites(world, panel);
    for (const PanelEntry& entry : panel.lstGreens.entries) {
        const modElite::EliteLocation* loc = modGreensTab::GreenBossLocation(world, entry.data);
        if (!loc || !OnMap(*loc, c, r) || (zone && loc->Zone != *zone) || loc->Greens.size() < 2)
            continue;
        const mapview::MarkerRect data{loc->Left, loc->Top, loc->Right, loc->Bottom};
        const QPoint shift = place.Shift({loc->X, loc->Y});
        switch (MarkOf(world, panel, entry.data, listed)) {
        case GreenMark::Marker: {
            const auto area =
                mapview::MarkerArea(mapview::MarkerKind::GreenItem, {loc->X, loc->Y}, data, large).Moved(shift);
            layermarkers::BlitIcon(picTemp, marker, area.Left, area.Top);
            break;
        }
        case GreenMark::Bar: {
            // Under the boss's box, as wide as it, four pixels high.
            const auto box =
                mapview::MarkerArea(mapview::MarkerKind::Elite, {loc->X, loc->Y}, data, large).Moved(shift);
            painter.Box(QRect(QPoint(box.Left, box.Bottom), QPoint(box.Right, box.Bottom + 3)), kGreen.rgb(),
                        qRgb(0, 0, 0));
            break;
        }
        case GreenMark::None:
            break;
        }
    }
}

void GreenLayer::Draw(QImage& picTemp, const MapContext& ctx) const
{
    DrawGreens(picTemp, ctx.world, ctx.panel, ctx.CurrentCampaign, ctx.CurrentRegion, ctx.Place);
}

std::optional<QPoint> GreenLayer::SelectionPosition(const MapContext& ctx) const
{
    const modElite::EliteLocation* loc =
        modGreensTab::GreenBossLocation(ctx.world, ctx.panel.lstGreens.selectedData(-1));
    if (!loc || !OnMap(*loc, ctx.CurrentCampaign, ctx.CurrentRegion))
        return std::nullopt;
    return QPoint(loc->X, loc->Y);
}

} // namespace greenlayer

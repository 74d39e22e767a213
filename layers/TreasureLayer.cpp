#include "layers/TreasureLayer.h"

#include "core/TextNumbers.h"
#include "layers/CollectorLayer.h"
#include "layers/LayerMarkers.h"
#include "mapview/FaintMarkers.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QFontMetrics>
#include <QLocale>
#include <QStringList>

#include <algorithm>

namespace treasurelayer {

using mapview::MapContext;
using mapview::MarkerRect;

namespace {

const modTreasures::Treasure* TreasureOf(const World& world, int t)
{
    if (t < 1 || t > world.treasures.count())
        return nullptr;
    return &world.treasures.Treasures[static_cast<std::size_t>(t)];
}

bool OnMap(const modTreasures::Treasure& chest, int c, int r)
{
    return chest.Campaign == c && chest.Region == r;
}

// Where the marker of `chest` is drawn (and answers the pointer).
MarkerRect RectOf(const modTreasures::Treasure& chest, bool large, const mapview::MarkerPlacement& place)
{
    return mapview::MarkerArea(mapview::MarkerKind::Chest, {chest.X, chest.Y},
                               {chest.Left, chest.Top, chest.Right, chest.Bottom}, large)
        .Moved(place.Shift({chest.X, chest.Y}));
}

constexpr int kTooltipWidth = 280;
constexpr int kLeft = 12;
// Blanks added by PadToWidth at most: the texts are short, the width a window's.
constexpr int kMaxBlanks = 2000;
const QColor kHeadingColour(238, 221, 170);
const QColor kListColour(240, 240, 236);

} // namespace

void DrawTreasures(QImage& picTemp, const World& world, const PanelState& panel, int c, int r,
                   const mapview::MarkerPlacement& place)
{
    if (!panel.isShown(TabTreasuresPets))
        return;
    const std::optional<int> zone = collectorlayer::ZoneFilter(world, panel);
    const QImage& icon =
        layermarkers::Picture(layermarkers::Marker::Treasure, panel.LargeMarkers, picTemp.devicePixelRatio());
    auto drawListed = [&](bool done, mapview::FaintMarkers* faint) {
        for (const PanelEntry& entry : panel.lstVarshaTreasures.entries) {
            const modTreasures::Treasure* chest = TreasureOf(world, entry.data);
            if (!chest || entry.done != done || !OnMap(*chest, c, r) || (zone && chest->Zone != *zone))
                continue;
            const MarkerRect area = RectOf(*chest, panel.LargeMarkers, place);
            if (faint)
                faint->Keep(QRect(QPoint(area.Left, area.Top), icon.deviceIndependentSize().toSize()));
            layermarkers::BlitIcon(picTemp, icon, area.Left, area.Top);
        }
    };
    // The chests already opened faintly and first, so that those still to
    // open cover them.
    const auto& listed = panel.lstVarshaTreasures.entries;
    if (std::any_of(listed.begin(), listed.end(), [](const PanelEntry& e) { return e.done; })) {
        mapview::FaintMarkers faint(picTemp);
        drawListed(true, &faint);
        faint.Finish();
    }
    drawListed(false, nullptr);
}

int FindTreasureAt(const World& world, const PanelState& panel, int c, int r, QPointF pointer, QPoint offset,
                   const mapview::MarkerPlacement& place)
{
    const QPoint pt = mapview::MapPointAt(pointer, offset);
    for (const PanelEntry& entry : panel.lstVarshaTreasures.entries) {
        const modTreasures::Treasure* chest = TreasureOf(world, entry.data);
        if (chest && OnMap(*chest, c, r) && RectOf(*chest, panel.LargeMarkers, place).Contains(pt.x(), pt.y()))
            return entry.data;
    }
    return -1;
}

QString PadToWidth(const QString& left, const QString& right, bool bold, const QFont& font, int width)
{
    QFont f(font);
    f.setBold(bold);
    const QFontMetrics metrics(f);
    QString blanks(1, QLatin1Char(' '));
    while (metrics.horizontalAdvance(left + blanks + right) < width && blanks.size() < kMaxBlanks)
        blanks += QLatin1Char(' ');
    return left + blanks + right;
}

QString OpenedDateText(const QDate& date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat).replace(QLatin1Char('/'), QLatin1Char('-'));
}

layertooltip::Tooltip FillTreasureTooltip(const World& world, int treasure)
{
    using layertooltip::LabelFont;
    using layertooltip::MakeLabel;
    static const modTreasures::Treasure kNone;
    const modTreasures::Treasure* found = TreasureOf(world, treasure);
    const modTreasures::Treasure& chest = found ? *found : kNone;
    layertooltip::Tooltip t;
    t.Width = kTooltipWidth;
    t.BandColour = world.colourTable[4];
    const int width = kTooltipWidth - 2 * kLeft;
    layertooltip::Label name =
        MakeLabel(chest.Name, kLeft, 6, width, LabelFont(9, true), layertooltip::TextOn(t.BandColour), false);
    name.Rect.setHeight(16);
    name.Flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    t.Band = QRect(QPoint(6, 6), QPoint(t.Width - 7, name.Rect.height() + 4));

    // Two columns made of blanks: character name on the left, date on the
    // right, as wide as the list label less 10.
    const QFont listFont = LabelFont(8);
    const int padWidth = width - 10;
    const layertooltip::Label heading =
        MakeLabel(PadToWidth(world.language(Text::OpenedByCharacter), world.language(Text::OpenedOnHeading), true,
                             listFont, padWidth),
                  kLeft, name.bottom() + 8, width, LabelFont(8, true), kHeadingColour, false);
    QString list;
    const auto& names = world.characters.Characters;
    if (world.characters.highest() < 1) {
        list = world.language(Text::NoCharacters);
    } else {
        QStringList lines;
        for (int k = 1; k <= world.characters.highest(); ++k) {
            const QString& character = names[static_cast<std::size_t>(k)];
            // A free character number has no name and no line.
            if (character.isEmpty())
                continue;
            const auto& opened = chest.OpenedOn;
            const bool hasDate = static_cast<std::size_t>(k) < opened.size() && opened[static_cast<std::size_t>(k)];
            lines << (hasDate ? PadToWidth(character, OpenedDateText(*opened[static_cast<std::size_t>(k)]), false,
                                           listFont, padWidth)
                              : character);
        }
        list = lines.join(QLatin1Char('\n'));
        if (list.isEmpty())
            list = world.language(Text::NoNamedCharacters);
    }
    const layertooltip::Label charList = MakeLabel(list, kLeft, heading.bottom() + 2, width, listFont, kListColour);
    t.Labels = {name, heading, charList};
    t.Height = charList.bottom() + 10;
    return t;
}

void TreasureLayer::Draw(QImage& picTemp, const MapContext& ctx) const
{
    DrawTreasures(picTemp, ctx.world, ctx.panel, ctx.CurrentCampaign, ctx.CurrentRegion, ctx.Place);
}

std::optional<mapview::LayerHit> TreasureLayer::Find(QPointF pointer, const MapContext& ctx) const
{
    const int t =
        FindTreasureAt(ctx.world, ctx.panel, ctx.CurrentCampaign, ctx.CurrentRegion, pointer, ctx.Offset, ctx.Place);
    if (t < 1)
        return std::nullopt;
    return mapview::LayerHit{
        t, 0, RectOf(ctx.world.treasures.Treasures[static_cast<std::size_t>(t)], ctx.panel.LargeMarkers, ctx.Place)};
}

std::optional<mapview::TooltipImage> TreasureLayer::BuildTooltip(const mapview::LayerHit& hit, const MapContext& ctx,
                                                                 const QImage& viewport) const
{
    const layertooltip::Tooltip t = FillTreasureTooltip(ctx.world, hit.Item);
    const QPoint pos = mapview::PlaceTooltip(QSize(t.Width, t.Height), hit.Marker, ctx.Offset, ctx.ViewSize);
    return mapview::TooltipImage{layertooltip::Paint(t, viewport, pos), pos, TooltipTag(hit)};
}

std::optional<QPoint> TreasureLayer::SelectionPosition(const MapContext& ctx) const
{
    // A chest already opened is drawn faintly and does not blink.
    const PanelList& list = ctx.panel.lstVarshaTreasures;
    if (list.hasSelection() && list.entries[static_cast<std::size_t>(list.selected)].done)
        return std::nullopt;
    const modTreasures::Treasure* chest = TreasureOf(ctx.world, list.selectedData(-1));
    if (!chest || !OnMap(*chest, ctx.CurrentCampaign, ctx.CurrentRegion))
        return std::nullopt;
    return QPoint(chest->X, chest->Y);
}

} // namespace treasurelayer

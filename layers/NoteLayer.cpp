#include "layers/NoteLayer.h"

#include "layers/LayerMarkers.h"
#include "world/PanelState.h"
#include "world/World.h"

namespace notelayer {

using mapview::MapContext;
using mapview::MarkerRect;

namespace {

// A note that is listed can be drawn; a deleted one (empty short
// description) never is, even while an old list still names it.
const modNotes::MapNote* NoteOf(const World& world, int n)
{
    if (n < 1 || n > world.notes.count())
        return nullptr;
    const modNotes::MapNote& note = world.notes.Notes[static_cast<std::size_t>(n)];
    return note.ShortDesc.isEmpty() ? nullptr : &note;
}

bool OnMap(const modNotes::MapNote& note, int c, int r)
{
    return note.Campaign == c && note.Region == r;
}

// Where the marker of `note` is drawn (and answers the pointer).
MarkerRect RectOf(const modNotes::MapNote& note, const mapview::MarkerPlacement& place)
{
    return MarkerRect{note.Left, note.Top, note.Right, note.Bottom}.Moved(place.Shift({note.X, note.Y}));
}

constexpr int kTooltipWidth = 280;
constexpr int kLeft = 12;
const QColor kBodyColour(236, 236, 230);

} // namespace

void DrawNotes(QImage& picTemp, const World& world, const PanelState& panel, int c, int r,
               const mapview::MarkerPlacement& place)
{
    if (!panel.isShown(TabNotes))
        return;
    const QImage& icon = layermarkers::Picture(layermarkers::Marker::Note, false, picTemp.devicePixelRatio());
    for (const PanelEntry& entry : panel.lstNotes.entries) {
        const modNotes::MapNote* note = NoteOf(world, entry.data);
        if (!note || !OnMap(*note, c, r))
            continue;
        const MarkerRect area = RectOf(*note, place);
        layermarkers::BlitIcon(picTemp, icon, area.Left, area.Top);
    }
}

int FindNoteAt(const World& world, const PanelState& panel, int c, int r, QPointF pointer, QPoint offset,
               const mapview::MarkerPlacement& place)
{
    const QPoint pt = mapview::MapPointAt(pointer, offset);
    for (const PanelEntry& entry : panel.lstNotes.entries) {
        const modNotes::MapNote* note = NoteOf(world, entry.data);
        if (note && OnMap(*note, c, r) && RectOf(*note, place).Contains(pt.x(), pt.y()))
            return entry.data;
    }
    return -1;
}

layertooltip::Tooltip FillNoteTooltip(const World& world, int n)
{
    using layertooltip::LabelFont;
    using layertooltip::MakeLabel;
    static const modNotes::MapNote kNone;
    const modNotes::MapNote* found = NoteOf(world, n);
    const modNotes::MapNote& note = found ? *found : kNone;
    layertooltip::Tooltip t;
    t.Width = kTooltipWidth;
    t.BandColour = kNoteBand;
    const int width = kTooltipWidth - 2 * kLeft;
    layertooltip::Label title =
        MakeLabel(note.ShortDesc, kLeft, 6, width, LabelFont(9, true), layertooltip::TextOn(kNoteBand), false);
    title.Rect.setHeight(16);
    title.Flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    t.Band = QRect(QPoint(6, 6), QPoint(t.Width - 7, title.Rect.height() + 4));
    QString body = note.Body;
    body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const layertooltip::Label description =
        MakeLabel(body, kLeft, title.bottom() + 8, width, LabelFont(8), kBodyColour);
    t.Labels = {title, description};
    t.Height = description.bottom() + 10;
    return t;
}

void NoteLayer::Draw(QImage& picTemp, const MapContext& ctx) const
{
    DrawNotes(picTemp, ctx.world, ctx.panel, ctx.CurrentCampaign, ctx.CurrentRegion, ctx.Place);
}

std::optional<mapview::LayerHit> NoteLayer::Find(QPointF pointer, const MapContext& ctx) const
{
    const int n =
        FindNoteAt(ctx.world, ctx.panel, ctx.CurrentCampaign, ctx.CurrentRegion, pointer, ctx.Offset, ctx.Place);
    if (n < 1)
        return std::nullopt;
    return mapview::LayerHit{n, 0, RectOf(ctx.world.notes.Notes[static_cast<std::size_t>(n)], ctx.Place)};
}

std::optional<mapview::TooltipImage> NoteLayer::BuildTooltip(const mapview::LayerHit& hit, const MapContext& ctx,
                                                             const QImage& viewport) const
{
    const layertooltip::Tooltip t = FillNoteTooltip(ctx.world, hit.Item);
    const QPoint pos = mapview::PlaceTooltip(QSize(t.Width, t.Height), hit.Marker, ctx.Offset, ctx.ViewSize);
    return mapview::TooltipImage{layertooltip::Paint(t, viewport, pos), pos, TooltipTag(hit)};
}

std::optional<QPoint> NoteLayer::SelectionPosition(const MapContext& ctx) const
{
    const modNotes::MapNote* note = NoteOf(ctx.world, ctx.panel.lstNotes.selectedData(-1));
    if (!note || !OnMap(*note, ctx.CurrentCampaign, ctx.CurrentRegion))
        return std::nullopt;
    return QPoint(note->X, note->Y);
}

} // namespace notelayer

#include "layers/PetLayer.h"

#include "core/Pictures.h"
#include "layers/CollectorLayer.h"
#include "layers/LayerMarkers.h"
#include "world/PanelState.h"
#include "world/World.h"

#include <QFontMetrics>

#include <algorithm>

namespace petlayer {

using mapview::MapContext;
using mapview::MarkerRect;

namespace {

const modPets::Pet* PetOf(const World& world, int pet)
{
    if (pet < 1 || pet > world.pets.highest())
        return nullptr;
    return &world.pets.Pets[static_cast<std::size_t>(pet)];
}

bool OnMap(const modPets::PetPlace& place, int c, int r)
{
    return place.Campaign == c && place.Region == r;
}

// Where the marker of `place` is drawn (and answers the pointer).
MarkerRect RectOf(const modPets::PetPlace& place, bool large, const mapview::MarkerPlacement& at)
{
    return mapview::MarkerArea(mapview::MarkerKind::Pet, {place.X, place.Y},
                               {place.Left, place.Top, place.Right, place.Bottom}, large)
        .Moved(at.Shift({place.X, place.Y}));
}

constexpr int kImageLeft = 12;
constexpr int kImageTop = 30;
// Pictures larger than this are shown scaled down to it.
constexpr int kMaxImageSide = 256;
// Width of the window when the picture is missing.
constexpr int kNoPictureWidth = 180;

} // namespace

void DrawPets(QImage& picTemp, const World& world, const PanelState& panel, int c, int r,
              const mapview::MarkerPlacement& at)
{
    // The chests' show box governs the pets as well.
    if (!panel.isShown(TabTreasuresPets))
        return;
    const std::optional<int> zone = collectorlayer::ZoneFilter(world, panel);
    const QImage& icon =
        layermarkers::Picture(layermarkers::Marker::Pet, panel.LargeMarkers, picTemp.devicePixelRatio());
    for (const PanelEntry& entry : panel.lstPets.entries) {
        const modPets::Pet* pet = PetOf(world, entry.data);
        if (!pet)
            continue;
        for (std::size_t j = 1; j < pet->Places.size(); ++j) {
            const modPets::PetPlace& place = pet->Places[j];
            if (!OnMap(place, c, r) || (zone && place.Zone != *zone))
                continue;
            const MarkerRect area = RectOf(place, panel.LargeMarkers, at);
            layermarkers::BlitIcon(picTemp, icon, area.Left, area.Top);
        }
    }
}

std::optional<PetHit> FindPetAt(const World& world, const PanelState& panel, int c, int r, QPointF pointer,
                                QPoint offset, const mapview::MarkerPlacement& at)
{
    const QPoint pt = mapview::MapPointAt(pointer, offset);
    for (const PanelEntry& entry : panel.lstPets.entries) {
        const modPets::Pet* pet = PetOf(world, entry.data);
        if (!pet)
            continue;
        for (std::size_t j = 1; j < pet->Places.size(); ++j)
            if (OnMap(pet->Places[j], c, r) && RectOf(pet->Places[j], panel.LargeMarkers, at).Contains(pt.x(), pt.y()))
                return PetHit{entry.data, static_cast<int>(j)};
    }
    return std::nullopt;
}

layertooltip::Tooltip FillPetTooltip(const World& world, int petId)
{
    using layertooltip::LabelFont;
    using layertooltip::MakeLabel;
    static const modPets::Pet kNone;
    const modPets::Pet* found = PetOf(world, petId);
    const modPets::Pet& pet = found ? *found : kNone;
    layertooltip::Tooltip t;
    // The picture sets the window's size; a missing or unreadable picture
    // (or one that is not a regular file) leaves a window with the name only.
    QImage picture = records::LoadPicture(pet.Picture);
    if (!picture.isNull() && (picture.width() > kMaxImageSide || picture.height() > kMaxImageSide))
        picture = picture.scaled(kMaxImageSide, kMaxImageSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    t.BandColour = world.colourTable[4];
    const QFont nameFont = LabelFont(9, true);
    if (!picture.isNull()) {
        t.Picture = picture;
        t.PictureRect = QRect(QPoint(kImageLeft, kImageTop), picture.size());
        t.Width = 2 * kImageLeft + picture.width();
        t.Height = kImageTop + picture.height() + 10;
    } else {
        t.Width = std::max(kNoPictureWidth, 2 * kImageLeft + QFontMetrics(nameFont).horizontalAdvance(pet.Name) + 8);
        t.Height = kImageTop + 4;
    }
    layertooltip::Label name = MakeLabel(pet.Name, kImageLeft, 6, t.Width - 2 * kImageLeft, nameFont,
                                         layertooltip::TextOn(t.BandColour), false);
    name.Rect.setHeight(16);
    name.Flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    t.Band = QRect(QPoint(6, 6), QPoint(t.Width - 7, name.Rect.height() + 4));
    t.Labels = {name};
    return t;
}

void PetLayer::Draw(QImage& picTemp, const MapContext& ctx) const
{
    DrawPets(picTemp, ctx.world, ctx.panel, ctx.CurrentCampaign, ctx.CurrentRegion, ctx.Place);
}

std::optional<mapview::LayerHit> PetLayer::Find(QPointF pointer, const MapContext& ctx) const
{
    const auto hit =
        FindPetAt(ctx.world, ctx.panel, ctx.CurrentCampaign, ctx.CurrentRegion, pointer, ctx.Offset, ctx.Place);
    if (!hit)
        return std::nullopt;
    const modPets::PetPlace& place =
        ctx.world.pets.Pets[static_cast<std::size_t>(hit->Pet)].Places[static_cast<std::size_t>(hit->Place)];
    return mapview::LayerHit{hit->Pet, hit->Place, RectOf(place, ctx.panel.LargeMarkers, ctx.Place)};
}

std::optional<mapview::TooltipImage> PetLayer::BuildTooltip(const mapview::LayerHit& hit, const MapContext& ctx,
                                                            const QImage& viewport) const
{
    const layertooltip::Tooltip t = FillPetTooltip(ctx.world, hit.Item);
    const QPoint pos = mapview::PlaceTooltip(QSize(t.Width, t.Height), hit.Marker, ctx.Offset, ctx.ViewSize);
    return mapview::TooltipImage{layertooltip::Paint(t, viewport, pos), pos, TooltipTag(hit)};
}

} // namespace petlayer

#include "mapview/MapFlash.h"

#include "world/PanelState.h"

#include <QPainter>

namespace mapview {

namespace {

constexpr FlashRow kFlashTable[FlashLayerCount] = {
    {FlashLayer::Collectors, LayerId::Collectors, TabCollectors, TabCollectors},
    {FlashLayer::Elite, LayerId::Elite, TabElite, TabElite},
    {FlashLayer::Greens, LayerId::Greens, TabGreens, TabGreens},
    {FlashLayer::Notes, LayerId::Notes, TabNotes, TabNotes},
    {FlashLayer::Treasures, LayerId::Treasures, TabTreasuresPets, TabTreasuresPets},
};

} // namespace

const FlashRow& FlashTableRow(FlashLayer layer)
{
    return kFlashTable[static_cast<int>(layer)];
}

std::optional<FlashLayer> FlashLayerOfShowBox(int box)
{
    for (const FlashRow& row : kFlashTable)
        if (row.ShowBox == box)
            return row.Layer;
    return std::nullopt;
}

bool FlashHasSelection(FlashLayer layer, const PanelState& panel)
{
    switch (layer) {
    case FlashLayer::Collectors:
        return panel.lstCollectors.hasSelection();
    case FlashLayer::Elite:
        // The places of the chosen skill; the first is selected when listed.
        return panel.lstLocations.hasSelection();
    case FlashLayer::Greens:
        return panel.lstGreens.hasSelection();
    case FlashLayer::Notes:
        return panel.lstNotes.hasSelection();
    case FlashLayer::Treasures:
        return panel.lstVarshaTreasures.hasSelection();
    }
    return false;
}

QRect FlashMarkerRect(QPoint at, QSize marker)
{
    return QRect(at.x() - marker.width() / 2, at.y() - marker.height() / 2, marker.width(), marker.height());
}

void SelectionFlasher::SaveFlashBackground(FlashLayer layer, const QImage& picTemp)
{
    Slot& s = slot(layer);
    // In the buffer's device pixels, put back at its logical place.
    const qreal ratio = picTemp.devicePixelRatio();
    s.background = picTemp.copy(
        ratio == 1.0 ? s.rect
                     : QRect((QPointF(s.rect.topLeft()) * ratio).toPoint(), (QSizeF(s.rect.size()) * ratio).toSize()));
    s.background.setDevicePixelRatio(ratio);
}

void SelectionFlasher::DrawFlashMarker(FlashLayer layer, QImage& picTemp) const
{
    const Slot& s = slot(layer);
    QPainter p(&picTemp);
    p.drawImage(s.rect.topLeft(), MapResources::Get().Selection(layer, s.large));
}

void SelectionFlasher::EraseFlashMarker(FlashLayer layer, QImage& picTemp) const
{
    const Slot& s = slot(layer);
    if (s.background.isNull())
        return;
    QPainter p(&picTemp);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(s.rect.topLeft(), s.background);
}

void SelectionFlasher::RestartFlashing(QImage& picTemp, const MapLayers& layers, const MapContext& ctx)
{
    for (FlashLayer layer : FlashRestartOrder) {
        const FlashRow& row = FlashTableRow(layer);
        Slot& s = slot(layer);
        s.enabled = false;
        if (!ctx.panel.isShown(row.ShowBox) || !FlashHasSelection(layer, ctx.panel) || !ctx.panel.isTabActive(row.Tab))
            continue;
        const MapLayer* mapLayer = layers.Get(row.MapLayer);
        const std::optional<QPoint> at = mapLayer ? mapLayer->SelectionPosition(ctx) : std::nullopt;
        // Only a selection on the map shown can blink.
        if (!at)
            continue;
        s.large = ctx.panel.LargeMarkers;
        s.rect = FlashMarkerRect(ctx.Place.At(*at), QSize(FlashFrameSide(s.large), FlashFrameSide(s.large)));
        SaveFlashBackground(layer, picTemp);
        DrawFlashMarker(layer, picTemp);
        s.enabled = true;
    }
}

bool SelectionFlasher::Tick(FlashLayer layer, QImage& picTemp, const PanelState& panel, bool dragging)
{
    Slot& s = slot(layer);
    if (!s.enabled || dragging || !panel.isShown(FlashTableRow(layer).ShowBox) || !FlashHasSelection(layer, panel))
        return false;
    if (s.phase)
        DrawFlashMarker(layer, picTemp);
    else
        EraseFlashMarker(layer, picTemp);
    s.phase = !s.phase;
    return true;
}

} // namespace mapview

#include "mapview/MapPointer.h"

#include "mapview/MapGeometry.h"
#include "world/PanelState.h"

#include <cmath>

namespace mapview {

namespace {

int Round(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

} // namespace

void MapDrag::Begin(QPointF pos, QPoint offset)
{
    Dragging = true;
    DragAnchorX = Round(pos.x() - offset.x());
    DragAnchorY = Round(pos.y() - offset.y());
}

QPoint MapDrag::PanTo(QPointF pos, QPoint offset, QSize view, QSize map) const
{
    QPoint result = offset;
    if (map.width() > view.width())
        result.setX(ControllaCoordinataX(Round(pos.x() - DragAnchorX), view.width(), map.width()));
    if (map.height() > view.height())
        result.setY(ControllaCoordinataY(Round(pos.y() - DragAnchorY), view.height(), map.height()));
    return result;
}

PressAction OnPress(PointerButton button, PointerKeys keys)
{
    if (button == PointerButton::Left)
        return keys == PointerKeys::None    ? PressAction::StartDrag
               : keys == PointerKeys::Shift ? PressAction::Mark
                                            : PressAction::None;
    if (button == PointerButton::Right)
        return PressAction::RightClick;
    return PressAction::None;
}

MoveAction OnMove(uint8_t hoverMode)
{
    return hoverMode == HoverFollowPointer ? MoveAction::FollowPointer : MoveAction::None;
}

bool HidesOnRelease(PointerButton button, uint8_t hoverMode)
{
    return button == PointerButton::Right && hoverMode == HoverWhileRightHeld;
}

int InformationWindows::Slot(LayerId layer)
{
    for (std::size_t i = 0; i < HitTestOrder.size(); ++i)
        if (HitTestOrder[i] == layer)
            return static_cast<int>(i);
    return 0;
}

void InformationWindows::HideInformationWindows()
{
    for (Window& w : m_windows) {
        w.Tag.clear();
        w.Image = QImage();
    }
}

bool InformationWindows::AnyVisible() const
{
    for (const Window& w : m_windows)
        if (w.Visible())
            return true;
    return false;
}

bool InformationWindows::Show(const MapLayers::ChainHit& hit, const MapLayers& layers, const MapContext& ctx,
                              const QImage& viewport)
{
    const MapLayer* layer = layers.Get(hit.Layer);
    if (!layer)
        return false;
    const int slot = Slot(hit.Layer);
    for (int i = 0; i < Count; ++i)
        if (i != slot) {
            m_windows[i].Tag.clear();
            m_windows[i].Image = QImage();
        }
    Window& w = m_windows[slot];
    const QString tag = layer->TooltipTag(hit.Hit);
    if (w.Tag == tag)
        return false;
    auto built = layer->BuildTooltip(hit.Hit, ctx, viewport);
    if (!built) {
        w = Window();
        return false;
    }
    w.Tag = built->Tag.isEmpty() ? tag : built->Tag;
    w.Image = std::move(built->Image);
    w.Position = built->Position;
    return true;
}

bool InformationWindows::HitTest(QPointF pointer, const MapLayers& layers, const MapContext& ctx,
                                 const QImage& viewport)
{
    const auto hit = layers.HitTest(pointer, ctx);
    if (!hit)
        return false;
    Show(*hit, layers, ctx, viewport);
    return true;
}

} // namespace mapview
